// A workbook as xllhost calculates it: sheets of cells, each holding a
// number, a text, a Boolean, an error or nothing, or a formula with what
// Excel saved for it; defined names of the workbook or of one sheet; and
// blocks of cells that one array formula fills.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "formulas/Formula.h"
#include "formulas/Reference.h"
#include "records/Values.h"

namespace xllhost {

// A formula of the workbook, read once and shared by every cell that holds
// the same formula relative to where it stands.
struct SharedFormula {
  Formula formula;
  std::string key;
};

struct Cell {
  int row = 0, column = 0;
  Value value;                                  // a constant, or what the formula shows
  const SharedFormula* formula = nullptr;       // null for a constant
  int block = -1;                               // the array block the cell lies in, or -1
  int entry = -1;                               // its formula's place in Formulas(), or -1
  mutable std::uint8_t state = 0;               // calculated or not, held by a reader: see CellState.h
};

// What Excel saved for a formula cell, and the formula as written.
struct FormulaCell {
  int sheet = 0;
  int row = 0, column = 0;
  size_t cell = 0;        // in its sheet's cells, once the workbook is finished
  std::string_view text;  // kept by the workbook
  std::unique_ptr<Value> saved;  // null when nothing was saved
};

// Cells that one array formula fills; its formula stands in the top-left cell.
struct ArrayBlock {
  int sheet = 0;
  Area area;
  int entry = 0;  // the formula's place in Formulas()
};

struct Sheet {
  std::string name;
  std::vector<Cell> cells;  // ordered by row, then column
  // Where each row's cells start in `cells`, up to the last row that has
  // one and one past it, so that finding a cell takes no search of rows.
  std::vector<std::uint32_t> rowStarts;

  // The cells of rows first to last: [begin, end) in `cells`.
  std::pair<size_t, size_t> Rows(int first, int last) const {
    const int rows = static_cast<int>(rowStarts.size()) - 1;
    if (first >= rows || last < first) return {0, 0};
    return {rowStarts[static_cast<size_t>(first)], rowStarts[static_cast<size_t>(std::min(last, rows - 1)) + 1]};
  }
};

struct DefinedNameEntry {
  std::string name;
  int sheet = -1;  // -1: of the workbook; otherwise the sheet it belongs to
  std::string text;  // as written, starting with "="
  Formula formula;   // read as standing in A1 of its sheet (or the first)
  std::string unread;  // why the formula could not be read; empty when it was
};

// The sheet of a workbook given no sheet of its own, and the name of a
// workbook read from no file, as Excel names a new one, never saved.
inline constexpr const char* DefaultSheet = "Sheet1";
inline constexpr const char* NewBook = "Book1";

class Workbook {
 public:
  std::string name = NewBook;  // the file's name, as [Book1]Sheet1 shows it

  // Adding: a sheet (answers its index), then its cells in any order.
  // `ExpectCells` tells how many cells at most are about to come, so that
  // the next sheet added has room for them at once.
  int AddSheet(const std::string& name);
  void ExpectCells(size_t count);
  // A constant.
  void SetValue(int sheet, int row, int column, const Value& value);
  // A formula; answers false with why when it cannot be read, and the cell
  // then holds nothing calculated.
  bool SetFormula(int sheet, int row, int column, const std::string& text, const Value* saved, std::string* why);
  // An array formula over the area: the formula in its top-left cell; the
  // saved values, one per cell, row by row, when given.
  bool SetArrayFormula(int sheet, const Area& area, const std::string& text, const Value* saved, std::string* why);
  // A name and its formula; answers false with why when the formula cannot
  // be read or the name is none a worksheet may define (IsWorksheetName),
  // and the name is then kept unread: what uses it is not calculated.
  bool DefineName(const std::string& name, int sheet, const std::string& text, std::string* why);
  // Orders the cells; called after adding, before anything is read, and
  // again after adding more.
  // Answers false, naming it, when a cell was given twice.
  bool Finish(std::string* why);

