#include "numerics/Returns.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "builtins/Aggregates.h"
#include "builtins/Operators.h"
#include "builtins/ScalarFunctions.h"  // NumericN

namespace xllhost {

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
  if (!NumbersOf(c, 1, SIZE_MAX, &values, &error))
    return c.NotCalculated("NPV of an error or of a text that is no number");
  if (rate == -1) return ErrorValue(xlerrDiv0);
  double npv = 0, discount = 1;
  for (double value : values) npv += value / (discount *= 1 + rate);
  return FiniteNumber(npv);
}

double Root(double guess, double (*f)(double, const void*), double (*slope)(double, const void*), const void* data) {
  double x = guess, step = 1;
  for (int i = 0; i < 100; ++i) {
    step = f(x, data) / slope(x, data);
    if (!std::isfinite(step)) return NAN;
    x -= step;
    if (std::fabs(step) <= 1e-15 * std::max(1.0, std::fabs(x))) return x;
  }
  return std::fabs(step) <= 1e-7 ? x : NAN;
}

namespace {

// The net present value at `rate` of values at the starts of periods 0, 1,
// ..., and its slope.
double NetValue(double rate, const void* data) {
  double npv = 0, discount = 1;
  for (double value : *static_cast<const std::vector<double>*>(data)) npv += value / discount, discount *= 1 + rate;
  return npv;
}
double NetValueSlope(double rate, const void* data) {
  double slope = 0, discount = 1 + rate;
  const auto& values = *static_cast<const std::vector<double>*>(data);
  for (size_t i = 1; i < values.size(); ++i) slope -= static_cast<double>(i) * values[i] / (discount * (1 + rate)), discount *= 1 + rate;
  return slope;
}

// The values of argument `i`, a range or an array, numbers only, with a
// value above 0 and one below.
bool Flows(const BuiltinCall& c, size_t i, std::vector<double>* values, Value* error) {
  if (!NumbersOf(c, i, i + 1, values, error)) return false;
  bool in = false, out = false;
  for (double v : *values) in |= v > 0, out |= v < 0;
  return in && out ? true : (*error = ErrorValue(xlerrNum), false);
}

// Every element of argument `i` a number; else #VALUE!.
bool AllNumbers(const BuiltinCall& c, size_t i, std::vector<double>* numbers, Value* error) {
  const Value values = c.Values(i);
  for (const Value& value : Elements(values)) {
    if (value.Is(xltypeErr)) return *error = value, false;
    if (!value.Is(xltypeNum)) return *error = ErrorValue(xlerrValue), false;
    numbers->push_back(value.num);
  }
  return true;
}

// Values at dates: each value, and the years of 365 days from the first
// date to its own, for XNPV's sum and XIRR's root.
struct DatedFlows {
  std::vector<double> values, years;
};

double DatedValue(double rate, const void* data) {
  const auto& flows = *static_cast<const DatedFlows*>(data);
  double npv = 0;
  for (size_t i = 0; i < flows.values.size(); ++i) npv += flows.values[i] / std::pow(1 + rate, flows.years[i]);
  return npv;
}
double DatedSlope(double rate, const void* data) {
  const auto& flows = *static_cast<const DatedFlows*>(data);
  double slope = 0;
  for (size_t i = 0; i < flows.values.size(); ++i)
    slope -= flows.years[i] * flows.values[i] / std::pow(1 + rate, flows.years[i] + 1);
  return slope;
}

// Arguments `i` (the values) and `i + 1` (their dates): as many of each,
// no date before the first; else #NUM!.
bool Dated(const BuiltinCall& c, size_t i, DatedFlows* flows, Value* error) {
  std::vector<double> dates;
  if (!AllNumbers(c, i, &flows->values, error) || !AllNumbers(c, i + 1, &dates, error)) return false;
  if (flows->values.size() != dates.size()) return *error = ErrorValue(xlerrNum), false;
  for (double date : dates) {
    const double days = std::trunc(date) - std::trunc(dates[0]);
    if (days < 0) return *error = ErrorValue(xlerrNum), false;
    flows->years.push_back(days / 365);
  }
  return true;
}

}  // namespace

Value Irr(const BuiltinCall& c) {
  std::vector<double> values;
  Value error;
  double guess = 0.1;
  if (!Flows(c, 0, &values, &error) || (c.Given(1) && !AsNumber(c.Scalar(1), &guess, &error))) return error;
  return FiniteNumber(Root(guess, NetValue, NetValueSlope, &values));
}

