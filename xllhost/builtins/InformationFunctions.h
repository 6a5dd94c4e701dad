// The built-ins that tell what a value is: TYPE, ERROR.TYPE, ISERR,
// ISLOGICAL, ISNONTEXT, N and T.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value TypeOf(const BuiltinCall& call);
Value ErrorType(const BuiltinCall& call);
Value IsErr(const BuiltinCall& call);  // an error other than #N/A
Value IsLogical(const BuiltinCall& call);
Value IsNonText(const BuiltinCall& call);
Value NumberOf(const BuiltinCall& call);  // N
Value TextOf(const BuiltinCall& call);    // T

}  // namespace xllhost
