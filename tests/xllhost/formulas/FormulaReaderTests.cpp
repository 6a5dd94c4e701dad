// Reading formulas: what is written back reads the same, and what cannot be
// read is refused with a reason.
#include <gtest/gtest.h>

#include <string>

#include "formulas/Formula.h"
#include "formulas/FormulaText.h"
#include "formulas/Literals.h"

namespace {

TEST(Formula, WrittenBackReadsTheSameAndIsSharedWhereverItStands) {
  for (const char* text : {"=-(1+A1)%^2&\"q\"\"\"", "=SUM($A$1:B2,'My Sheet'!C:C,Sheet2!3:4)", "=_xll.F(,{1,-2;\"a\",#N/A})",
                           "=IF(A1<>1,TRUE,Rate)", "=ISIN1(abcd12)+XFD1"}) {
    xllhost::Formula first, second;
    std::string why;
    ASSERT_TRUE(xllhost::ParseFormula(text, 4, 2, &first, &why)) << text << ": " << why;
    const std::string printed = xllhost::PrintFormula(first, 4, 2);
    ASSERT_TRUE(xllhost::ParseFormula(printed, 4, 2, &second, &why)) << printed << ": " << why;
    EXPECT_EQ(xllhost::FormulaKey(first), xllhost::FormulaKey(second)) << text << " printed " << printed;
  }
  xllhost::Formula c1, c2;
  std::string why;
  ASSERT_TRUE(xllhost::ParseFormula("=A1+B1", 0, 2, &c1, &why));
  ASSERT_TRUE(xllhost::ParseFormula("=A2+B2", 1, 2, &c2, &why));
  EXPECT_EQ(xllhost::FormulaKey(c1), xllhost::FormulaKey(c2));
}

TEST(Formula, RefusesWhatItCannotReadAndSaysWhy) {
  const std::string unreadable[] = {"1+1", "=\"open", "=Add(1", "={1,2;3}", "=#BOGUS!", "=#GETTING_DATA", "=Add(1)2",
                                    "=A1:XFE1", "=$XFE$1", "=[1]!Rate", "=[x]Sheet1!A1", "=" + std::string(10000, '(') + "1",
                                    "=" + std::string(9000, '1')};
  for (const std::string& text : unreadable) {
    xllhost::Formula formula;
    std::string why;
    EXPECT_FALSE(xllhost::ParseFormula(text, 0, 0, &formula, &why)) << text.substr(0, 40);
    EXPECT_FALSE(why.empty()) << text.substr(0, 40);
  }
}

// As Excel reads them: ISIN1 or ABCD12 would be cells past the last column,
// A1048577 one past the last row.
TEST(Formula, ReadsAWordPastTheGridAsAName) {
  for (const char* text : {"=isin1", "=XFE1", "=A1048577", "=ABCD12.5"}) {
    xllhost::Formula formula;
    std::string why;
    ASSERT_TRUE(xllhost::ParseFormula(text, 0, 0, &formula, &why)) << text << ": " << why;
    EXPECT_EQ(formula.root.kind, xllhost::ExprKind::Name) << text;
    EXPECT_EQ(formula.root.name, std::string(text + 1));
  }
}

TEST(Name, FollowsExcelsRulesForItsCharactersAndRefusesReferences) {
  for (const char* name : {"Rate", "_1234\\5678\\90", "\\REGEX", "a.b?c", "abcd12", "XFE1", "Taux_\xC3\xA9t\xC3\xA9", "RC1a"})
    EXPECT_TRUE(xllhost::IsWorksheetName(name)) << name;
  for (const char* name : {"", "1st", ".a", "?a", "a b", "a-b", "A1", "xfd1048576", "R", "c", "R1C1", "rc", "R2C"})
    EXPECT_FALSE(xllhost::IsWorksheetName(name)) << name;
  EXPECT_TRUE(xllhost::IsWorksheetName(std::string(255, 'n')));
  EXPECT_FALSE(xllhost::IsWorksheetName(std::string(256, 'n')));
}

}  // namespace
