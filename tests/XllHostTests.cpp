// The host emulator's own answers, so that the add-in's tests rest on a host
// that behaves as Excel does for the functions the add-in uses.
#include "TestHost.h"
#include "XLUtils.h"

namespace {

// Records built from texts the test owns.
struct Text {
  explicit Text(const std::string& text) : counted(1, static_cast<char>(text.size())) {
    counted += text;
    record.val.str = counted.data();
    record.xltype = xltypeStr;
  }
  std::string counted;
  XLOPER record{};
};

// The test calls the host as an add-in's entry would.
class XllHost : public QuorrelTest {
 protected:
  xllhost::PassedControl control;

  // Registers Quorrel.xll's SampleFunc under a worksheet name of the test's choice.
  int Register(const std::string& procedure, const std::string& name, XLOPER* result = nullptr) {
    Text module(QuorrelPath()), proc(procedure), type("P"), function(name);
    return CallExcel4(xlfRegister, result, Count<4>, &module.record, &proc.record, &type.record, &function.record);
  }
};

TEST_F(XllHost, FreeReleasesTheStringClearsThePointerAndKeepsTheType) {
  XLOPER name{};
  ASSERT_EQ(CallExcel4(xlGetName, &name, Count<0>), xlretSuccess);
  EXPECT_EQ(xllhost::OutstandingStrings(), outstandingBefore + 1);
  EXPECT_EQ(CallExcel4(xlFree, nullptr, Count<1>, &name), xlretSuccess);
  EXPECT_EQ(name.val.str, nullptr);
  EXPECT_EQ(name.xltype, xltypeStr);
  EXPECT_EQ(xllhost::OutstandingStrings(), outstandingBefore);
  EXPECT_EQ(CallExcel4(xlFree, nullptr, Count<1>, &name), xlretSuccess) << "freeing again is harmless";
}

TEST_F(XllHost, FreeReportsAStringGivenBackTwiceOrNeverHandedOut) {
  xllhost::Behave().freeClearsPointer = false;
  XLOPER name{};
  CallExcel4(xlGetName, &name, Count<0>);
  CallExcel4(xlFree, nullptr, Count<1>, &name);
  CallExcel4(xlFree, nullptr, Count<1>, &name);
  Text own("mine");
  CallExcel4(xlFree, nullptr, Count<1>, &own.record);
  ASSERT_EQ(xllhost::Faults().size(), 2u);
  EXPECT_NE(xllhost::Faults()[0].find("twice"), std::string::npos);
  EXPECT_NE(xllhost::Faults()[1].find("never handed out"), std::string::npos);
  xllhost::Reset();  // the faults were the point of this test
}

TEST_F(XllHost, NameNobodyReceivesIsNotLeftOutstanding) {
  EXPECT_EQ(CallExcel4(xlGetName, nullptr, Count<0>), xlretSuccess);
  EXPECT_EQ(xllhost::OutstandingStrings(), outstandingBefore);
}

TEST_F(XllHost, RegisterAnswersAnIdThatRegisterIdAndUnregisterKnow) {
  XLOPER id{};
  ASSERT_EQ(Register("SampleFunc", "Probe", &id), xlretSuccess);
  ASSERT_EQ(id.xltype, xltypeNum);
  EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=probe()")), "Tavik World") << "names ignore case";

  Text module(QuorrelPath()), proc("SampleFunc");
  XLOPER queried{};
  EXPECT_EQ(CallExcel4(xlfRegisterId, &queried, Count<2>, &module.record, &proc.record), xlretSuccess);
  EXPECT_EQ(queried.val.num, id.val.num);

  XLOPER answer{};
  EXPECT_EQ(CallExcel4(xlfUnregister, &answer, Count<1>, &id), xlretSuccess);
  EXPECT_EQ(answer.xltype, xltypeBool);
  EXPECT_EQ(answer.val.xbool, 1);
  EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=Probe()")), "#NAME?") << "name left, registration gone";
  CallExcel4(xlfUnregister, &answer, Count<1>, &id);
  EXPECT_EQ(answer.val.xbool, 0) << "nothing left to drop";
}

TEST_F(XllHost, RegisterRefusesWhatItCannotBind) {
  Text module(QuorrelPath()), otherModule("C:\\nowhere\\Other.xll"), proc("SampleFunc"), missing("NoSuchProc"),
      type("P"), badName("1st"), goodName("Probe");
  XLOPER noOrdinal = xllhost::NumberRequest(99), boolean = xllhost::IntegerRequest(1, xltypeBool);
  const struct {
    const char* what;
    std::vector<LPXLOPER> args;
    int code;
  } cases[] = {
      {"module not loaded", {&otherModule.record, &proc.record, &type.record, &goodName.record}, xlretFailed},
      {"procedure not exported", {&module.record, &missing.record, &type.record, &goodName.record}, xlretFailed},
      {"no export at that ordinal", {&module.record, &noOrdinal, &type.record, &goodName.record}, xlretFailed},
      {"procedure neither text nor number", {&module.record, &boolean, &type.record, &goodName.record}, xlretInvXloper},
      {"not a worksheet name", {&module.record, &proc.record, &type.record, &badName.record}, xlretFailed},
      {"too few arguments", {&module.record, &proc.record}, xlretInvCount},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    XLOPER result{};
    std::vector<LPXLOPER> args = c.args;
    EXPECT_EQ(CallExcel4v(xlfRegister, &result, static_cast<int>(args.size()), args.data()), c.code);
    EXPECT_EQ(result.xltype, xltypeErr);
    EXPECT_EQ(result.val.err, xlerrValue);
  }
  EXPECT_TRUE(xllhost::Registrations().empty());
}

TEST_F(XllHost, SetNameWithAValueDefinesItAndAloneDeletesIt) {
  Text name("Rate");
  XLOPER value = xllhost::NumberRequest(0.25);
  EXPECT_EQ(CallExcel4(xlfSetName, nullptr, Count<2>, &name.record, &value), xlretSuccess);
  EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=Rate()")), "0.25");
  EXPECT_EQ(CallExcel4(xlfSetName, nullptr, Count<1>, &name.record), xlretSuccess);
  EXPECT_FALSE(xllhost::IsDefinedName("Rate"));
}

TEST_F(XllHost, CellsThatAreNotACallOfAKnownFunctionShowNameError) {
  Register("SampleFunc", "Probe");
  for (const char* formula : {"=Nothing()", "Probe()", "=Probe", "=()", ""}) {
    SCOPED_TRACE(formula);
    EXPECT_EQ(xllhost::Display(xllhost::Evaluate(formula)), "#NAME?");
  }
}

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

}  // namespace
