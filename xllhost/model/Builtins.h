// Excel's built-in functions that xllhost calculates, and its operators,
// each from one table: a formula calls them by name, an add-in by number
// through Excel4 or Excel12 (xlfFind, ...).
#pragma once

#include <string>
#include <vector>

#include "Workbook.h"

namespace xllhost {

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

// What a built-in function is given, and reads through.
struct BuiltinCall {
  const Workbook& book;
  const Place& place;
  const std::vector<Operand>& args;
  std::string* notCalculated;  // set when the answer cannot be given

  // The operand as a value: one cell's value (nil when empty), a rectangle's
  // values as an array.
  Value Values(size_t i) const;
  // The operand as one value (IntersectedValue), or in an array formula
  // the array of its values.
  Value Scalar(size_t i) const;
  bool Given(size_t i) const { return i < args.size() && !args[i].value.Is(xltypeMissing); }
};

// Most cells an operand may give as an array.
constexpr size_t MaxArrayCells = 1 << 22;

struct Builtin {
  const char* name;
  int xlfn;  // its number in Excel's function table
  int fewest, most;
  // Null: Excel has the function and xllhost does not calculate it.
  Value (*calculate)(const BuiltinCall& call);
  // For functions that calculate only the argument they need (IF,
  // IFERROR): given the first argument's value, which other argument to
  // calculate, or -1 for none. Null for all others.
  int (*choose)(const Value& first);
};

// Null when the table has no row of the name (upper case) or number.
const Builtin* FindBuiltin(const std::string& name);
const Builtin* FindBuiltin(int xlfn);

// The values of a rectangle of cells: one cell's value (nil when empty), or
// an array. A cell still to be calculated, which can only be one that
// cannot be, sets `notCalculated`.
Value AreaValues(const Workbook& book, int sheet, const Area& area, std::string* notCalculated);
// An operand as one value; a reference of several cells gives the cell in
// the formula's row or column (implicit intersection), or #VALUE!.
Value IntersectedValue(const Workbook& book, const Place& place, const Operand& operand, std::string* notCalculated);

// An operator applied as Excel applies it; arrays element by element.
Value Operate(const std::string& op, const Value& left, const Value& right);
Value Negate(const Value& value);
Value Percent(const Value& value);

}  // namespace xllhost
