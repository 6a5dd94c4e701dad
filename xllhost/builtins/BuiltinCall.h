// What a built-in function is given: its arguments, evaluated, and where
// its formula stands; and what every built-in reads them through.
#pragma once

#include <string>
#include <vector>

#include "builtins/Operands.h"

namespace xllhost {

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
  // What a built-in answers where it cannot answer surely: the cell is left
  // not calculated, and `why` says why.
  Value NotCalculated(const std::string& why) const;
};

}  // namespace xllhost
