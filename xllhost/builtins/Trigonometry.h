// The trigonometric built-ins, each taken element by element over an
// array: SIN, COS, TAN, ASIN, ACOS, ATAN and ATAN2, in radians.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Sin(const BuiltinCall& call);
Value Cos(const BuiltinCall& call);
Value Tan(const BuiltinCall& call);
Value Asin(const BuiltinCall& call);
Value Acos(const BuiltinCall& call);
Value Atan(const BuiltinCall& call);
Value Atan2(const BuiltinCall& call);

}  // namespace xllhost
