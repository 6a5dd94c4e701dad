// Numbers written as texts in a fixed form, and texts read as numbers with
// the separators given: FIXED, DOLLAR and NUMBERVALUE, each element by
// element. The forms are those of the en-US locale, as TEXT's are.
#pragma once

#include <string>

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Fixed(const BuiltinCall& call);        // FIXED(number, [decimals], [no_commas])
Value Dollar(const BuiltinCall& call);       // DOLLAR(number, [decimals]): "$1,234.57", "($1,200)"
Value NumberValueOf(const BuiltinCall& call);
// A number written plainly, as NUMBERVALUE and the parts of complex numbers
// write one: digits, a point and an exponent, with a sign; the whole text.
bool ReadPlainNumber(const std::string& text, double* number);  // NUMBERVALUE(text, [decimal_separator], [group_separator])

}  // namespace xllhost
