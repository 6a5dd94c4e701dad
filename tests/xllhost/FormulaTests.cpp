// Reading formulas: each literal kind, calls and their arguments, and what
// cannot be read.
#include "Formula.h"
#include "XllHostTest.h"

namespace {

TEST(Formula, ReadsEachKindOfLiteralAsACellShowsIt) {
  const std::pair<const char*, const char*> cases[] = {
      {"=1.5", "1.5"},       {"=-2.5e3", "-2500"}, {"=\"a \"\"b\"\"\"", "a \"b\""}, {"=true", "TRUE"},
      {"=#n/a", "#N/A"},     {"=#DIV/0!", "#DIV/0!"}, {"={1,2;3,4}", "1"},          {"=\"\"", ""},
  };
  for (const auto& [text, shown] : cases) {
    xllhost::Formula formula;
    std::string why;
    ASSERT_TRUE(xllhost::ParseFormula(text, &formula, &why)) << text << ": " << why;
    EXPECT_FALSE(formula.isCall) << text;
    EXPECT_EQ(xllhost::Display(formula.literal), shown) << text;
  }
}

TEST(Formula, ReadsACallWithItsArgumentsInOrderAndAnEmptyOneAsMissing) {
  xllhost::Formula formula;
  std::string why;
  ASSERT_TRUE(xllhost::ParseFormula("=Mix(1, \"x\",,{1,2;3,4},#REF!)", &formula, &why)) << why;
  EXPECT_TRUE(formula.isCall);
  EXPECT_EQ(formula.name, "Mix");
  ASSERT_EQ(formula.args.size(), 5u);
  EXPECT_TRUE(formula.args[0].Is(xltypeNum));
  EXPECT_EQ(formula.args[1].text, "x");
  EXPECT_TRUE(formula.args[2].Is(xltypeMissing));
  EXPECT_EQ(formula.args[3].rows, 2);
  EXPECT_EQ(formula.args[3].columns, 2);
  EXPECT_EQ(formula.args[3].elements[3].num, 4);
  EXPECT_EQ(formula.args[4].err, xlerrRef);
}

TEST(Formula, RefusesWhatItCannotReadAndSaysWhy) {
  const char* const unreadable[] = {"1+1", "=\"open", "=Add(1", "={1,2;3}", "=#BOGUS!", "=#GETTING_DATA",
                                    "=Add(1)2", "=A1+1"};
  for (const char* text : unreadable) {
    xllhost::Formula formula;
    std::string why;
    EXPECT_FALSE(xllhost::ParseFormula(text, &formula, &why)) << text;
    EXPECT_FALSE(why.empty()) << text;
  }
}

}  // namespace
