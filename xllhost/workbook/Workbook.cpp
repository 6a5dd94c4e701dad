#include "workbook/Workbook.h"

#include "formulas/FormulaText.h"
#include "formulas/Literals.h"

namespace xllhost {

int Workbook::AddSheet(const std::string& name) {
  sheets_.push_back(Sheet{name, {}, {}});
  sheets_.back().cells.reserve(expected_);
  expected_ = 0;  // the first sheet added has room for all; later ones grow
  return static_cast<int>(sheets_.size()) - 1;
}

void Workbook::ExpectCells(size_t count) { expected_ = count; }

namespace {

// Room reserved and not taken is given back, unless it is little: giving it
// back copies what it holds.
template <typename T>
void GiveBackRoom(std::vector<T>& items) {
  if (items.capacity() > items.size() + items.size() / 4) items.shrink_to_fit();
}

}  // namespace

Cell& Workbook::Add(int sheet, int row, int column) {
  std::vector<Cell>& cells = sheets_[static_cast<size_t>(sheet)].cells;
  cells.emplace_back();
  cells.back().row = row;
  cells.back().column = column;
  return cells.back();
}

void Workbook::SetValue(int sheet, int row, int column, const Value& value) { Add(sheet, row, column).value = value; }

const SharedFormula* Workbook::Share(Formula formula) {
  std::string key = FormulaKey(formula);
  auto found = shared_.find(key);
  if (found != shared_.end()) return found->second.get();
  auto shared = std::make_unique<SharedFormula>();
  shared->formula = std::move(formula);
  shared->key = key;
  return shared_.emplace(key, std::move(shared)).first->second.get();
}

namespace {

std::uint64_t ColumnKey(int sheet, int column) {
  return static_cast<std::uint64_t>(static_cast<std::uint32_t>(sheet)) << 32 | static_cast<std::uint32_t>(column);
}

}  // namespace

// A formula filled down a column or across a row is the formula of the cell
// it was filled from, written at its own cell. Reading what PrintFormula
// writes gives back the formula written, so a text that a formula read
// before writes here is that formula, and is not read again: the formulas
// of a big workbook are mostly filled.
const SharedFormula* Workbook::Filled(int sheet, int row, int column, const std::string& text) const {
  const auto above = setLastInColumn_.find(ColumnKey(sheet, column));
  const SharedFormula* inColumn = above == setLastInColumn_.end() ? nullptr : above->second;
  for (const SharedFormula* guess : {inColumn, setLast_ != inColumn ? setLast_ : nullptr})
    if (guess != nullptr && PrintFormula(guess->formula, row, column) == text) return guess;
  return nullptr;
}

bool Workbook::SetFormula(int sheet, int row, int column, const std::string& text, const Value* saved,
                          std::string* why) {
  const SharedFormula* filled = Filled(sheet, row, column, text);
  Formula formula;
  const bool read = filled != nullptr || ParseFormula(text, row, column, &formula, why);
  Cell& cell = Add(sheet, row, column);
  if (read) {
    cell.formula = filled != nullptr ? filled : Share(std::move(formula));
    setLast_ = setLastInColumn_[ColumnKey(sheet, column)] = cell.formula;
  }
  if (!read) unread_.emplace(formulas_.size(), *why);
  if (saved != nullptr) cell.value = *saved;
  FormulaCell entry;
  entry.sheet = sheet;
  entry.row = row;
  entry.column = column;
  entry.text = Keep(text);
  if (saved != nullptr) entry.saved = std::make_unique<Value>(*saved);
  formulas_.push_back(std::move(entry));
  return read;
}

bool Workbook::SetArrayFormula(int sheet, const Area& area, const std::string& text, const Value* saved,
                               std::string* why) {
  const int block = static_cast<int>(blocks_.size());
  blocks_.push_back(ArrayBlock{sheet, area, static_cast<int>(formulas_.size())});
  auto savedAt = [&](int row, int column) -> const Value* {
    if (saved == nullptr) return nullptr;
    if (!saved->Is(xltypeMulti)) return row == area.firstRow && column == area.firstColumn ? saved : nullptr;
    const size_t i = static_cast<size_t>(row - area.firstRow) * static_cast<size_t>(area.Columns()) +
                     static_cast<size_t>(column - area.firstColumn);
    return i < saved->elements.size() ? &saved->elements[i] : nullptr;
  };
  bool read = SetFormula(sheet, area.firstRow, area.firstColumn, text, savedAt(area.firstRow, area.firstColumn), why);
  sheets_[static_cast<size_t>(sheet)].cells.back().block = block;
  // What Excel saved for the block: its values, row by row.
  if (saved != nullptr && saved->Is(xltypeMulti) && !area.IsCell())
    formulas_.back().saved = std::make_unique<Value>(*saved);
  for (int row = area.firstRow; row <= area.lastRow; ++row)
    for (int column = area.firstColumn; column <= area.lastColumn; ++column) {
      if (row == area.firstRow && column == area.firstColumn) continue;
      Cell& cell = Add(sheet, row, column);
      cell.block = block;
      if (const Value* value = savedAt(row, column)) cell.value = *value;
    }
  return read;
}

bool Workbook::DefineName(const std::string& name, int sheet, const std::string& text, std::string* why) {
  DefinedNameEntry entry;
  entry.name = name;
  entry.sheet = sheet;
  entry.text = text;
  const bool named = IsWorksheetName(name);
  if (!named) *why = "\"" + name + "\" is no name Excel allows";
  const bool read = named && ParseFormula(text, 0, 0, &entry.formula, why);
  if (!read) entry.unread = *why;
  names_.push_back(std::move(entry));
  return read;
}

std::string_view Workbook::Keep(const std::string& text) {
  if (text.size() > textsLeft_) {
    textsLeft_ = std::max<size_t>(1 << 16, text.size());
    texts_.push_back(std::make_unique<char[]>(textsLeft_));
    textsAt_ = texts_.back().get();
  }
  std::copy(text.begin(), text.end(), textsAt_);
  const std::string_view kept(textsAt_, text.size());
  textsAt_ += text.size();
  textsLeft_ -= text.size();
  return kept;
}

bool Workbook::Finish(std::string* why) {
  for (size_t s = 0; s < sheets_.size(); ++s) {
    std::vector<Cell>& cells = sheets_[s].cells;
    const auto before = [](const Cell& a, const Cell& b) {
      return a.row < b.row || (a.row == b.row && a.column < b.column);
    };
    // Cells read from a workbook come in order already: sorted only when not.
    if (!std::is_sorted(cells.begin(), cells.end(), before)) std::stable_sort(cells.begin(), cells.end(), before);
    for (size_t i = 1; i < cells.size(); ++i)
      if (cells[i].row == cells[i - 1].row && cells[i].column == cells[i - 1].column) {
        *why = Where(static_cast<int>(s), cells[i].row, cells[i].column) + " is given twice";
        return false;
      }
    GiveBackRoom(cells);
    std::vector<std::uint32_t>& starts = sheets_[s].rowStarts;
    starts.assign(cells.empty() ? 1 : static_cast<size_t>(cells.back().row) + 2, 0);
    size_t at = 0;
    for (size_t row = 0; row < starts.size(); ++row) {
      while (at < cells.size() && static_cast<size_t>(cells[at].row) < row) ++at;
      starts[row] = static_cast<std::uint32_t>(at);
    }
  }
  GiveBackRoom(formulas_);
  for (size_t i = 0; i < formulas_.size(); ++i) {
    FormulaCell& entry = formulas_[i];
    Cell* cell = Find(entry.sheet, entry.row, entry.column);
    entry.cell = static_cast<size_t>(cell - sheets_[static_cast<size_t>(entry.sheet)].cells.data());
    cell->entry = static_cast<int>(i);
  }
  return true;
}

int Workbook::FindSheet(const std::string& name) const {
  for (size_t i = 0; i < sheets_.size(); ++i)
    if (Upper(sheets_[i].name) == Upper(name)) return static_cast<int>(i);
  return -1;
}

const Cell* Workbook::Find(int sheet, int row, int column) const {
  const Sheet& s = sheets_[static_cast<size_t>(sheet)];
  const auto [begin, end] = s.Rows(row, row);
  const Cell* first = s.cells.data() + begin;
  const Cell* at = std::lower_bound(first, s.cells.data() + end, column,
                                    [](const Cell& cell, int c) { return cell.column < c; });
  return at != s.cells.data() + end && at->column == column ? at : nullptr;
}

Cell* Workbook::Find(int sheet, int row, int column) {
  return const_cast<Cell*>(static_cast<const Workbook*>(this)->Find(sheet, row, column));
}

const DefinedNameEntry* Workbook::FindName(const std::string& name, int sheet) const {
  const DefinedNameEntry* global = nullptr;
  const std::string upper = Upper(name);
  for (const DefinedNameEntry& entry : names_) {
    if (Upper(entry.name) != upper) continue;
    if (entry.sheet == sheet) return &entry;
    if (entry.sheet < 0) global = &entry;
  }
  return global;
}

size_t Workbook::CellCount() const {
  size_t count = 0;
  for (const Sheet& sheet : sheets_) count += sheet.cells.size();
  return count;
}

}  // namespace xllhost
