// The built-ins of whole numbers: GCD, LCM and MULTINOMIAL of any number of
// arguments, ROMAN and ARABIC.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Gcd(const BuiltinCall& call);
Value Lcm(const BuiltinCall& call);
Value Multinomial(const BuiltinCall& call);
Value Roman(const BuiltinCall& call);   // ROMAN(number, [form]), the classic form
Value Arabic(const BuiltinCall& call);  // ARABIC(text)

}  // namespace xllhost
