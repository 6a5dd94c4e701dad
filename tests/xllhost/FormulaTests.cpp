// Formulas as Excel writes them: what each shows and what cannot be
// calculated (FormulaReaderTests.cpp reads and writes them back).
#include <map>

#include "Calculation.h"
#include "CellsText.h"
#include "Formula.h"
#include "HostState.h"
#include "Worksheet.h"
#include "XllHostTest.h"

namespace {

// A host whose workbook holds a few cells on two sheets and a name.
class Formulas : public ::testing::Test {
 protected:
  void SetUp() override {
    xllhost::Reset();
    std::string why;
    ASSERT_TRUE(xllhost::ReadCells("A1 2\nB1 3\nA2 \"x\"\nname Rate =Sheet1!$B$1\nsheet Sheet 2\nA1 10\n"
                                   "name 'Sheet 2'!Local =$A$1\n",
                                   &xllhost::State().book, &why))
        << why;
  }
  void TearDown() override { xllhost::Reset(); }
};

TEST_F(Formulas, ShowWhatExcelShows) {
  const std::pair<const char*, const char*> cases[] = {
      {"=1.5", "1.5"}, {"=-2.5e3", "-2500"}, {"=\"a \"\"b\"\"\"", "a \"b\""}, {"=true", "TRUE"}, {"=#n/a", "#N/A"},
      {"={1,2;3,4}", "1"}, {"=-2^2", "4"}, {"=2^3^2", "64"}, {"=1+2*3", "7"}, {"=(1+2)*3", "9"}, {"=50%", "0.5"},
      {"=1/0", "#DIV/0!"}, {"=\"a\"&1&TRUE", "a1TRUE"}, {"=1<2", "TRUE"}, {"=\"b\">\"A\"", "TRUE"},
      {"=2=\"2\"", "FALSE"}, {"=A1+B1", "5"}, {"=$A$1*B$1", "6"}, {"=SUM(A1:B2)", "5"}, {"=A1+A2", "#VALUE!"},
      {"=C9", "0"}, {"='Sheet 2'!A1*2", "20"}, {"=Rate", "3"}, {"=_xlfn.IFERROR(1/0,\"none\")", "none"},
      {"=IF(A1>1,\"big\",1/0)", "big"}, {"=ROUND(2.345,2)", "2.35"}, {"=ROUND(-2.5,0)", "-3"}, {"=MOD(-3,2)", "1"},
      {"=INDEX({1,2;3,4},2,1)", "3"}, {"=ROWS(A1:B3)", "3"}, {"=COLUMNS(A:C)", "3"}, {"=FIND(\"b\",\"abc\")", "2"},
      {"=LEN(\"h\xC3\xA9llo\")", "5"}, {"=CONCATENATE(\"a\",1)", "a1"}, {"=AND(TRUE,A1>1)", "TRUE"},
      {"=MAX(A1:B1,-1)", "3"}, {"=AVERAGE(A1:B1)", "2.5"}, {"=TRANSPOSE({1,2})", "1"}, {"=LOG(100)", "2"},
      {"=SQRT(-1)", "#NUM!"}, {"=PRODUCT(A1:B1,2)", "12"}, {"=NOT(ISERROR(NA()))", "FALSE"}, {"=CODE(CHAR(65))", "65"},
  };
  for (const auto& [text, shown] : cases) {
    std::string why;
    EXPECT_EQ(xllhost::Display(xllhost::Evaluate(text, 0, &why)), shown) << text << " " << why;
  }
}

TEST_F(Formulas, LeaveUncalculatedWhatNeedsAFunctionXllhostLacks) {
  std::string why;
  xllhost::Evaluate("=1+VLOOKUP(1,A1:B1,2)", 0, &why);
  EXPECT_EQ(why, "needs VLOOKUP");
  EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=Nobody(1)", 0, &why)), "#NAME?") << "typed, an unknown name";
}

TEST(Workbook, CalculatesCellsAfterThoseTheyNeedAndLaysArraysOverTheirBlocks) {
  xllhost::Reset();
  std::string why;
  ASSERT_TRUE(xllhost::ReadCells("A1 =B1*2\nB1 =C1+1\nC1 1\nA2:C3 {={1,2;3,4}}\nA4:B4 {=C1}\nD1 =D2\nD2 =D1\nD3 =D1+1\n",
                                 &xllhost::State().book, &why))
      << why;
  std::map<std::string, std::string> shown;
  xllhost::CalculationSteps steps;
  steps.after = [&](const xllhost::FormulaCell& cell, const xllhost::Evaluated& answer, bool) {
    shown[xllhost::CellName(cell.row, cell.column)] = answer.notCalculated.empty() ? "" : answer.notCalculated;
  };
  xllhost::CalculateBook(false, steps);
  auto value = [](int row, int column) { return xllhost::Display(xllhost::Book().Find(0, row, column)->value); };
  EXPECT_EQ(value(0, 0), "4");
  EXPECT_EQ(value(1, 1), "2");
  EXPECT_EQ(value(2, 2), "#N/A") << "beyond the answer";
  EXPECT_EQ(value(3, 1), "1") << "one value fills the block";
  EXPECT_EQ(shown["D1"], "a circular reference: Sheet1!D1 -> Sheet1!D2 -> Sheet1!D1");
  EXPECT_EQ(shown["D3"], "needs Sheet1!D1, which is not calculated");
  xllhost::Reset();
}

}  // namespace
