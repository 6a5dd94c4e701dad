#include "builtins/Bits.h"

#include <cmath>
#include <cstdint>

#include "builtins/ScalarFunctions.h"  // Numeric2

namespace xllhost {
namespace {

// The BIT functions take whole numbers from 0 to below 2^48, and answer
// within them; any other is #NUM!.
constexpr double BitLimit = 281474976710656.0;  // 2^48

bool IsBitNumber(double n) { return n >= 0 && n < BitLimit && n == std::floor(n); }

Value Bitwise(const BuiltinCall& c, std::uint64_t (*op)(std::uint64_t, std::uint64_t)) {
  return Numeric2(c, NAN, [op](double a, double b) {
    if (!IsBitNumber(a) || !IsBitNumber(b)) return ErrorValue(xlerrNum);
    return NumberValue(static_cast<double>(op(static_cast<std::uint64_t>(a), static_cast<std::uint64_t>(b))));
  });
}

// A shift of more than 53 places either way is #NUM!, as is a result past 2^48.
Value Shifted(const BuiltinCall& c, int direction) {
  return Numeric2(c, NAN, [direction](double n, double places) {
    places = std::trunc(places) * direction;
    if (!IsBitNumber(n) || std::fabs(places) > 53) return ErrorValue(xlerrNum);
    const double shifted = places >= 0 ? n * std::ldexp(1.0, static_cast<int>(places))
                                       : std::floor(n / std::ldexp(1.0, static_cast<int>(-places)));
    return shifted < BitLimit ? NumberValue(shifted) : ErrorValue(xlerrNum);
  });
}

}  // namespace

Value Delta(const BuiltinCall& c) {
  return Numeric2(c, 0, [](double a, double b) { return NumberValue(a == b ? 1 : 0); });
}
Value GeStep(const BuiltinCall& c) {
  return Numeric2(c, 0, [](double n, double step) { return NumberValue(n >= step ? 1 : 0); });
}
Value BitAnd(const BuiltinCall& c) {
  return Bitwise(c, [](std::uint64_t a, std::uint64_t b) { return a & b; });
}
Value BitOr(const BuiltinCall& c) {
  return Bitwise(c, [](std::uint64_t a, std::uint64_t b) { return a | b; });
}
Value BitXor(const BuiltinCall& c) {
  return Bitwise(c, [](std::uint64_t a, std::uint64_t b) { return a ^ b; });
}
Value BitLShift(const BuiltinCall& c) { return Shifted(c, 1); }
Value BitRShift(const BuiltinCall& c) { return Shifted(c, -1); }

}  // namespace xllhost
