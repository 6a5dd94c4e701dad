// The trigonometric and hyperbolic built-ins, each taken element by element
// over an array: SIN, COS, TAN, ASIN, ACOS, ATAN and ATAN2, in radians;
// CSC, SEC, COT, CSCH, SECH, COTH, ACOT, ACOTH; SINH ... ATANH; RADIANS and
// DEGREES.
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
Value Csc(const BuiltinCall& call);
Value Sec(const BuiltinCall& call);
Value Cot(const BuiltinCall& call);
Value Csch(const BuiltinCall& call);
Value Sech(const BuiltinCall& call);
Value Coth(const BuiltinCall& call);
Value Acot(const BuiltinCall& call);
Value Acoth(const BuiltinCall& call);
Value Sinh(const BuiltinCall& call);
Value Cosh(const BuiltinCall& call);
Value Tanh(const BuiltinCall& call);
Value Asinh(const BuiltinCall& call);
Value Acosh(const BuiltinCall& call);
Value Atanh(const BuiltinCall& call);
Value Radians(const BuiltinCall& call);
Value Degrees(const BuiltinCall& call);

}  // namespace xllhost
