#include "TestHost.h"

#include <windows.h>

std::string QuorrelPath() { return BesideThisProgram("Quorrel.xll"); }

bool IsNameRequest(const XLOPER& request) {
  return (request.xltype == xltypeInt && request.val.w == 1) || (request.xltype == xltypeNum && request.val.num == 1.0);
}

const std::vector<int> OpenCalls = {xlGetName, xlfRegister, xlFree};
const std::vector<int> RemoveCalls = {xlGetName, xlfRegisterId, xlfSetName, xlfUnregister, xlFree};

void QuorrelTest::SetUp() {
  xllhost::ResetHost();
  LoadQuorrel();
}

void QuorrelTest::LoadQuorrel() {
  addIn = xllhost::Load(QuorrelPath());
  ASSERT_NE(addIn.module, nullptr) << "cannot load " << QuorrelPath();
  sampleFunc =
      reinterpret_cast<decltype(sampleFunc)>(reinterpret_cast<void*>(GetProcAddress(addIn.module, "SampleFunc")));
  ASSERT_NE(sampleFunc, nullptr);
}

void QuorrelTest::TearDown() {
  xllhost::Unload(addIn);
  EXPECT_EQ(xllhost::OutstandingHostMemory(), 0) << "host strings not given back";
  for (const std::string& fault : xllhost::Faults()) ADD_FAILURE() << fault;
}

void ExpectFaults(const std::vector<std::string>& phrases) {
  const std::vector<std::string>& faults = xllhost::Faults();
  EXPECT_EQ(faults.size(), phrases.size());
  for (size_t i = 0; i < faults.size() && i < phrases.size(); ++i)
    EXPECT_NE(faults[i].find(phrases[i]), std::string::npos) << faults[i];
  xllhost::ForgetSeen();
}

namespace xllhost {
void PrintTo(const Value& value, std::ostream* out) {
  char type[8];
  std::snprintf(type, sizeof type, "0x%04X", value.xltype);
  *out << "{type " << type << ": " << Display(value) << "}";
}
}  // namespace xllhost
