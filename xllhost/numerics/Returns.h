// The built-ins of a series of cash flows and of rates: NPV, IRR, MIRR,
// XNPV, XIRR, EFFECT, NOMINAL, FVSCHEDULE, PDURATION and RRI.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Npv(const BuiltinCall& call);        // NPV(rate, value1, ...)
Value Irr(const BuiltinCall& call);        // IRR(values, [guess])
Value Mirr(const BuiltinCall& call);       // MIRR(values, finance_rate, reinvest_rate)
Value Xnpv(const BuiltinCall& call);       // XNPV(rate, values, dates)
Value Xirr(const BuiltinCall& call);       // XIRR(values, dates, [guess])
Value Effect(const BuiltinCall& call);     // EFFECT(nominal_rate, npery)
Value Nominal(const BuiltinCall& call);    // NOMINAL(effect_rate, npery)
Value FvSchedule(const BuiltinCall& call);  // FVSCHEDULE(principal, schedule)
Value PDuration(const BuiltinCall& call);  // PDURATION(rate, pv, fv)
Value Rri(const BuiltinCall& call);        // RRI(nper, pv, fv)

// The root Newton's method finds from `guess` for f, whose derivative is
// `slope`: NaN when it does not settle within 100 steps to 10^-7, the
// closeness Microsoft's help gives for IRR and RATE. It goes on past that
// closeness to the nearest double, as the last digits shown depend on it.
double Root(double guess, double (*f)(double, const void*), double (*slope)(double, const void*), const void* data);

}  // namespace xllhost
