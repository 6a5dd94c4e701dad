// The built-ins of dates, as serial numbers of Excel's 1900 date system:
// DATE, YEAR, MONTH, DAY.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Date(const BuiltinCall& call);
Value Year(const BuiltinCall& call);
Value Month(const BuiltinCall& call);
Value Day(const BuiltinCall& call);

}  // namespace xllhost
