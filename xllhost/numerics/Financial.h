// The financial built-ins of an annuity, each taken element by element over
// arrays: PV, FV, PMT and NPER. Money paid out is negative, money received
// positive; `type` 1 pays at the start of each period, 0 (the default) at
// its end.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Pv(const BuiltinCall& call);    // PV(rate, nper, pmt, [fv], [type])
Value Fv(const BuiltinCall& call);    // FV(rate, nper, pmt, [pv], [type])
Value Pmt(const BuiltinCall& call);   // PMT(rate, nper, pv, [fv], [type])
Value Nper(const BuiltinCall& call);  // NPER(rate, pmt, pv, [fv], [type])

// The future value of an annuity, and the payment of each period; a
// rate of 0 is a sum.
double FutureValue(double rate, double nper, double pmt, double pv, bool atStart);
double Payment(double rate, double nper, double pv, double fv, bool atStart);

}  // namespace xllhost
