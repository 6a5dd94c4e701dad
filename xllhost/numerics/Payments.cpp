#include "numerics/Payments.h"

#include <algorithm>
#include <cmath>

#include "builtins/Operators.h"
#include "builtins/ScalarFunctions.h"  // NumericN
#include "numerics/Financial.h"
#include "numerics/Returns.h"  // Root

namespace xllhost {
namespace {

// The interest paid in period `per` (from 1): the rate on what is owed
// after the periods before it. Paid at the start, the first period owes
// no interest yet.
double Interest(double rate, double per, double nper, double pv, double fv, bool atStart) {
  const double pmt = Payment(rate, nper, pv, fv, atStart);
  if (per == 1) return atStart ? 0 : -pv * rate;
  const double owed = atStart ? FutureValue(rate, per - 2, pmt, pv, true) - pmt : FutureValue(rate, per - 1, pmt, pv, false);
  return owed * rate;
}

// IPMT and PPMT: a period outside 1 to nper is #NUM!; a type other than 0
// or 1 is left uncalculated, as for PMT.
Value OnePeriod(const BuiltinCall& c, bool principal) {
  return NumericN(c, 6, [&](const double* x) {
    const double rate = x[0], per = x[1], nper = x[2], pv = x[3], fv = std::isnan(x[4]) ? 0 : x[4];
    const double type = std::isnan(x[5]) ? 0 : x[5];
    if (type != 0 && type != 1) return c.NotCalculated("a payment type other than 0 and 1");
    if (per < 1 || per > nper) return ErrorValue(xlerrNum);
    const double interest = Interest(rate, per, nper, pv, fv, type == 1);
    return FiniteNumber(principal ? Payment(rate, nper, pv, fv, type == 1) - interest : interest);
  });
}

// CUMIPMT and CUMPRINC: the periods, nper and type taken whole; every
// argument in its range, as Microsoft's help gives them, or #NUM!.
Value Periods(const BuiltinCall& c, bool principal) {
  return NumericN(c, 6, [=](const double* x) {
    const double rate = x[0], nper = std::trunc(x[1]), pv = x[2], start = std::trunc(x[3]), end = std::trunc(x[4]);
    const double type = std::trunc(x[5]);
    if (!(rate > 0) || nper <= 0 || !(pv > 0) || start < 1 || end < start || end > nper || (type != 0 && type != 1))
      return ErrorValue(xlerrNum);
    const double pmt = Payment(rate, nper, pv, 0, type == 1);
    double sum = 0;
    for (double per = start; per <= end; ++per) {
      const double interest = Interest(rate, per, nper, pv, 0, type == 1);
      sum += principal ? pmt - interest : interest;
    }
    return FiniteNumber(sum);
  });
}

struct Loan {
  double nper, pmt, pv, fv;
  bool atStart;
};
// What is left owed at the end at `rate`, 0 at RATE's answer, and its
// slope, taken over a small step.
double Owed(double rate, const void* data) {
  const auto& a = *static_cast<const Loan*>(data);
  return a.fv - FutureValue(rate, a.nper, a.pmt, a.pv, a.atStart);
}
double OwedSlope(double rate, const void* data) {
  const double h = 1e-7 * std::max(1.0, std::fabs(rate));
  return (Owed(rate + h, data) - Owed(rate - h, data)) / (2 * h);
}

}  // namespace

Value Ipmt(const BuiltinCall& c) { return OnePeriod(c, false); }
Value Ppmt(const BuiltinCall& c) { return OnePeriod(c, true); }
Value CumIpmt(const BuiltinCall& c) { return Periods(c, false); }
Value CumPrinc(const BuiltinCall& c) { return Periods(c, true); }
Value IsPmt(const BuiltinCall& c) {
  return NumericN(c, 4, [](const double* x) {
    return x[2] == 0 ? ErrorValue(xlerrDiv0) : FiniteNumber(x[3] * x[0] * (x[1] / x[2] - 1));
  });
}
Value Rate(const BuiltinCall& c) {
  return NumericN(c, 6, [&](const double* x) {
    const double type = std::isnan(x[4]) ? 0 : x[4];
    if (type != 0 && type != 1) return c.NotCalculated("a payment type other than 0 and 1");
    const Loan loan{x[0], x[1], x[2], std::isnan(x[3]) ? 0 : x[3], type == 1};
    if (!(loan.nper > 0)) return ErrorValue(xlerrNum);
    return FiniteNumber(Root(std::isnan(x[5]) ? 0.1 : x[5], Owed, OwedSlope, &loan));
  });
}

}  // namespace xllhost
