// What a formula's parts give: a value, or a reference to a sheet's cells,
// and the values such a reference reads from the workbook.
#pragma once

#include <string>
#include <utility>

#include "workbook/Workbook.h"

namespace xllhost {

// Most cells an operand may give as an array.
constexpr size_t MaxArrayCells = 1 << 22;

// An operand: a value, or a reference to a sheet's cells.
struct Operand {
  Value value;
  int sheet = -1;  // >= 0: a reference to the area of that sheet
  Area area;

  bool IsReference() const { return sheet >= 0; }
};

// Where a formula is calculated: its cell, and whether it fills an array
// block, where operations take arrays element by element.
struct Place {
  int sheet = 0, row = 0, column = 0;
  bool array = false;
};

// The elements of an array row by row, or the one value that is none, for
// a range-for; nothing is copied.
struct Elements {
  const Value* first;
  const Value* last;  // one past
  explicit Elements(const Value& values)
      : first(values.Is(xltypeMulti) ? values.elements.data() : &values),
        last(values.Is(xltypeMulti) ? values.elements.data() + values.elements.size() : &values + 1) {}
  const Value* begin() const { return first; }
  const Value* end() const { return last; }
};

// A value's elements as rows and columns: an array's, or the one value as
// one row of one column. It owns the value.
struct Grid {
  Value values;
  int rows = 1, columns = 1;

  explicit Grid(Value given = Value{}) : values(std::move(given)) {
    if (values.Is(xltypeMulti)) rows = values.rows, columns = values.columns;
  }
  const Value& At(int row, int column) const {
    return (*this)[static_cast<size_t>(row) * static_cast<size_t>(columns) + static_cast<size_t>(column)];
  }
  // The elements row by row, from 0.
  size_t Count() const { return static_cast<size_t>(rows) * static_cast<size_t>(columns); }
  const Value& operator[](size_t i) const { return values.Is(xltypeMulti) ? values.elements[i] : values; }
};

// A reference record as an operand: xltypeSRef on `sheet`, xltypeRef with
// a sheet's id and one rectangle; false for any other value, another
// workbook's sheet, several rectangles or one outside the grid.
bool AsReference(const Workbook& book, const Value& value, int sheet, Operand* operand);

// The values of a rectangle of cells: one cell's value (nil when empty), or
// an array. A cell still to be calculated, which can only be one that
// cannot be, sets `notCalculated`.
Value AreaValues(const Workbook& book, int sheet, const Area& area, std::string* notCalculated);
// An operand as one value; a reference of several cells gives the cell in
// the formula's row or column (implicit intersection), or #VALUE!.
Value IntersectedValue(const Workbook& book, const Place& place, const Operand& operand, std::string* notCalculated);

}  // namespace xllhost
