// What a cell shows, and xlfEvaluate.
#include "XllHostTest.h"

namespace {

TEST_F(XllHost, CellsThatAreNotACallOfAKnownFunctionShowNameError) {
  Register("Probe", "Probe");
  for (const char* formula : {"=Nothing()", "Probe()", "=Probe", "=()", ""}) {
    SCOPED_TRACE(formula);
    EXPECT_EQ(xllhost::Display(xllhost::Evaluate(formula)), "#NAME?");
  }
}

TEST_F(XllHost, EvaluateCalculatesWhatACellWouldAndFailsOnWhatItCannotRead) {
  Register("Probe", "Probe");
  const struct {
    const char* text;
    int code;
    const char* shows;
  } cases[] = {{"Probe()", xlretSuccess, "Probed"},
               {"=2.5", xlretSuccess, "2.5"},
               {"=Nothing()", xlretSuccess, "#NAME?"},
               {"=B2", xlretSuccess, "R2C2"},  // a reference alone answers the reference
               {"=RTD(\"srv\",\"\",\"topic\")", xlretFailed, "#VALUE!"},  // a built-in xllhost lacks
               {"=1+", xlretFailed, "#VALUE!"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Text text(c.text);
    XLOPER result{};
    EXPECT_EQ(CallExcel4(xlfEvaluate, &result, Count<1>, &text.record), c.code);
    EXPECT_EQ(xllhost::Display(xllhost::Capture(result)), c.shows);
    CallExcel4(xlFree, nullptr, Count<1>, &result);
  }
}

TEST_F(XllHost, EvaluateOfARegisteredFunctionsNameAnswersItsRegisterId) {
  XLOPER id{};
  ASSERT_EQ(Register("Probe", "Probe", &id), xlretSuccess);
  for (const char* name : {"Probe", "=PROBE"}) {
    SCOPED_TRACE(name);
    Text text(name);
    XLOPER result{};
    ASSERT_EQ(CallExcel4(xlfEvaluate, &result, Count<1>, &text.record), xlretSuccess);
    EXPECT_EQ(result.xltype, xltypeNum);
    EXPECT_EQ(result.val.num, id.val.num);
  }
}

TEST_F(XllHost, BuiltInsOfTheTableAnswerAnAddInThatCallsThemByNumber) {
  constexpr int xlfFind = 124, xlfSum = 4;
  Text find("b"), within("abc");
  XLOPER result{};
  ASSERT_EQ(CallExcel4(xlfFind, &result, Count<2>, &find.record, &within.record), xlretSuccess);
  EXPECT_EQ(xllhost::Display(xllhost::Capture(result)), "2");
  XLOPER one = xllhost::NumberRequest(1), two = xllhost::NumberRequest(2);
  ASSERT_EQ(CallExcel4(xlfSum, &result, Count<2>, &one, &two), xlretSuccess);
  EXPECT_EQ(xllhost::Display(xllhost::Capture(result)), "3");
}

}  // namespace
