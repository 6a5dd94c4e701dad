// The built-ins that round to a multiple or to a whole number, each taken
// element by element over arrays: FLOOR, CEILING, their .MATH and .PRECISE
// forms, ISO.CEILING, MROUND, EVEN and ODD.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Floor(const BuiltinCall& call);           // FLOOR(number, significance)
Value Ceiling(const BuiltinCall& call);         // CEILING(number, significance)
Value FloorMath(const BuiltinCall& call);       // FLOOR.MATH(number, [significance], [mode])
Value CeilingMath(const BuiltinCall& call);     // CEILING.MATH(number, [significance], [mode])
Value FloorPrecise(const BuiltinCall& call);    // FLOOR.PRECISE(number, [significance])
Value CeilingPrecise(const BuiltinCall& call);  // CEILING.PRECISE and ISO.CEILING(number, [significance])
Value MRound(const BuiltinCall& call);
Value Even(const BuiltinCall& call);
Value Odd(const BuiltinCall& call);

}  // namespace xllhost
