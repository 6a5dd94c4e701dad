#include "builtins/Conditionals.h"

#include "builtins/Operators.h"

namespace xllhost {
namespace {

bool IsNa(const Value& value) { return value.Is(xltypeErr) && value.err == xlerrNA; }

// SWITCH's arguments: the expression, pairs of a value and a result up to
// `end` (one past), and a default at the end when the count is even.
size_t PairsEnd(size_t count) { return 1 + 2 * ((count - 1) / 2); }
bool HasDefault(size_t count) { return (count - 1) % 2 == 1; }

}  // namespace

int ChooseIf(const std::vector<Value>& v, int last) {
  bool condition = false;
  Value error;
  if (last != 0 || !AsBoolean(v[0], &condition, &error)) return -1;
  return condition ? 1 : 2;
}
// The branch IF takes: an absent one is FALSE, an empty one 0.
Value If(const BuiltinCall& c) {
  bool condition = false;
  Value error;
  if (!AsBoolean(c.Scalar(0), &condition, &error)) return error;
  const size_t branch = condition ? 1 : 2;
  if (branch >= c.args.size()) return BooleanValue(false);
  if (!c.Given(branch)) return NumberValue(0);
  return c.Scalar(branch);
}

int ChooseIfError(const std::vector<Value>& v, int last) { return last == 0 && v[0].Is(xltypeErr) ? 1 : -1; }
Value IfError(const BuiltinCall& c) {
  const Value first = c.Scalar(0);
  if (!first.Is(xltypeErr)) return first;
  return c.Given(1) ? c.Scalar(1) : NumberValue(0);
}

int ChooseIfNa(const std::vector<Value>& v, int last) { return last == 0 && IsNa(v[0]) ? 1 : -1; }
Value IfNa(const BuiltinCall& c) {
  const Value first = c.Scalar(0);
  if (!IsNa(first)) return first;
  return c.Given(1) ? c.Scalar(1) : NumberValue(0);
}

// IFS calculates its conditions in turn, up to the first TRUE one, and then
// that one's value; none TRUE is #N/A, a condition that is no Boolean its
// error.
int ChooseIfs(const std::vector<Value>& v, int last) {
  bool condition = false;
  Value error;
  if (last % 2 == 1 || !AsBoolean(v[static_cast<size_t>(last)], &condition, &error)) return -1;
  return condition ? last + 1 : last + 2;
}
Value Ifs(const BuiltinCall& c) {
  if (c.args.size() % 2 != 0) return ErrorValue(xlerrValue);
  for (size_t i = 0; i < c.args.size(); i += 2) {
    bool condition = false;
    Value error;
    if (!AsBoolean(c.Scalar(i), &condition, &error)) return error;
    if (condition) return c.Given(i + 1) ? c.Scalar(i + 1) : NumberValue(0);
  }
  return ErrorValue(xlerrNA);
}

// SWITCH calculates the expression, then the values in turn up to the
// first equal to it (texts in any case), and that one's result; or the
// default; none is #N/A.
int ChooseSwitch(const std::vector<Value>& v, int last) {
  const size_t count = v.size(), end = PairsEnd(count);
  const auto at = static_cast<size_t>(last);
  const int fallback = HasDefault(count) ? static_cast<int>(count) - 1 : -1;
  if (last == 0) return v[0].Is(xltypeErr) ? -1 : end > 1 ? 1 : fallback;
  if (at % 2 == 0 || at >= end) return -1;  // a result, or the default
  if (Equal(v[at], v[0])) return last + 1;
  return at + 2 < end ? last + 2 : fallback;
}
Value Switch(const BuiltinCall& c) {
  const Value expression = c.Scalar(0);
  if (expression.Is(xltypeErr)) return expression;
  const size_t count = c.args.size(), end = PairsEnd(count);
  for (size_t i = 1; i < end; i += 2)
    if (Equal(c.Scalar(i), expression)) return c.Scalar(i + 1);
  return HasDefault(count) ? c.Scalar(count - 1) : ErrorValue(xlerrNA);
}

}  // namespace xllhost
