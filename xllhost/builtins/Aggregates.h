// The built-ins that take any number of arguments, each a value, a
// reference or an array: SUM, PRODUCT, MIN, MAX, AVERAGE, AND, OR, XOR,
// COUNT, COUNTA, COUNTBLANK, SUMPRODUCT.
#pragma once

#include <vector>

#include "builtins/BuiltinCall.h"

namespace xllhost {

// The numbers an aggregate takes from the arguments `first` to `last` (one
// past, or SIZE_MAX for all): from a reference or an array, numbers only;
// given directly, anything that converts. False, with the error, at the
// first error or what does not convert.
bool NumbersOf(const BuiltinCall& call, size_t first, size_t last, std::vector<double>* numbers, Value* error);

Value Sum(const BuiltinCall& call);
Value ProductOf(const BuiltinCall& call);
Value MinOf(const BuiltinCall& call);
Value MaxOf(const BuiltinCall& call);
Value Average(const BuiltinCall& call);
Value And(const BuiltinCall& call);
Value Or(const BuiltinCall& call);
Value Xor(const BuiltinCall& call);
Value Count(const BuiltinCall& call);
Value CountA(const BuiltinCall& call);
Value CountBlank(const BuiltinCall& call);
Value SumProduct(const BuiltinCall& call);
}  // namespace xllhost
