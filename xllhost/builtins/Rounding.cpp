#include "builtins/Rounding.h"

#include <algorithm>
#include <cmath>

#include "builtins/Operators.h"
#include "builtins/ScalarFunctions.h"  // Numeric, Numeric2, NumericN

namespace xllhost {
namespace {

// The number of significances in the number; one within a rounding error
// of a whole number is that number, so that FLOOR(0.3,0.1) is 0.3.
double Steps(double n, double significance) {
  const double steps = n / significance, whole = std::round(steps);
  return std::fabs(steps - whole) <= 1e-12 * std::max(1.0, std::fabs(steps)) ? whole : steps;
}

// FLOOR and CEILING: the number rounded to a multiple of the significance,
// down or up. A positive number with a negative significance is #NUM!.
Value ToMultiple(const BuiltinCall& c, bool up) {
  return Numeric2(c, 0, [up](double n, double significance) {
    if (significance == 0) return up ? NumberValue(0) : (n == 0 ? NumberValue(0) : ErrorValue(xlerrDiv0));
    if (n > 0 && significance < 0) return ErrorValue(xlerrNum);
    const double steps = Steps(n, significance);
    return FiniteNumber((up ? std::ceil(steps) : std::floor(steps)) * significance);
  });
}

// The .MATH and .PRECISE forms: a multiple of the significance's size (1
// when absent, none when 0), up or down; with `mode` not 0, a negative
// number rounds the other way, away from zero for CEILING.MATH and toward
// it for FLOOR.MATH.
Value ToSizeMultiple(const BuiltinCall& c, bool up, bool hasMode) {
  return NumericN(c, hasMode ? 3 : 2, [=](const double* x) {
    const double n = x[0], size = std::isnan(x[1]) ? 1 : std::fabs(x[1]);
    if (size == 0) return NumberValue(0);
    const bool flip = hasMode && n < 0 && !std::isnan(x[2]) && x[2] != 0;
    const double steps = Steps(n, size);
    return FiniteNumber((up != flip ? std::ceil(steps) : std::floor(steps)) * size);
  });
}

}  // namespace

Value Floor(const BuiltinCall& c) { return ToMultiple(c, false); }
Value Ceiling(const BuiltinCall& c) { return ToMultiple(c, true); }
Value FloorMath(const BuiltinCall& c) { return ToSizeMultiple(c, false, true); }
Value CeilingMath(const BuiltinCall& c) { return ToSizeMultiple(c, true, true); }
Value FloorPrecise(const BuiltinCall& c) { return ToSizeMultiple(c, false, false); }
Value CeilingPrecise(const BuiltinCall& c) { return ToSizeMultiple(c, true, false); }

// MROUND: the number rounded to the nearest multiple, halves away from
// zero; a multiple of the other sign is #NUM!. A quotient within a rounding
// error of a half is that half, so that MROUND(1.3,0.2) is 1.4.
Value MRound(const BuiltinCall& c) {
  return Numeric2(c, 0, [](double n, double multiple) {
    if (multiple == 0 || n == 0) return NumberValue(0);
    if ((n > 0) != (multiple > 0)) return ErrorValue(xlerrNum);
    const double quotient = n / multiple, below = std::floor(quotient);
    const bool half = std::fabs(quotient - below - 0.5) <= 1e-12 * std::max(1.0, quotient);
    return FiniteNumber((half ? below + 1 : std::round(quotient)) * multiple);
  });
}
// EVEN and ODD round away from zero to the next even or odd whole number.
Value Even(const BuiltinCall& c) {
  return Numeric(c, 0, [](double n) { return FiniteNumber(std::copysign(std::ceil(std::fabs(n) / 2) * 2, n)); });
}
Value Odd(const BuiltinCall& c) {
  return Numeric(c, 0, [](double n) {
    double whole = std::ceil(std::fabs(n));
    if (std::fmod(whole, 2) == 0) ++whole;
    return FiniteNumber(n < 0 ? -whole : whole);
  });
}

}  // namespace xllhost
