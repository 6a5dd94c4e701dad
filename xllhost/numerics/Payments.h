// The built-ins of a loan's payments, each taken element by element over
// arrays: IPMT and PPMT, the interest and principal of one period;
// CUMIPMT and CUMPRINC, their sums over periods; ISPMT; and RATE.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Ipmt(const BuiltinCall& call);      // IPMT(rate, per, nper, pv, [fv], [type])
Value Ppmt(const BuiltinCall& call);      // PPMT(rate, per, nper, pv, [fv], [type])
Value CumIpmt(const BuiltinCall& call);   // CUMIPMT(rate, nper, pv, start, end, type)
Value CumPrinc(const BuiltinCall& call);  // CUMPRINC(rate, nper, pv, start, end, type)
Value IsPmt(const BuiltinCall& call);     // ISPMT(rate, per, nper, pv)
Value Rate(const BuiltinCall& call);      // RATE(nper, pmt, pv, [fv], [type], [guess])

}  // namespace xllhost
