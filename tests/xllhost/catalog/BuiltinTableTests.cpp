// The table of built-ins: one row per function, found by its name and its
// number alike, and the manual's list of what xllhost calculates.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "catalog/BuiltinIndex.h"
#include "catalog/FunctionNames.h"
#include "workbook/CellsText.h"

namespace {

TEST(BuiltinTable, FindsEachRowByItsNameAndItsNumber) {
  for (const xllhost::Builtin& row : xllhost::AllBuiltins()) {
    EXPECT_EQ(xllhost::FindBuiltin(row.name), &row) << row.name << ": another row has its name";
    if (row.xlfn != xllhost::NoNumber)
      EXPECT_EQ(xllhost::FindBuiltin(row.xlfn), &row) << row.name << ": another row has its number";
    EXPECT_LE(row.fewest, row.most) << row.name;
  }
}

TEST(BuiltinTable, NamesAWorksheetFunctionsNumberAsTheCApiSpellsIt) {
  EXPECT_EQ(xllhost::FunctionName(0), "xlfCount");
  EXPECT_EQ(xllhost::FunctionName(23), "xlfLog10");
  EXPECT_EQ(xllhost::FunctionName(480 | 0x2000), "xlfIferror | xlIntl");
  EXPECT_EQ(xllhost::FunctionName(185), "xlfGetCell") << "a macro-sheet function, from its own table";
  EXPECT_EQ(xllhost::FindBuiltin(xllhost::NoNumber), nullptr);
}

// The manual names them in the sentence "... holds the built-ins xllhost
// calculates: SUM, ... picks).", asides in parentheses; a full stop within
// a name (ERROR.TYPE) does not end it.
TEST(BuiltinTable, IsWhatTheManualListsAsCalculated) {
  std::ifstream file(XLLHOST_MANUAL);
  ASSERT_TRUE(file) << XLLHOST_MANUAL;
  std::stringstream text;
  text << file.rdbuf();
  std::smatch list;
  const std::string manual = std::regex_replace(text.str(), std::regex("\\s+"), " ");
  ASSERT_TRUE(std::regex_search(manual, list, std::regex("holds the built-ins xllhost calculates: ((?:[^.]|\\.(?=[A-Z0-9]))*)\\.")));
  std::set<std::string> listed, calculated;
  const std::string names = std::regex_replace(list[1].str(), std::regex("\\([^)]*\\)"), "");  // asides
  const std::regex name("\\b[A-Z][A-Z0-9.]*\\b");
  for (std::sregex_iterator it(names.begin(), names.end(), name), end; it != end; ++it)
    listed.insert(it->str());
  for (const xllhost::Builtin& row : xllhost::AllBuiltins())
    if (row.calculate != nullptr) calculated.insert(row.name);
  EXPECT_EQ(listed, calculated);
}

// tests/workbooks/builtins.cells, which xllhost --all-cells checks against
// the values Excel gives.
TEST(BuiltinTable, IsUsedWholeByTheWorkbookOfBuiltins) {
  std::ifstream file(XLLHOST_BUILTINS_BOOK);
  std::stringstream text;
  text << file.rdbuf();
  xllhost::Workbook book;
  std::string why;
  ASSERT_TRUE(xllhost::ReadCells(text.str(), &book, &why)) << XLLHOST_BUILTINS_BOOK << ": " << why;
  std::set<std::string> used, calculated;
  for (const xllhost::Sheet& sheet : book.Sheets())
    for (const xllhost::Cell& cell : sheet.cells)
      if (cell.formula != nullptr) used.insert(cell.formula->formula.calls.begin(), cell.formula->formula.calls.end());
  for (const xllhost::Builtin& row : xllhost::AllBuiltins())
    if (row.calculate != nullptr) calculated.insert(row.name);
  used.erase("LET");  // the engine's own, not a row
  EXPECT_EQ(used, calculated);
}

}  // namespace
