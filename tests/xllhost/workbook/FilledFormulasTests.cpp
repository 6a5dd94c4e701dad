// Formulas filled down or across are taken from the cell they were filled
// from without being read again: whatever a cell's text, its formula must be
// the one reading the text at that cell gives.
#include <gtest/gtest.h>

#include "formulas/FormulaText.h"
#include "workbook/CellsText.h"

namespace {

// The formula a cell holds, as a key that is the same wherever it stands.
std::string KeyAt(const xllhost::Workbook& book, int sheet, int row, int column) {
  const xllhost::Cell* cell = book.Find(sheet, row, column);
  return cell == nullptr || cell->formula == nullptr ? "(none)" : xllhost::FormulaKey(cell->formula->formula);
}

std::string KeyReading(const std::string& text, int row, int column) {
  xllhost::Formula formula;
  std::string why;
  return xllhost::ParseFormula(text, row, column, &formula, &why) ? xllhost::FormulaKey(formula) : why;
}

TEST(FilledFormulas, HoldWhatReadingTheirOwnTextGives) {
  // Each case: a formula in A1 (or B1), then one in A2 (or C1) that may or
  // may not be it filled on.
  const struct {
    const char *first, *second;
    bool across;
  } cases[] = {
      {"=A1+1", "=A2+1", false},        // filled down
      {"=A1+1", "=A1+1", false},        // the same text, another formula
      {"=$A$1*2", "=$A$1*2", false},    // fixed: the same formula
      {"=$A$1*2", "=$A$2*2", false},    // fixed, but another cell
      {"=SUM(A1:B1)", "=sum(A2:B2)", false},
      {"=A1*2", "=B1*2", true},         // filled across
      {"=A$1&\"x\"", "=B$1&\"x\"", true},
      {"=A1", "=Sheet2!A2", false},
      {"=0.1+A1", "=0.1+A2", false},    // a number written other than it prints
  };
  for (const auto& c : cases) {
    const std::string place = c.across ? "C1 " : "A2 ";
    const std::string text = std::string(c.across ? "B1 " : "A1 ") + c.first + "\n" + place + c.second + "\n";
    xllhost::Workbook book;
    std::string why;
    ASSERT_TRUE(xllhost::ReadCells(text, &book, &why)) << why;
    const int row = c.across ? 0 : 1, column = c.across ? 2 : 0;
    EXPECT_EQ(KeyAt(book, 0, row, column), KeyReading(c.second, row, column)) << c.first << " then " << c.second;
  }
}

}  // namespace
