// The host's state, kept by the units it belongs to: a reset starts each
// unit's part afresh, so that every session and test meets a host as new.
#include "XllHostTest.h"

namespace {

TEST_F(XllHost, ResetStartsEveryUnitsPartAfresh) {
  ASSERT_EQ(Register("Probe", "Probed"), xlretSuccess);
  XLOPER name{};
  ASSERT_EQ(CallExcel4(xlGetName, &name, Count<0>), xlretSuccess);  // still held at the reset: no longer counted
  xllhost::Behave().recordCalls = false;
  xllhost::Book().AddSheet("Extra");
  control.reset();

  xllhost::ResetHost();

  EXPECT_TRUE(xllhost::Registrations().empty());
  EXPECT_EQ(xllhost::FindName("Probed"), nullptr);
  EXPECT_EQ(xllhost::OutstandingHostMemory(), 0);
  EXPECT_TRUE(xllhost::Calls().empty());
  EXPECT_TRUE(xllhost::Behave().recordCalls);
  ASSERT_EQ(xllhost::Book().Sheets().size(), 1u);
  EXPECT_EQ(xllhost::Book().Sheets()[0].name, xllhost::DefaultSheet);
  EXPECT_FALSE(xllhost::IsLoadedModule(addIn.module)) << "the loaded modules are forgotten too";
  FreeLibrary(addIn.module);  // the load the host forgot
  addIn = xllhost::AddIn{};
}

}  // namespace
