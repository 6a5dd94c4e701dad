// A thousand whole sessions in one process: the add-in must behave the same
// every time and leave nothing behind.
#include <windows.h>
// psapi.h builds on the types of windows.h.
#include <psapi.h>

#include <cstdio>

#include "TestHost.h"

namespace {

constexpr int Cycles = 1000;
constexpr SIZE_T GrowthAllowed = 256 * 1024;

// The process's committed private memory (Wine reports it as PagefileUsage
// only; on Windows the two figures are the same).
SIZE_T PrivateBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PagefileUsage;
}

// What the host saw, without the register ids, which differ from one
// registration to the next.
std::string Transcript(const std::string& cell) {
  std::string text;
  for (const xllhost::HostCall& call : xllhost::Calls()) {
    text += xllhost::FunctionName(call.xlfn) + "(";
    for (const xllhost::Value& arg : call.args)
      text += (arg.xltype == xltypeNum ? std::string("<id>") : xllhost::Display(arg)) + ",";
    text += ") -> " + std::to_string(call.returnCode) + (call.hadResult ? " with result\n" : "\n");
  }
  return text + "cell: " + cell + "\n";
}

std::string Session() {
  xllhost::ClearCalls();
  xllhost::AddIn addIn = xllhost::Load(QuorrelPath());
  if (addIn.module == nullptr) return "cannot load";
  xllhost::HandOverExcel12(addIn);
  xllhost::Open(addIn);
  std::string cell = xllhost::Display(xllhost::Evaluate("=TavikFnc()"));
  xllhost::Remove(addIn);
  xllhost::Unload(addIn);
  return Transcript(cell);
}

TEST(Soak, AThousandSessionsRunAlikeAndLeaveNothingBehind) {
  xllhost::ResetHost();
  const std::string first = Session();
  ASSERT_NE(first.find("cell: Tavik World"), std::string::npos) << first;
  const SIZE_T afterFirst = PrivateBytes();
  ASSERT_GT(afterFirst, 0u) << "this system reports no memory figure";
  for (int cycle = 2; cycle <= Cycles; ++cycle) {
    std::string transcript = Session();
    ASSERT_EQ(transcript, first) << "cycle " << cycle;
    ASSERT_EQ(xllhost::OutstandingHostMemory(), 0) << "cycle " << cycle;
  }
  const SIZE_T afterLast = PrivateBytes();
  std::printf("committed private memory after cycle 1: %lu KiB, after cycle %d: %lu KiB\n",
              static_cast<unsigned long>(afterFirst / 1024), Cycles, static_cast<unsigned long>(afterLast / 1024));
  EXPECT_TRUE(xllhost::Faults().empty());
  EXPECT_TRUE(xllhost::Registrations().empty());
  EXPECT_LE(afterLast, afterFirst + GrowthAllowed);
}

}  // namespace