  const std::vector<Sheet>& Sheets() const { return sheets_; }
  std::vector<Sheet>& Sheets() { return sheets_; }
  int FindSheet(const std::string& name) const;  // -1 when none has the name (names ignore case)
  // A sheet's id as the C API hands it out (xlSheetId, xltypeRef), and the
  // sheet an id names, -1 for none.
  static std::int32_t SheetId(int sheet) { return sheet + 1; }
  int SheetOfId(std::int32_t id) const {
    return id >= 1 && static_cast<size_t>(id) <= sheets_.size() ? id - 1 : -1;
  }
  const Cell* Find(int sheet, int row, int column) const;
  Cell* Find(int sheet, int row, int column);
  // The cells of the area that hold something, in order.
  template <typename Visit>
  void ForEachIn(int sheet, const Area& area, Visit visit) const;
  template <typename Visit>
  void ForEachIn(int sheet, const Area& area, Visit visit);  // which may change the cells
  const std::vector<FormulaCell>& Formulas() const { return formulas_; }
  // Why the formula of Formulas()[entry] could not be read; null when it was.
  const std::string* Unread(size_t entry) const {
    const auto found = unread_.find(entry);
    return found == unread_.end() ? nullptr : &found->second;
  }
  // A cell as messages name it: "Sheet1!A1".
  std::string Where(int sheet, int row, int column) const {
    return sheets_[static_cast<size_t>(sheet)].name + "!" + CellName(row, column);
  }
  const std::vector<ArrayBlock>& Blocks() const { return blocks_; }
  // The name as a formula of the sheet sees it: its own sheet's first, then
  // the workbook's; null when neither defines it.
  const DefinedNameEntry* FindName(const std::string& name, int sheet) const;
  const std::vector<DefinedNameEntry>& Names() const { return names_; }
  size_t CellCount() const;

 private:
  Cell& Add(int sheet, int row, int column);
  const SharedFormula* Share(Formula formula);
  const SharedFormula* Filled(int sheet, int row, int column, const std::string& text) const;
  // Both visits: Self is the workbook, const or not.
  template <typename Self, typename Visit>
  static void VisitIn(Self& self, int sheet, const Area& area, Visit& visit);

  std::vector<Sheet> sheets_;
  std::vector<FormulaCell> formulas_;
  size_t expected_ = 0;  // cells the next sheet added makes room for
  std::vector<ArrayBlock> blocks_;
  std::vector<DefinedNameEntry> names_;
  std::map<size_t, std::string> unread_;  // few: the formulas that could not be read
  std::map<std::string, std::unique_ptr<SharedFormula>> shared_;
  // The formula set last, and the one set last in each column of a sheet
  // (by sheet and column): what the next formula may be filled from.
  const SharedFormula* setLast_ = nullptr;
  std::unordered_map<std::uint64_t, const SharedFormula*> setLastInColumn_;
  // The formulas' texts, in blocks that never move.
  std::vector<std::unique_ptr<char[]>> texts_;
  char* textsAt_ = nullptr;
  size_t textsLeft_ = 0;
  std::string_view Keep(const std::string& text);
};

template <typename Visit>
void Workbook::ForEachIn(int sheet, const Area& area, Visit visit) const {
  VisitIn(*this, sheet, area, visit);
}

template <typename Visit>
void Workbook::ForEachIn(int sheet, const Area& area, Visit visit) {
  VisitIn(*this, sheet, area, visit);
}

template <typename Self, typename Visit>
void Workbook::VisitIn(Self& self, int sheet, const Area& area, Visit& visit) {
  auto& s = self.sheets_[static_cast<size_t>(sheet)];
  const auto [begin, end] = s.Rows(area.firstRow, area.lastRow);
  for (size_t i = begin; i < end; ++i) {
    auto& cell = s.cells[i];
    if (cell.column >= area.firstColumn && cell.column <= area.lastColumn) visit(cell);
  }
}

}  // namespace xllhost
