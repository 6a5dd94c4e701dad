#include "builtins/ScalarFunctions.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "builtins/Operators.h"

namespace xllhost {

// A function of one number, element by element over an array.
Value Numeric(const BuiltinCall& call, size_t i, const std::function<Value(double)>& f) {
  return ElementWise({call.Scalar(i)}, [&](const std::vector<Value>& v) {
    double n = 0;
    Value error;
    return AsNumber(v[0], &n, &error) ? f(n) : error;
  });
}

Value NumericN(const BuiltinCall& call, size_t count, const std::function<Value(const double*)>& f) {
  std::vector<Value> given;
  for (size_t i = 0; i < count; ++i) given.push_back(call.Given(i) ? call.Scalar(i) : NumberValue(NAN));
  return ElementWise(given, [&](const std::vector<Value>& v) {
    double x[MostNumeric] = {};
    Value error;
    for (size_t i = 0; i < count; ++i)
      if (!AsNumber(v[i], &x[i], &error)) return error;
    return f(x);
  });
}

Value Abs(const BuiltinCall& c) { return Numeric(c, 0, [](double n) { return FiniteNumber(std::fabs(n)); }); }
Value Sqrt(const BuiltinCall& c) {
  return Numeric(c, 0, [](double n) { return n < 0 ? ErrorValue(xlerrNum) : FiniteNumber(std::sqrt(n)); });
}
Value Exp(const BuiltinCall& c) { return Numeric(c, 0, [](double n) { return FiniteNumber(std::exp(n)); }); }
Value Ln(const BuiltinCall& c) {
  return Numeric(c, 0, [](double n) { return n <= 0 ? ErrorValue(xlerrNum) : FiniteNumber(std::log(n)); });
}
Value Int(const BuiltinCall& c) { return Numeric(c, 0, [](double n) { return FiniteNumber(std::floor(n)); }); }
Value Pi(const BuiltinCall&) { return NumberValue(3.14159265358979323846); }

Value Numeric2(const BuiltinCall& call, double absent, const std::function<Value(double, double)>& f) {
  const Value second = call.Given(1) ? call.Scalar(1) : NumberValue(absent);
  return ElementWise({call.Scalar(0), second}, [&](const std::vector<Value>& v) {
    double a = 0, b = 0;
    Value error;
    if (!AsNumber(v[0], &a, &error) || !AsNumber(v[1], &b, &error)) return error;
    return f(a, b);
  });
}

Value Log(const BuiltinCall& c) {
  return Numeric2(c, 10, [](double n, double base) {
    if (n <= 0 || base <= 0) return ErrorValue(xlerrNum);
    if (base == 1) return ErrorValue(xlerrDiv0);
    return FiniteNumber(std::log(n) / std::log(base));
  });
}
Value Power(const BuiltinCall& c) {
  return Numeric2(c, 0, [](double a, double b) { return Arithmetic(Operator::Power, NumberValue(a), NumberValue(b)); });
}
// Halves away from zero, as Excel rounds.
double RoundToDigits(double n, double digits) {
  const double scale = std::pow(10.0, std::trunc(digits));
  if (!std::isfinite(scale) || scale == 0) return digits > 0 ? n : 0;
  return std::round(n * scale) / scale;
}
Value Round(const BuiltinCall& c) {
  return Numeric2(c, 0, [](double n, double digits) { return FiniteNumber(RoundToDigits(n, digits)); });
}
Value Log10(const BuiltinCall& c) {
  return Numeric(c, 0, [](double n) { return n <= 0 ? ErrorValue(xlerrNum) : FiniteNumber(std::log10(n)); });
}
Value Sign(const BuiltinCall& c) { return Numeric(c, 0, [](double n) { return NumberValue((n > 0) - (n < 0)); }); }

namespace {

// The number at `digits` decimals (left of the point when negative), away
// from zero or toward it. A product within a rounding error of a whole
// number is that number, so that ROUNDUP(0.1*3,1) is 0.3, as Excel shows it.
Value RoundAway(const BuiltinCall& c, bool away) {
  return Numeric2(c, 0, [away](double n, double digits) {
    const double scale = std::pow(10.0, std::trunc(digits));
    if (!std::isfinite(scale) || scale == 0) return FiniteNumber(digits > 0 ? n : 0);
    double scaled = std::fabs(n) * scale;
    const double whole = std::round(scaled);
    if (std::fabs(scaled - whole) <= 1e-12 * std::max(1.0, scaled)) scaled = whole;
    return FiniteNumber(std::copysign(away ? std::ceil(scaled) : std::floor(scaled), n) / scale);
  });
}

}  // namespace

Value RoundUp(const BuiltinCall& c) { return RoundAway(c, true); }
Value RoundDown(const BuiltinCall& c) { return RoundAway(c, false); }
Value Mod(const BuiltinCall& c) {
  return Numeric2(c, 0, [](double a, double b) {
    return b == 0 ? ErrorValue(xlerrDiv0) : FiniteNumber(a - b * std::floor(a / b));
  });
}

Value Quotient(const BuiltinCall& c) {
  return Numeric2(c, 0, [](double n, double d) { return d == 0 ? ErrorValue(xlerrDiv0) : FiniteNumber(std::trunc(n / d)); });
}
// ISEVEN and ISODD of the number taken whole.
Value IsEven(const BuiltinCall& c) {
  return Numeric(c, 0, [](double n) { return BooleanValue(std::fmod(std::trunc(n), 2) == 0); });
}
Value IsOdd(const BuiltinCall& c) {
  return Numeric(c, 0, [](double n) { return BooleanValue(std::fmod(std::trunc(n), 2) != 0); });
}
// FACT of the number taken whole: below 0 is #NUM!, as is past 170!, the
// largest a double holds.
Value Fact(const BuiltinCall& c) {
  return Numeric(c, 0, [](double n) {
    if (n < 0 || n >= 171) return ErrorValue(xlerrNum);
    double product = 1;
    for (double i = 2; i <= std::trunc(n); ++i) product *= i;
    return NumberValue(product);
  });
}
// The ways to choose k of n, both whole, 0 <= k <= n: the running product is
// exact while it fits 53 bits, and rounded to the whole number it is; NaN
// past a double.
double Ways(double n, double k) {
  k = std::min(k, n - k);
  if (k > 1030) return NAN;  // then n >= 2k, and the ways pass 2^1030
  double ways = 1;
  for (double i = 1; i <= k; ++i) ways = ways * (n - k + i) / i;
  return std::round(ways);
}
// COMBIN(n, k), both taken whole; k below 0 or above n is #NUM!.
Value Combin(const BuiltinCall& c) {
  return Numeric2(c, 0, [](double n, double k) {
    n = std::trunc(n), k = std::trunc(k);
    return n < 0 || k < 0 || k > n ? ErrorValue(xlerrNum) : FiniteNumber(Ways(n, k));
  });
}
// COMBINA(n, k): with repetitions, COMBIN(n + k - 1, k).
Value Combina(const BuiltinCall& c) {
  return Numeric2(c, 0, [](double n, double k) {
    n = std::trunc(n), k = std::trunc(k);
    if (n < 0 || k < 0 || n < k) return ErrorValue(xlerrNum);
    return n == 0 && k == 0 ? NumberValue(1) : FiniteNumber(Ways(n + k - 1, k));
  });
}
// PERMUT(n, k): the ordered ways; n at most 0, k below 0 or above n, #NUM!.
Value Permut(const BuiltinCall& c) {
  return Numeric2(c, 0, [](double n, double k) {
    n = std::trunc(n), k = std::trunc(k);
    if (n <= 0 || k < 0 || n < k) return ErrorValue(xlerrNum);
    double ways = 1;
    for (double i = 0; i < k && std::isfinite(ways); ++i) ways *= n - i;
    return FiniteNumber(ways);
  });
}
// PERMUTATIONA(n, k): with repetitions, n^k.
Value PermutationA(const BuiltinCall& c) {
  return Numeric2(c, 0, [](double n, double k) {
    n = std::trunc(n), k = std::trunc(k);
    return n < 0 || k < 0 ? ErrorValue(xlerrNum) : FiniteNumber(std::pow(n, k));
  });
}
// FACTDOUBLE(n): n (n - 2) (n - 4) ...; of -1 and 0, 1; below -1, #NUM!.
Value FactDouble(const BuiltinCall& c) {
  return Numeric(c, 0, [](double n) {
    n = std::trunc(n);
    if (n < -1) return ErrorValue(xlerrNum);
    double product = 1;
    for (double i = n; i > 1 && std::isfinite(product); i -= 2) product *= i;
    return FiniteNumber(product);
  });
}
Value SqrtPi(const BuiltinCall& c) {
  return Numeric(c, 0, [](double n) { return n < 0 ? ErrorValue(xlerrNum) : FiniteNumber(std::sqrt(n * std::acos(-1.0))); });
}

Value Not(const BuiltinCall& c) {
  return ElementWise({c.Scalar(0)}, [](const std::vector<Value>& v) {
    bool b = false;
    Value error;
    return AsBoolean(v[0], &b, &error) ? BooleanValue(!b) : error;
  });
}
Value IsError(const BuiltinCall& c) {
  return ElementWise({c.Scalar(0)}, [](const std::vector<Value>& v) { return BooleanValue(v[0].Is(xltypeErr)); });
}
Value IsNa(const BuiltinCall& c) {
  return ElementWise({c.Scalar(0)},
                     [](const std::vector<Value>& v) { return BooleanValue(v[0].Is(xltypeErr) && v[0].err == xlerrNA); });
}
Value IsBlank(const BuiltinCall& c) {
  return ElementWise({c.Scalar(0)}, [](const std::vector<Value>& v) { return BooleanValue(v[0].Is(xltypeNil)); });
}
Value IsNumber(const BuiltinCall& c) {
  return ElementWise({c.Scalar(0)}, [](const std::vector<Value>& v) { return BooleanValue(v[0].Is(xltypeNum)); });
}
Value IsText(const BuiltinCall& c) {
  return ElementWise({c.Scalar(0)}, [](const std::vector<Value>& v) { return BooleanValue(v[0].Is(xltypeStr)); });
}
Value Na(const BuiltinCall&) { return ErrorValue(xlerrNA); }
Value True(const BuiltinCall&) { return BooleanValue(true); }
Value False(const BuiltinCall&) { return BooleanValue(false); }

}  // namespace xllhost
