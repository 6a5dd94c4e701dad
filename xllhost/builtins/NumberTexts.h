// Numbers written as texts in a fixed form, and texts read as numbers with
// the separators given: FIXED, DOLLAR and NUMBERVALUE, each element by
// element. The forms are those of the en-US locale, as TEXT's are.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Fixed(const BuiltinCall& call);        // FIXED(number, [decimals], [no_commas])
Value Dollar(const BuiltinCall& call);       // DOLLAR(number, [decimals]): "$1,234.57", "($1,200)"
Value NumberValueOf(const BuiltinCall& call);  // NUMBERVALUE(text, [decimal_separator], [group_separator])

}  // namespace xllhost
