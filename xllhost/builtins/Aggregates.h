// The built-ins that take any number of arguments, each a value, a
// reference or an array: SUM, PRODUCT, MIN, MAX, AVERAGE, AND, OR, COUNT,
// COUNTA, SUMPRODUCT; and those of the cells that meet a criterion: SUMIF,
// COUNTIF.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Sum(const BuiltinCall& call);
Value ProductOf(const BuiltinCall& call);
Value MinOf(const BuiltinCall& call);
Value MaxOf(const BuiltinCall& call);
Value Average(const BuiltinCall& call);
Value And(const BuiltinCall& call);
Value Or(const BuiltinCall& call);
Value Count(const BuiltinCall& call);
Value CountA(const BuiltinCall& call);
Value SumProduct(const BuiltinCall& call);
Value SumIf(const BuiltinCall& call);
Value CountIf(const BuiltinCall& call);
}  // namespace xllhost
