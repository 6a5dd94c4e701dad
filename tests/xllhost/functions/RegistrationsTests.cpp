// xlfRegister, xlfRegisterId, xlfUnregister and xlfSetName.
#include "XllHostTest.h"

namespace {

TEST_F(XllHost, RegisterAnswersAnIdThatRegisterIdAndUnregisterKnow) {
  XLOPER id{};
  ASSERT_EQ(Register("Probe", "Probe", &id), xlretSuccess);
  ASSERT_EQ(id.xltype, xltypeNum);
  EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=probe()")), "Probed") << "names ignore case";

  Text module = PathText(ProbePath()), proc("Probe");
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

// What Excel refuses answers #VALUE! with the success code, and is the
// add-in's problem; what the call's records get wrong fails with a code.
TEST_F(XllHost, RegisterRefusesWhatItCannotBind) {
  Text module = PathText(ProbePath()), otherModule("C:\\nowhere\\Other.xll"), proc("Probe"), missing("NoSuchProc"),
      type("P"), both("PP#$"), noCode("PZ"), badName("1st"), goodName("Probe");
  XLOPER noOrdinal = xllhost::NumberRequest(99), boolean = xllhost::IntegerRequest(1, xltypeBool);
  const struct {
    const char* what;
    std::vector<LPXLOPER> args;
    int code;
  } cases[] = {
      {"module not loaded", {&otherModule.record, &proc.record, &type.record, &goodName.record}, xlretSuccess},
      {"procedure not exported", {&module.record, &missing.record, &type.record, &goodName.record}, xlretSuccess},
      {"no export at that ordinal", {&module.record, &noOrdinal, &type.record, &goodName.record}, xlretSuccess},
      {"procedure neither text nor number", {&module.record, &boolean, &type.record, &goodName.record}, xlretInvXloper},
      {"not a worksheet name", {&module.record, &proc.record, &type.record, &badName.record}, xlretSuccess},
      {"no type code", {&module.record, &proc.record, &noCode.record, &goodName.record}, xlretSuccess},
      {"no type text, and no xlAutoRegister to ask", {&module.record, &proc.record}, xlretFailed},
      {"both macro-sheet equivalent and thread-safe", {&module.record, &proc.record, &both.record, &goodName.record},
       xlretSuccess},
      {"too few arguments", {&module.record}, xlretInvCount},
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
  EXPECT_TRUE(xllhost::UnusableInput().empty()) << "each is Excel's answer, not one xllhost cannot give";
}

TEST_F(XllHost, SetNameWithAValueDefinesItAndAloneDeletesIt) {
  Text name("Rate");
  XLOPER value = xllhost::NumberRequest(0.25);
  EXPECT_EQ(CallExcel4(xlfSetName, nullptr, Count<2>, &name.record, &value), xlretSuccess);
  EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=Rate()")), "0.25");
  EXPECT_EQ(CallExcel4(xlfSetName, nullptr, Count<1>, &name.record), xlretSuccess);
  EXPECT_FALSE(xllhost::IsDefinedName("Rate"));
}

TEST_F(XllHost, RegisterAgainAddsAUseThatUnregisterTakesAway) {
  XLOPER first{}, second{}, answer{};
  Register("Probe", "Probe", &first);
  Register("Probe", "Probe", &second);
  EXPECT_EQ(second.val.num, first.val.num) << "one procedure, one registration";
  for (const char* shows : {"Probed", "#NAME?"}) {
    EXPECT_EQ(CallExcel4(xlfUnregister, &answer, Count<1>, &first), xlretSuccess);
    EXPECT_EQ(answer.val.xbool, 1);
    EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=Probe()")), shows);
  }
  CallExcel4(xlfUnregister, &answer, Count<1>, &first);
  EXPECT_EQ(answer.val.xbool, 0) << "no use left";
}

TEST_F(XllHost, RegisterAcceptsEachDocumentedArgumentForm) {
  Text module = PathText(ProbePath()), proc("Probe"), type("P"), name("Probe"), text1("1"), category("Text");
  XLOPER ordinal = xllhost::NumberRequest(1), number1 = xllhost::NumberRequest(1),
         integer1 = xllhost::IntegerRequest(1), missing = xllhost::NumberRequest(0, xltypeMissing),
         nil = xllhost::NumberRequest(0, xltypeNil);
  LPXLOPER m = &module.record, p = &proc.record, t = &type.record, f = &name.record;
  const struct {
    const char* what;
    std::vector<LPXLOPER> args;
  } cases[] = {
      {"procedure by ordinal", {m, &ordinal, t, f}},
      {"macro type a number, category a number", {m, p, t, f, &missing, &number1, &number1}},
      {"macro type an integer, category a name", {m, p, t, f, &nil, &integer1, &category.record}},
      {"macro type as text", {m, p, t, f, &missing, &text1.record}},
      {"optional arguments missing or nil", {m, p, t, f, &missing, &nil, &missing, &nil, &missing}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<LPXLOPER> args = c.args;
    EXPECT_EQ(CallExcel4v(xlfRegister, nullptr, static_cast<int>(args.size()), args.data()), xlretSuccess);
  }
  ASSERT_EQ(xllhost::Registrations().size(), 1u);
  EXPECT_EQ(xllhost::Registrations()[0]->uses, 5);
  EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=Probe()")), "Probed");
}

TEST_F(XllHost, UnregisterByNameDropsEveryFunctionAndUnloadsTheDllOnceControlReturns) {
  xllhost::Open(addIn);
  control.reset();
  Text module = PathText(ProbePath());
  XLOPER answer{};
  xllhost::WithControl([&] {  // as in an entry of another add-in
    EXPECT_EQ(CallExcel4(xlfUnregister, &answer, Count<1>, &module.record), xlretSuccess);
    EXPECT_NE(GetModuleHandleW(xllhost::ToWide(ProbePath()).c_str()), nullptr) << "its code may still be on the stack";
  });
  EXPECT_EQ(answer.val.xbool, 1);
  EXPECT_TRUE(xllhost::Registrations().empty());
  EXPECT_EQ(GetModuleHandleW(xllhost::ToWide(ProbePath()).c_str()), nullptr);
}

TEST_F(XllHost, RegisterRefusesATypeTextItCannotPassWithCodeEight) {
  Text module = PathText(ProbePath()), proc("Probe"), type("P" + std::string(11, 'O')), name("Probe");
  EXPECT_EQ(CallExcel4(xlfRegister, nullptr, Count<4>, &module.record, &proc.record, &type.record, &name.record),
            xlretInvXloper);
  ASSERT_EQ(xllhost::UnusableInput().size(), 1u);
  EXPECT_NE(xllhost::UnusableInput()[0].find("passes 33 words of arguments"), std::string::npos);
  EXPECT_TRUE(xllhost::Registrations().empty());
}

}  // namespace