// MIRR: the rate at which the money paid out, discounted at the finance
// rate, grows to the money received, grown at the reinvestment rate.
Value Mirr(const BuiltinCall& c) {
  std::vector<double> values;
  double finance = 0, reinvest = 0;
  Value error;
  if (!NumbersOf(c, 0, 1, &values, &error) || !AsNumber(c.Scalar(1), &finance, &error) ||
      !AsNumber(c.Scalar(2), &reinvest, &error))
    return error;
  const double n = static_cast<double>(values.size());
  double paid = 0, grown = 0;
  for (size_t i = 0; i < values.size(); ++i) {
    if (values[i] < 0) paid += values[i] / std::pow(1 + finance, static_cast<double>(i));
    if (values[i] > 0) grown += values[i] * std::pow(1 + reinvest, n - 1 - static_cast<double>(i));
  }
  if (paid == 0 || grown == 0) return ErrorValue(xlerrDiv0);
  return FiniteNumber(std::pow(grown / -paid, 1 / (n - 1)) - 1);
}

// XNPV: each value discounted by the years of 365 days from the first date.
Value Xnpv(const BuiltinCall& c) {
  DatedFlows flows;
  double rate = 0;
  Value error;
  if (!AsNumber(c.Scalar(0), &rate, &error) || !Dated(c, 1, &flows, &error)) return error;
  return FiniteNumber(DatedValue(rate, &flows));
}

// XIRR: the rate at which XNPV is 0, from the guess; values that are not
// some above 0 and some below, or no rate found, are #NUM!. Excel stops
// within 0.000001% of the root (Microsoft's help): its ninth digit may
// differ from this one's.
Value Xirr(const BuiltinCall& c) {
  DatedFlows flows;
  double guess = 0.1;
  Value error;
  if (!Dated(c, 0, &flows, &error) || (c.Given(2) && !AsNumber(c.Scalar(2), &guess, &error))) return error;
  const bool in = std::any_of(flows.values.begin(), flows.values.end(), [](double v) { return v > 0; });
  const bool out = std::any_of(flows.values.begin(), flows.values.end(), [](double v) { return v < 0; });
  if (!in || !out) return ErrorValue(xlerrNum);
  return FiniteNumber(Root(guess, DatedValue, DatedSlope, &flows));
}

Value Effect(const BuiltinCall& c) {
  return NumericN(c, 2, [](const double* x) {
    const double periods = std::trunc(x[1]);
    if (!(x[0] > 0) || periods < 1) return ErrorValue(xlerrNum);
    return FiniteNumber(std::expm1(periods * std::log1p(x[0] / periods)));
  });
}
Value Nominal(const BuiltinCall& c) {
  return NumericN(c, 2, [](const double* x) {
    const double periods = std::trunc(x[1]);
    if (!(x[0] > 0) || periods < 1) return ErrorValue(xlerrNum);
    return FiniteNumber(periods * std::expm1(std::log1p(x[0]) / periods));
  });
}
// FVSCHEDULE: the principal grown by each rate in turn; an empty cell is 0.
Value FvSchedule(const BuiltinCall& c) {
  double value = 0;
  Value error;
  if (!AsNumber(c.Scalar(0), &value, &error)) return error;
  const Value rates = c.Values(1);
  for (const Value& rate : Elements(rates)) {
    double r = 0;
    if (!rate.Is(xltypeNil) && !AsNumber(rate, &r, &error)) return error;
    value *= 1 + r;
  }
  return FiniteNumber(value);
}
Value PDuration(const BuiltinCall& c) {
  return NumericN(c, 3, [](const double* x) {
    if (!(x[0] > 0) || !(x[1] > 0) || !(x[2] > 0)) return ErrorValue(xlerrNum);
    return FiniteNumber((std::log(x[2]) - std::log(x[1])) / std::log1p(x[0]));
  });
}
Value Rri(const BuiltinCall& c) {
  return NumericN(c, 3, [](const double* x) {
    return x[0] > 0 ? FiniteNumber(std::pow(x[2] / x[1], 1 / x[0]) - 1) : ErrorValue(xlerrNum);
  });
}

}  // namespace xllhost
