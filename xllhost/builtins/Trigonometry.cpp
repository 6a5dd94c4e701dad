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
