// The built-ins that take any number of arguments, each a value, a
// reference or an array: SUM, PRODUCT, MIN, MAX, AVERAGE, MINA, MAXA,
// AVERAGEA, AND, OR, XOR, COUNT, COUNTA, COUNTBLANK, SUMPRODUCT.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "builtins/BuiltinCall.h"

namespace xllhost {

// Each element of the arguments `first` to `last` (one past; all by
// default): a reference's or an array's values, or the value given;
// `direct` says which. A visit that answers false ends the walk, and
// ForEachValue then answers false.
template <typename Visit>
bool ForEachValue(const BuiltinCall& c, Visit visit, size_t first = 0, size_t last = SIZE_MAX) {
  for (size_t i = first; i < std::min(last, c.args.size()); ++i) {
    const Operand& arg = c.args[i];
    if (!arg.IsReference() && !arg.value.Is(xltypeMulti)) {
      if (!visit(arg.value, true)) return false;
      continue;
    }
    const Value values = c.Values(i);
    for (const Value& element : Elements(values))
      if (!visit(element, false)) return false;
  }
  return true;
}

// What an aggregate takes from a reference or an array: numbers only;
// Booleans too (AND, OR, XOR); or Booleans and texts, as 0 (MAXA, AVERAGEA
// and the other A forms). Empty cells never.
enum class Takes { Numbers, Logicals, Values };

// The numbers an aggregate takes from the arguments `first` to `last` (one
// past, or SIZE_MAX for all): from a reference or an array, as `takes`
// says; given directly, anything that converts. False, with the error, at
// the first error or what does not convert.
bool NumbersOf(const BuiltinCall& call, size_t first, size_t last, std::vector<double>* numbers, Value* error,
               Takes takes = Takes::Numbers);

Value Sum(const BuiltinCall& call);
Value ProductOf(const BuiltinCall& call);
Value MinOf(const BuiltinCall& call);
Value MaxOf(const BuiltinCall& call);
Value Average(const BuiltinCall& call);
Value MinA(const BuiltinCall& call);
Value MaxA(const BuiltinCall& call);
Value AverageA(const BuiltinCall& call);
Value And(const BuiltinCall& call);
Value Or(const BuiltinCall& call);
Value Xor(const BuiltinCall& call);
Value Count(const BuiltinCall& call);
Value CountA(const BuiltinCall& call);
Value CountBlank(const BuiltinCall& call);
Value SumProduct(const BuiltinCall& call);
}  // namespace xllhost
