#include "numerics/Financial.h"

#include <cmath>
#include <functional>
#include <vector>

#include "builtins/Operators.h"

namespace xllhost {
namespace {

// The five numbers of an annuity function, absent ones 0, element by
// element. A type other than 0 or 1 is left not calculated: Microsoft's
// help names only those two.
Value Annuity(const BuiltinCall& c, const std::function<Value(double, double, double, double, bool)>& f) {
  std::vector<Value> given;
  for (size_t i = 0; i < 5; ++i) given.push_back(c.Given(i) ? c.Scalar(i) : NumberValue(0));
  return ElementWise(given, [&](const std::vector<Value>& v) {
    double x[5] = {};
    Value error;
    for (size_t i = 0; i < 5; ++i)
      if (!AsNumber(v[i], &x[i], &error)) return error;
    if (x[4] != 0 && x[4] != 1) return c.NotCalculated("a payment type other than 0 and 1");
    return f(x[0], x[1], x[2], x[3], x[4] == 1);
  });
}

// (1+rate)^nper, and what one payment a period grows to over them, per
// payment: ((1+rate)^nper - 1) / rate, times (1+rate) when paid at the start.
// Through log1p and expm1: subtracting 1 from the power itself loses up to
// two digits at small rates, and the last ones shown would then depend on
// the C library's pow.
double Growth(double rate, double nper) { return std::exp(nper * std::log1p(rate)); }
double Annuities(double rate, double nper, bool atStart) {
  return std::expm1(nper * std::log1p(rate)) / rate * (atStart ? 1 + rate : 1);
}

}  // namespace

double FutureValue(double rate, double nper, double pmt, double pv, bool atStart) {
  if (rate == 0) return -(pv + pmt * nper);
  return -(pv * Growth(rate, nper) + pmt * Annuities(rate, nper, atStart));
}
double Payment(double rate, double nper, double pv, double fv, bool atStart) {
  if (rate == 0) return -(pv + fv) / nper;
  return -(fv + pv * Growth(rate, nper)) / Annuities(rate, nper, atStart);
}

Value Pv(const BuiltinCall& c) {
  return Annuity(c, [](double rate, double nper, double pmt, double fv, bool atStart) {
    if (rate == 0) return FiniteNumber(-(pmt * nper + fv));
    return FiniteNumber(-(fv + pmt * Annuities(rate, nper, atStart)) / Growth(rate, nper));
  });
}

Value Fv(const BuiltinCall& c) {
  return Annuity(c, [](double rate, double nper, double pmt, double pv, bool atStart) {
    return FiniteNumber(FutureValue(rate, nper, pmt, pv, atStart));
  });
}

Value Pmt(const BuiltinCall& c) {
  return Annuity(c, [](double rate, double nper, double pv, double fv, bool atStart) {
    return nper == 0 ? ErrorValue(xlerrNum) : FiniteNumber(Payment(rate, nper, pv, fv, atStart));
  });
}

Value Nper(const BuiltinCall& c) {
  return Annuity(c, [](double rate, double pmt, double pv, double fv, bool atStart) {
    if (rate == 0) return pmt == 0 ? ErrorValue(xlerrNum) : FiniteNumber(-(pv + fv) / pmt);
    const double paid = pmt * (atStart ? 1 + rate : 1);
    const double ratio = (paid - fv * rate) / (paid + pv * rate);
    if (!(ratio > 0) || rate <= -1) return ErrorValue(xlerrNum);
    return FiniteNumber(std::log(ratio) / std::log1p(rate));
  });
}

}  // namespace xllhost
