#include "Aggregates.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "Operators.h"

namespace xllhost {
namespace {

// The values an aggregate takes from each argument: from a reference or
// an array, numbers only (and, with `logical`, Booleans); given directly,
// anything that converts.
template <typename Take>
bool Each(const BuiltinCall& call, bool logical, Take take, Value* error) {
  for (size_t i = 0; i < call.args.size(); ++i) {
    if (!call.Given(i)) continue;
    const Operand& arg = call.args[i];
    if (arg.IsReference() || arg.value.Is(xltypeMulti)) {
      const Value values = call.Values(i);
      const std::vector<Value> one{values};
      for (const Value& element : values.Is(xltypeMulti) ? values.elements : one) {
        if (element.Is(xltypeErr)) return *error = element, false;
        if (element.Is(xltypeNum)) take(element.num);
        if (logical && element.Is(xltypeBool)) take(element.boolean ? 1.0 : 0.0);
      }
      continue;
    }
    double number = 0;
    if (logical && arg.value.Is(xltypeStr)) {
      bool boolean = false;
      if (!AsBoolean(arg.value, &boolean, error)) return false;
      take(boolean ? 1.0 : 0.0);
      continue;
    }
    if (!AsNumber(arg.value, &number, error)) return false;
    take(number);
  }
  return true;
}

template <typename Fold>
Value Aggregate(const BuiltinCall& call, double start, Fold fold, bool emptyIsError = false) {
  double result = start;
  size_t count = 0;
  Value error;
  if (!Each(call, false, [&](double n) { result = count++ == 0 && std::isnan(start) ? n : fold(result, n); }, &error))
    return error;
  if (count == 0) return emptyIsError ? ErrorValue(xlerrDiv0) : NumberValue(0);
  return FiniteNumber(result);
}

}  // namespace

Value Sum(const BuiltinCall& c) { return Aggregate(c, 0, [](double a, double b) { return a + b; }); }
Value ProductOf(const BuiltinCall& c) { return Aggregate(c, 1, [](double a, double b) { return a * b; }); }
Value MinOf(const BuiltinCall& c) { return Aggregate(c, NAN, [](double a, double b) { return std::min(a, b); }); }
Value MaxOf(const BuiltinCall& c) { return Aggregate(c, NAN, [](double a, double b) { return std::max(a, b); }); }
Value Average(const BuiltinCall& c) {
  double sum = 0;
  size_t count = 0;
  Value error;
  if (!Each(c, false, [&](double n) { sum += n, ++count; }, &error)) return error;
  return count == 0 ? ErrorValue(xlerrDiv0) : FiniteNumber(sum / static_cast<double>(count));
}
namespace {

Value Logical(const BuiltinCall& c, bool all) {
  bool result = all, any = false;
  Value error;
  if (!Each(c, true, [&](double n) {
        any = true;
        result = all ? result && n != 0 : result || n != 0;
      }, &error))
    return error;
  return any ? BooleanValue(result) : ErrorValue(xlerrValue);
}

}  // namespace

Value And(const BuiltinCall& c) { return Logical(c, true); }
Value Or(const BuiltinCall& c) { return Logical(c, false); }
}  // namespace xllhost
