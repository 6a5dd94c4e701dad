// The callbacks: the shape of a call, when the host accepts one, and what
// it cannot interpret.
#include <thread>

#include "XllHostTest.h"

namespace {

TEST_F(XllHost, FailedCallLeavesValueErrorOrTheRecordAsItWas) {
  xllhost::Behave().failing.insert(xlGetName);
  XLOPER name = xllhost::NumberRequest(3);
  EXPECT_EQ(CallExcel4(xlGetName, &name, Count<0>), xlretFailed);
  EXPECT_EQ(name.xltype, xltypeErr);
  xllhost::Behave().failureWritesValueError = false;
  name = xllhost::NumberRequest(3);
  CallExcel4(xlGetName, &name, Count<0>);
  EXPECT_EQ(name.xltype, xltypeNum);
  EXPECT_EQ(name.val.num, 3);
}

// Excel accepts calls only while it has passed control to the add-in, and
// only on the thread it called the add-in on.
TEST_F(XllHost, RefusesCallsWhenItHasNotPassedControl) {
  XLOPER name{};
  int fromThread = 0;
  std::thread([&] { fromThread = CallExcel4(xlGetName, &name, Count<0>); }).join();
  control.reset();
  const int outside = CallExcel4(xlGetName, &name, Count<0>);
  xllhost::AddIn callsAtLoad = xllhost::Load(BesideThisProgram("calls_at_load.xll"));
  ASSERT_NE(callsAtLoad.module, nullptr);
  xllhost::Unload(callsAtLoad);

  EXPECT_EQ(fromThread, xlretFailed);
  EXPECT_EQ(outside, xlretFailed);
  ExpectFaults({"from a thread other than", "outside any entry", "from DllMain"});
}

TEST_F(XllHost, RefusesARecordWithAnUnknownTypeWordAndAFunctionItDoesNotProvide) {
  XLOPER strange = xllhost::NumberRequest(1, 0x2000);
  EXPECT_EQ(CallExcel4(xlCoerce, nullptr, Count<1>, &strange), xlretInvXloper);
  EXPECT_EQ(CallExcel4(xlSpecial | 3, nullptr, Count<0>), xlretInvXlfn);  // xlSet
  ASSERT_EQ(xllhost::UnusableInput().size(), 2u);
  EXPECT_NE(xllhost::UnusableInput()[0].find("unknown type word 8192"), std::string::npos);
  EXPECT_NE(xllhost::UnusableInput()[1].find("which xllhost does not model"), std::string::npos);
}

// Worksheet and macro functions by their number, commands by theirs plus 0x8000.
TEST_F(XllHost, NamesFunctionNumbersAsTheCApiSpellsThem) {
  const std::pair<int, const char*> names[] = {{0, "xlfCount"},          {23, "xlfLog10"},
                                               {94, "xlfActiveCell"},    {186, "xlfGetWorkspace"},
                                               {379, "xlfRtd"},          {0x8000 | 118, "xlcAlert"},
                                               {0x8000 | 122, "xlcMessage"}, {xlGetName, "xlGetName"}};
  for (const auto& [xlfn, name] : names) EXPECT_EQ(xllhost::FunctionName(xlfn), name) << xlfn;
  EXPECT_EQ(xllhost::FunctionName(5000).rfind("function 5000 ", 0), 0u);
}

}  // namespace
