#include "TestHost.h"

#include <windows.h>

std::string QuorrelPath() { return BesideThisProgram("Quorrel.xll"); }

bool IsNameRequest(const XLOPER& request) {
  return (request.xltype == xltypeInt && request.val.w == 1) || (request.xltype == xltypeNum && request.val.num == 1.0);
}

const std::vector<int> OpenCalls = {xlGetName, xlfRegister, xlFree};
const std::vector<int> RemoveCalls = {xlGetName, xlfRegisterId, xlfSetName, xlfUnregister, xlFree};

void QuorrelTest::SetUp() {
  xllhost::Reset();
  outstandingBefore = xllhost::OutstandingHostMemory();
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
  EXPECT_EQ(xllhost::OutstandingHostMemory(), outstandingBefore) << "host strings not given back";
  for (const std::string& fault : xllhost::Faults()) ADD_FAILURE() << fault;
}

namespace xllhost {
void PrintTo(const Value& value, std::ostream* out) {
  char type[8];
  std::snprintf(type, sizeof type, "0x%04X", value.xltype);
  *out << "{type " << type << ": " << Display(value) << "}";
}
}  // namespace xllhost
