#include "XllHostTest.h"

std::string ProbePath() { return BesideThisProgram("probe.xll"); }

void XllHost::SetUp() {
  xllhost::ResetHost();  // a fresh host, which has passed control to no one
  addIn = xllhost::Load(ProbePath());
  ASSERT_NE(addIn.module, nullptr) << "cannot load " << ProbePath();
  control.emplace();
}

void XllHost::TearDown() {
  control.reset();
  xllhost::Unload(addIn);
  EXPECT_EQ(xllhost::OutstandingHostMemory(), 0) << "host strings not given back";
  for (const std::string& fault : xllhost::Faults()) ADD_FAILURE() << fault;
}
