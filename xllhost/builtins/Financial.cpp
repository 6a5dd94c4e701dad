#include "builtins/Financial.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "builtins/Aggregates.h"
#include "builtins/Operators.h"
#include "builtins/ScalarFunctions.h"  // NumericN

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
    if (x[4] != 0 && x[4] != 1) {
      *c.notCalculated = "a payment type other than 0 and 1";
      return ErrorValue(xlerrNA);
    }
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

Value Pv(const BuiltinCall& c) {
  return Annuity(c, [](double rate, double nper, double pmt, double fv, bool atStart) {
    if (rate == 0) return FiniteNumber(-(pmt * nper + fv));
    return FiniteNumber(-(fv + pmt * Annuities(rate, nper, atStart)) / Growth(rate, nper));
  });
}

Value Fv(const BuiltinCall& c) {
  return Annuity(c, [](double rate, double nper, double pmt, double pv, bool atStart) {
    if (rate == 0) return FiniteNumber(-(pv + pmt * nper));
    return FiniteNumber(-(pv * Growth(rate, nper) + pmt * Annuities(rate, nper, atStart)));
  });
}

Value Pmt(const BuiltinCall& c) {
  return Annuity(c, [](double rate, double nper, double pv, double fv, bool atStart) {
    if (nper == 0) return ErrorValue(xlerrNum);
    if (rate == 0) return FiniteNumber(-(pv + fv) / nper);
    return FiniteNumber(-(fv + pv * Growth(rate, nper)) / Annuities(rate, nper, atStart));
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


// NPV(rate, value1, ...): the values, paid at the ends of periods 1, 2 and
// so on, discounted to the start of period 1. Microsoft's help says that
// errors and texts that are no numbers among the values are ignored, which
// no other aggregate does; until that is checked against Excel, xllhost
// leaves them uncalculated.
Value Npv(const BuiltinCall& c) {
  double rate = 0;
  std::vector<double> values;
  Value error;
  if (!AsNumber(c.Scalar(0), &rate, &error)) return error;
  if (!NumbersOf(c, 1, SIZE_MAX, &values, &error)) {
    *c.notCalculated = "NPV of an error or of a text that is no number";
    return ErrorValue(xlerrNA);
  }
  if (rate == -1) return ErrorValue(xlerrDiv0);
  double npv = 0, discount = 1;
  for (double value : values) npv += value / (discount *= 1 + rate);
  return FiniteNumber(npv);
}

// SLN(cost, salvage, life): the depreciation of each period, in a
// straight line.
Value Sln(const BuiltinCall& c) {
  return NumericN(c, 3, [](const double* x) {
    return x[2] == 0 ? ErrorValue(xlerrDiv0) : FiniteNumber((x[0] - x[1]) / x[2]);
  });
}
// SYD(cost, salvage, life, per): the sum-of-years' digits depreciation of
// period `per`, from 1 to `life`.
Value Syd(const BuiltinCall& c) {
  return NumericN(c, 4, [](const double* x) {
    const double life = x[2], per = x[3];
    if (life <= 0 || per <= 0 || per > life) return ErrorValue(xlerrNum);
    return FiniteNumber((x[0] - x[1]) * (life - per + 1) * 2 / (life * (life + 1)));
  });
}

}  // namespace xllhost
