#include "lookup/ArrayFunctions.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "builtins/Operators.h"
#include "lookup/ArrayParts.h"

namespace xllhost {
namespace {

Value Empty(const BuiltinCall& c, const char* name) { return c.NotCalculated(std::string(name) + " of an empty array"); }

// Equal as UNIQUE takes them: texts without case; empty cells only alike.
bool Alike(const Value& a, const Value& b) {
  if (a.Is(xltypeNil) || b.Is(xltypeNil)) return a.Is(xltypeNil) && b.Is(xltypeNil);
  return Equal(a, b);
}

// TAKE and DROP: rows, then columns.
Value Trimmed(const BuiltinCall& c, bool drop) {
  const Grid grid(c.Values(0));
  double rows = 0, columns = 0;
  Value error;
  if (!Whole(c, 1, drop ? 0 : grid.rows, &rows, &error) || !Whole(c, 2, drop ? 0 : grid.columns, &columns, &error))
    return error;
  const std::vector<int> keptRows = Kept(grid.rows, rows, drop), keptColumns = Kept(grid.columns, columns, drop);
  if (keptRows.empty() || keptColumns.empty()) return Empty(c, drop ? "DROP" : "TAKE");
  return Lines(Grid(Lines(grid, keptRows, false)), keptColumns, true);
}

// HSTACK and VSTACK: the arguments' arrays in turn, side by side (`across`)
// or one below another, each short one filled with #N/A.
Value Stacked(const BuiltinCall& c, bool across) {
  std::vector<Grid> grids;
  size_t length = 0, breadth = 0;
  for (size_t i = 0; i < c.args.size(); ++i) {
    grids.emplace_back(c.Values(i));
    length += static_cast<size_t>(across ? grids.back().columns : grids.back().rows);
    breadth = std::max(breadth, static_cast<size_t>(across ? grids.back().rows : grids.back().columns));
  }
  Value array = across ? ArrayValue(breadth, length) : ArrayValue(length, breadth);
  std::fill(array.elements.begin(), array.elements.end(), ErrorValue(xlerrNA));  // what a short array leaves
  size_t at = 0;
  for (const Grid& grid : grids) {
    for (int i = 0; i < grid.rows; ++i)
      for (int j = 0; j < grid.columns; ++j) {
        const size_t row = across ? static_cast<size_t>(i) : at + static_cast<size_t>(i);
        const size_t column = across ? at + static_cast<size_t>(j) : static_cast<size_t>(j);
        array.elements[row * static_cast<size_t>(array.columns) + column] = grid.At(i, j);
      }
    at += static_cast<size_t>(across ? grid.columns : grid.rows);
  }
  return array;
}

// CHOOSEROWS and CHOOSECOLS: 0, or past the lines either way, is #VALUE!.
Value Chosen(const BuiltinCall& c, bool across) {
  const Grid grid(c.Values(0));
  const int count = across ? grid.columns : grid.rows;
  std::vector<int> picked;
  Value error;
  for (size_t i = 1; i < c.args.size(); ++i) {
    double n = 0;
    if (!Whole(c, i, 0, &n, &error)) return error;
    if (n == 0 || std::fabs(n) > count) return ErrorValue(xlerrValue);
    picked.push_back(n > 0 ? static_cast<int>(n) - 1 : count + static_cast<int>(n));
  }
  return Lines(grid, picked, across);
}

// TOROW and TOCOL: ignore 1 passes over empty cells, 2 errors, 3 both.
Value Flattened(const BuiltinCall& c, bool row) {
  const Grid grid(c.Values(0));
  double ignore = 0;
  bool byColumn = false;
  Value error;
  if (!Whole(c, 1, 0, &ignore, &error) || !Flag(c, 2, &byColumn, &error)) return error;
  if (ignore < 0 || ignore > 3) return ErrorValue(xlerrValue);
  const int skip = static_cast<int>(ignore);
  std::vector<Value> kept;
  for (int outer = 0; outer < (byColumn ? grid.columns : grid.rows); ++outer)
    for (int inner = 0; inner < (byColumn ? grid.rows : grid.columns); ++inner) {
      const Value& value = byColumn ? grid.At(inner, outer) : grid.At(outer, inner);
      if (((skip & 1) != 0 && value.Is(xltypeNil)) || ((skip & 2) != 0 && value.Is(xltypeErr))) continue;
      kept.push_back(value);
    }
  if (kept.empty()) return Empty(c, row ? "TOROW" : "TOCOL");
  Value array = row ? ArrayValue(1, kept.size()) : ArrayValue(kept.size(), 1);
  array.elements = std::move(kept);
  return array;
}

}  // namespace

Value Sequence(const BuiltinCall& c) {
  double rows = 0, columns = 1, start = 1, step = 1;
  Value error;
  if (!Whole(c, 0, 1, &rows, &error) || !Whole(c, 1, 1, &columns, &error) ||
      (c.Given(2) && !AsNumber(c.Scalar(2), &start, &error)) || (c.Given(3) && !AsNumber(c.Scalar(3), &step, &error)))
    return error;
  if (rows < 1 || columns < 1) return Empty(c, "SEQUENCE");
  if (rows * columns > MaxArrayCells) return c.NotCalculated("SEQUENCE of more values than xllhost passes");
  Value array = ArrayValue(static_cast<size_t>(rows), static_cast<size_t>(columns));
  for (size_t k = 0; k < array.elements.size(); ++k) array.elements[k] = NumberValue(start + step * static_cast<double>(k));
  return array;
}

// FILTER keeps the rows, or the columns, whose include is true: a column
// as tall as the array, or a row as wide.
Value Filter(const BuiltinCall& c) {
  const Grid grid(c.Values(0)), include(c.Values(1));
  const bool down = include.columns == 1 && include.rows == grid.rows;
  if (!down && !(include.rows == 1 && include.columns == grid.columns)) return ErrorValue(xlerrValue);
  std::vector<int> kept;
  for (int i = 0; i < (down ? grid.rows : grid.columns); ++i) {
    const Value& test = down ? include.At(i, 0) : include.At(0, i);
    bool keep = false;
    Value error;
    if (test.Is(xltypeErr)) return test;
    if (!test.Is(xltypeNil) && !AsBoolean(test, &keep, &error)) return error;
    if (keep) kept.push_back(i);
  }
  if (kept.empty()) return c.Given(2) ? c.Values(2) : Empty(c, "FILTER");
  return Lines(grid, kept, !down);
}

Value Unique(const BuiltinCall& c) {
  const Grid grid(c.Values(0));
  bool across = false, once = false;
  Value error;
  if (!Flag(c, 1, &across, &error) || !Flag(c, 2, &once, &error)) return error;
  const int count = across ? grid.columns : grid.rows, width = across ? grid.rows : grid.columns;
  const auto same = [&](int a, int b) {
    for (int k = 0; k < width; ++k)
      if (!Alike(across ? grid.At(k, a) : grid.At(a, k), across ? grid.At(k, b) : grid.At(b, k))) return false;
    return true;
  };
  std::vector<int> kept;
  for (int line = 0; line < count; ++line) {
    int seen = 0, first = line;
    for (int other = 0; other < count; ++other)
      if (same(line, other)) first = std::min(first, other), ++seen;
    if (first == line && (!once || seen == 1)) kept.push_back(line);
  }
  if (kept.empty()) return Empty(c, "UNIQUE");
  return Lines(grid, kept, across);
}

Value Take(const BuiltinCall& c) { return Trimmed(c, false); }
Value Drop(const BuiltinCall& c) { return Trimmed(c, true); }
Value HStack(const BuiltinCall& c) { return Stacked(c, true); }
Value VStack(const BuiltinCall& c) { return Stacked(c, false); }
Value ChooseRows(const BuiltinCall& c) { return Chosen(c, false); }
Value ChooseCols(const BuiltinCall& c) { return Chosen(c, true); }
Value ToRow(const BuiltinCall& c) { return Flattened(c, true); }
Value ToCol(const BuiltinCall& c) { return Flattened(c, false); }

// The cell must be the first of a formula's array: another is #REF!.
Value AnchorArray(const BuiltinCall& c) {
  const Operand& given = c.args[0];
  if (!given.IsReference()) return ErrorValue(xlerrValue);
  const Cell* cell = c.book.Find(given.sheet, given.area.firstRow, given.area.firstColumn);
  if (cell == nullptr || cell->block < 0) return ErrorValue(xlerrRef);
  const Area& area = c.book.Blocks()[static_cast<size_t>(cell->block)].area;
  if (area.firstRow != cell->row || area.firstColumn != cell->column) return ErrorValue(xlerrRef);
  return AreaReference(area.firstRow, area.lastRow, area.firstColumn, area.lastColumn, Workbook::SheetId(given.sheet));
}

}  // namespace xllhost
