// The engineering built-ins of whole numbers and thresholds: DELTA, GESTEP,
// BITAND, BITOR, BITXOR, BITLSHIFT and BITRSHIFT, each element by element.
// The base conversions are in BaseConversions.h.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Delta(const BuiltinCall& call);   // 1 where two numbers are equal, else 0
Value GeStep(const BuiltinCall& call);  // 1 where a number is at least the step, else 0
Value BitAnd(const BuiltinCall& call);
Value BitOr(const BuiltinCall& call);
Value BitXor(const BuiltinCall& call);
Value BitLShift(const BuiltinCall& call);  // a negative shift goes right
Value BitRShift(const BuiltinCall& call);

}  // namespace xllhost
