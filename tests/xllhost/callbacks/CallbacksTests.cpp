// The callbacks: the shape of a call, when the host accepts one, and what
// it cannot interpret.
#include <set>
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
  EXPECT_EQ(CallExcel4(xlfGetWindow, nullptr, Count<0>), xlretInvXlfn);
  ASSERT_EQ(xllhost::UnusableInput().size(), 2u);
  EXPECT_NE(xllhost::UnusableInput()[0].find("unknown type word 8192"), std::string::npos);
  EXPECT_NE(xllhost::UnusableInput()[1].find("which xllhost does not model"), std::string::npos);
}

// Worksheet and macro functions are named xlf..., commands (0x8000 set)
// xlc..., the special functions (0x4000 set) xl...; no two numbers share a
// name; and the names agree with the numbers the add-ins' header declares.
TEST(FunctionNames, FollowTheClassOfEachNumberAndNameNoTwoAlike) {
  std::set<std::string> seen;
  auto check = [&](int xlfn, const std::string& prefix) {
    const std::string name = xllhost::FunctionName(xlfn);
    if (name.rfind("function " + std::to_string(xlfn) + " ", 0) == 0) return;
    EXPECT_EQ(name.rfind(prefix, 0), 0u) << xlfn << " is named " << name;
    if (prefix == "xl") {
      EXPECT_NE(name.rfind("xlf", 0), 0u) << name;
    }
    EXPECT_TRUE(seen.insert(name).second) << name << " names two numbers";
  };
  for (int n = 0; n < 1024; ++n) check(n, n == xlUDF ? "xlUDF" : "xlf");  // the C API names 255 so
  for (int n = 0; n < 1024; ++n) check(xlCommand | n, "xlc");
  for (int n = 0; n < 32; ++n) check(xlSpecial | n, "xl");
  EXPECT_GT(seen.size(), 100u);
  const std::pair<int, const char*> declared[] = {
      {xlfRegister, "xlfRegister"}, {xlfUnregister, "xlfUnregister"}, {xlfSetName, "xlfSetName"},
      {xlfGetWorkspace, "xlfGetWorkspace"}, {xlcAlert, "xlcAlert"},   {xlcMessage, "xlcMessage"},
      {xlFree, "xlFree"},           {xlGetName, "xlGetName"},       {xlCoerce, "xlCoerce"}};
  for (const auto& [xlfn, name] : declared) EXPECT_EQ(xllhost::FunctionName(xlfn), name) << xlfn;
}

}  // namespace

namespace {

// A function number is a 16-bit word: the bits xlIntl and xlPrompt ask for a
// variant of the same function, and a command may arrive sign-extended.
TEST_F(XllHost, AnswersAFlaggedOrSignExtendedNumberAsTheFunctionItIs) {
  XLOPER name{};
  EXPECT_EQ(CallExcel4(xlGetName | xlIntl, &name, Count<0>), xlretSuccess);  // 24585
  EXPECT_EQ(name.xltype, xltypeStr);
  EXPECT_EQ(xllhost::Calls().back().xlfn, xlGetName);
  EXPECT_EQ(xllhost::Calls().back().name, "xlGetName | xlIntl");
  CallExcel4(xlFree, nullptr, Count<1>, &name);
  Text alert("Careful");
  EXPECT_EQ(CallExcel4(static_cast<std::int16_t>(xlcAlert), nullptr, Count<1>, &alert.record), xlretSuccess);
  EXPECT_EQ(xllhost::Calls().back().name, "xlcAlert");
  EXPECT_EQ(xllhost::FunctionName(41082), "xlcMessage | xlIntl");
  EXPECT_EQ(xllhost::FunctionName(xlcAlert | xlPrompt), "xlcAlert | xlPrompt");
}

}  // namespace
