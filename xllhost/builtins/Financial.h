// The financial built-ins: those of an annuity, each taken element by
// element over arrays: PV, FV, PMT and NPER; NPV; and the depreciations SLN
// and SYD. Money paid out is negative, money received positive; `type` 1
// pays at the start of each period, 0 (the default) at its end.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Pv(const BuiltinCall& call);    // PV(rate, nper, pmt, [fv], [type])
Value Fv(const BuiltinCall& call);    // FV(rate, nper, pmt, [pv], [type])
Value Pmt(const BuiltinCall& call);   // PMT(rate, nper, pv, [fv], [type])
Value Nper(const BuiltinCall& call);  // NPER(rate, pmt, pv, [fv], [type])
Value Npv(const BuiltinCall& call);
Value Sln(const BuiltinCall& call);
Value Syd(const BuiltinCall& call);

}  // namespace xllhost
