#include "builtins/Trigonometry.h"

#include <cmath>

#include "builtins/Operators.h"
#include "builtins/ScalarFunctions.h"

namespace xllhost {

Value Sin(const BuiltinCall& c) { return Numeric(c, 0, [](double n) { return FiniteNumber(std::sin(n)); }); }
Value Cos(const BuiltinCall& c) { return Numeric(c, 0, [](double n) { return FiniteNumber(std::cos(n)); }); }
Value Tan(const BuiltinCall& c) { return Numeric(c, 0, [](double n) { return FiniteNumber(std::tan(n)); }); }
// Outside -1 to 1 there is no angle: #NUM!.
Value Asin(const BuiltinCall& c) {
  return Numeric(c, 0, [](double n) { return std::fabs(n) > 1 ? ErrorValue(xlerrNum) : FiniteNumber(std::asin(n)); });
}
Value Acos(const BuiltinCall& c) {
  return Numeric(c, 0, [](double n) { return std::fabs(n) > 1 ? ErrorValue(xlerrNum) : FiniteNumber(std::acos(n)); });
}
Value Atan(const BuiltinCall& c) { return Numeric(c, 0, [](double n) { return FiniteNumber(std::atan(n)); }); }
// ATAN2(x, y): the angle of the point (x, y), x first, unlike C's atan2; the
// origin has none, #DIV/0!.
Value Atan2(const BuiltinCall& c) {
  return Numeric2(c, 0, [](double x, double y) {
    return x == 0 && y == 0 ? ErrorValue(xlerrDiv0) : FiniteNumber(std::atan2(y, x));
  });
}
namespace {

// CSC, SEC, COT and the hyperbolic three: 1 over SIN, COS, TAN, SINH, COSH,
// TANH, of a number below 2^27 in size (else #NUM!); at a pole, #DIV/0!.
Value Reciprocal(const BuiltinCall& c, double (*f)(double)) {
  return Numeric(c, 0, [f](double n) {
    if (std::fabs(n) >= 134217728) return ErrorValue(xlerrNum);
    const double denominator = f(n);
    return denominator == 0 ? ErrorValue(xlerrDiv0) : FiniteNumber(1 / denominator);
  });
}

}  // namespace

Value Csc(const BuiltinCall& c) { return Reciprocal(c, [](double n) { return std::sin(n); }); }
Value Sec(const BuiltinCall& c) { return Reciprocal(c, [](double n) { return std::cos(n); }); }
Value Cot(const BuiltinCall& c) { return Reciprocal(c, [](double n) { return std::tan(n); }); }
Value Csch(const BuiltinCall& c) { return Reciprocal(c, [](double n) { return std::sinh(n); }); }
Value Sech(const BuiltinCall& c) { return Reciprocal(c, [](double n) { return std::cosh(n); }); }
Value Coth(const BuiltinCall& c) { return Reciprocal(c, [](double n) { return std::tanh(n); }); }
// ACOT's angle lies between 0 and pi.
Value Acot(const BuiltinCall& c) {
  return Numeric(c, 0, [](double n) { return FiniteNumber(std::acos(-1.0) / 2 - std::atan(n)); });
}
Value Acoth(const BuiltinCall& c) {
  return Numeric(c, 0, [](double n) { return std::fabs(n) <= 1 ? ErrorValue(xlerrNum) : FiniteNumber(std::atanh(1 / n)); });
}

Value Sinh(const BuiltinCall& c) { return Numeric(c, 0, [](double n) { return FiniteNumber(std::sinh(n)); }); }
Value Cosh(const BuiltinCall& c) { return Numeric(c, 0, [](double n) { return FiniteNumber(std::cosh(n)); }); }
Value Tanh(const BuiltinCall& c) { return Numeric(c, 0, [](double n) { return FiniteNumber(std::tanh(n)); }); }
Value Asinh(const BuiltinCall& c) { return Numeric(c, 0, [](double n) { return FiniteNumber(std::asinh(n)); }); }
Value Acosh(const BuiltinCall& c) {
  return Numeric(c, 0, [](double n) { return n < 1 ? ErrorValue(xlerrNum) : FiniteNumber(std::acosh(n)); });
}
Value Atanh(const BuiltinCall& c) {
  return Numeric(c, 0, [](double n) { return std::fabs(n) >= 1 ? ErrorValue(xlerrNum) : FiniteNumber(std::atanh(n)); });
}
Value Radians(const BuiltinCall& c) {
  return Numeric(c, 0, [](double n) { return FiniteNumber(n * 3.14159265358979323846 / 180); });
}
Value Degrees(const BuiltinCall& c) {
  return Numeric(c, 0, [](double n) { return FiniteNumber(n * 180 / 3.14159265358979323846); });
}

}  // namespace xllhost
