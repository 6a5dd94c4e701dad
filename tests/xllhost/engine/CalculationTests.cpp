// The workbook calculated: each formula cell after those it needs, arrays
// laid over their blocks, and only what an add-in reaches when asked.
#include <gtest/gtest.h>

#include <map>

#include "EngineTest.h"
#include "engine/Calculation.h"

namespace {

class Calculating : public ::testing::Test {
 protected:
  void Read(const std::string& cells) {
    std::string why;
    ASSERT_TRUE(xllhost::ReadCells(cells, &book, &why)) << why;
  }
  // Calculates the book; answers why each calculated cell is not, "" when it is.
  std::map<std::string, std::string> Calculate(bool onlyAddInCells) {
    std::map<std::string, std::string> calculated;
    xllhost::CalculationSteps steps;
    steps.after = [&](const xllhost::FormulaCell& cell, const xllhost::Evaluated& answer, const xllhost::CellRole&) {
      calculated[xllhost::CellName(cell.row, cell.column)] = answer.notCalculated;
    };
    xllhost::CalculateBook(book, host, onlyAddInCells, steps);
    return calculated;
  }
  std::string Value(int row, int column) { return xllhost::Display(book.Find(0, row, column)->value); }

  xllhost::Workbook book;
  MemoryHost host;
};

TEST_F(Calculating, CalculatesCellsAfterThoseTheyNeedAndLaysArraysOverTheirBlocks) {
  Read("A1 =B1*2\nB1 =C1+1\nC1 1\nA2:C3 {={1,2;3,4}}\nA4:B4 {=C1}\nD1 =D2\nD2 =D1\nD3 =D1+1\n");
  auto why = Calculate(false);
  EXPECT_EQ(Value(0, 0), "4");
  EXPECT_EQ(Value(1, 1), "2");
  EXPECT_EQ(Value(2, 2), "#N/A") << "beyond the answer";
  EXPECT_EQ(Value(3, 1), "1") << "one value fills the block";
  EXPECT_EQ(why["D1"], "a circular reference: Sheet1!D1 -> Sheet1!D2 -> Sheet1!D1");
  EXPECT_EQ(why["D3"], "needs Sheet1!D1, which is not calculated");
}

TEST_F(Calculating, RecalculatesOnlyWhatAnAddInReachesWhenAsked) {
  host.Register("TWICE", "BB", [](const std::vector<xllhost::Value>& args) {
    return xllhost::NumberValue(args[0].num * 2);
  });
  Read("A1 5\nB1 =Twice(A1) -> 0\nC1 =B1+1 -> 0\nD1 =A1+1 -> 99\n");
  const auto calculated = Calculate(true);
  EXPECT_EQ(Value(0, 1), "10");
  EXPECT_EQ(Value(0, 2), "11") << "it needs the add-in's cell";
  EXPECT_EQ(Value(0, 3), "99") << "it keeps what Excel saved";
  EXPECT_EQ(calculated.count("D1"), 0u);
}

// Excel follows a reference that OFFSET or INDIRECT makes as it goes;
// xllhost orders cells by the references written, so such a cell may be
// reached before it is calculated: never read stale.
TEST_F(Calculating, LeavesNotCalculatedACellWhoseIndirectReferenceIsNotCalculatedYet) {
  Read("A1 =INDIRECT(\"B1\")\nB1 =1+1\nA2 =INDIRECT(\"C1\")*2\nC1 3\n");
  auto why = Calculate(false);
  EXPECT_EQ(why["A1"], "needs Sheet1!B1, which is not calculated");
  EXPECT_EQ(Value(1, 0), "6");
}

}  // namespace
