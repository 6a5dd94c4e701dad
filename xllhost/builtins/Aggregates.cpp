#include "builtins/Aggregates.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

#include "builtins/Operators.h"

namespace xllhost {
namespace {

// The values an aggregate takes from each argument: from a reference or
// an array, numbers, and as `takes` says Booleans, or Booleans and texts
// (as 0); given directly, anything that converts (for Takes::Logicals, a
// text as a Boolean).
template <typename Take>
bool Each(const BuiltinCall& call, Takes takes, Take take, Value* error, size_t first = 0,
          size_t last = SIZE_MAX) {
  return ForEachValue(call, [&](const Value& value, bool direct) {
    if (!direct) {
      if (value.Is(xltypeErr)) return *error = value, false;
      if (value.Is(xltypeNum)) take(value.num);
      if (takes != Takes::Numbers && value.Is(xltypeBool)) take(value.boolean ? 1.0 : 0.0);
      if (takes == Takes::Values && value.Is(xltypeStr)) take(0.0);
      return true;
    }
    if (value.Is(xltypeMissing)) return true;
    if (takes == Takes::Logicals && value.Is(xltypeStr)) {
      bool boolean = false;
      if (!AsBoolean(value, &boolean, error)) return false;
      take(boolean ? 1.0 : 0.0);
      return true;
    }
    double number = 0;
    if (!AsNumber(value, &number, error)) return false;
    take(number);
    return true;
  }, first, last);
}

template <typename Fold>
Value Aggregate(const BuiltinCall& call, double start, Fold fold, Takes takes = Takes::Numbers) {
  double result = start;
  size_t count = 0;
  Value error;
  if (!Each(call, takes, [&](double n) { result = count++ == 0 && std::isnan(start) ? n : fold(result, n); }, &error))
    return error;
  if (count == 0) return NumberValue(0);
  return FiniteNumber(result);
}

}  // namespace

bool NumbersOf(const BuiltinCall& call, size_t first, size_t last, std::vector<double>* numbers, Value* error,
               Takes takes) {
  return Each(call, takes, [numbers](double n) { numbers->push_back(n); }, error, first, last);
}

Value Sum(const BuiltinCall& c) { return Aggregate(c, 0, [](double a, double b) { return a + b; }); }
Value ProductOf(const BuiltinCall& c) { return Aggregate(c, 1, [](double a, double b) { return a * b; }); }
Value MinOf(const BuiltinCall& c) { return Aggregate(c, NAN, [](double a, double b) { return std::min(a, b); }); }
Value MaxOf(const BuiltinCall& c) { return Aggregate(c, NAN, [](double a, double b) { return std::max(a, b); }); }
Value MinA(const BuiltinCall& c) {
  return Aggregate(c, NAN, [](double a, double b) { return std::min(a, b); }, Takes::Values);
}
Value MaxA(const BuiltinCall& c) {
  return Aggregate(c, NAN, [](double a, double b) { return std::max(a, b); }, Takes::Values);
}
namespace {

Value Mean(const BuiltinCall& c, Takes takes) {
  double sum = 0;
  size_t count = 0;
  Value error;
  if (!Each(c, takes, [&](double n) { sum += n, ++count; }, &error)) return error;
  return count == 0 ? ErrorValue(xlerrDiv0) : FiniteNumber(sum / static_cast<double>(count));
}

}  // namespace
Value Average(const BuiltinCall& c) { return Mean(c, Takes::Numbers); }
Value AverageA(const BuiltinCall& c) { return Mean(c, Takes::Values); }
namespace {

// AND, OR and XOR: of the count of true values among how many; none at all
// is #VALUE!.
Value Logical(const BuiltinCall& c, bool (*answer)(size_t trues, size_t count)) {
  size_t trues = 0, count = 0;
  Value error;
  if (!Each(c, Takes::Logicals, [&](double n) { trues += n != 0, ++count; }, &error)) return error;
  return count > 0 ? BooleanValue(answer(trues, count)) : ErrorValue(xlerrValue);
}

}  // namespace

Value And(const BuiltinCall& c) { return Logical(c, [](size_t trues, size_t count) { return trues == count; }); }
Value Or(const BuiltinCall& c) { return Logical(c, [](size_t trues, size_t) { return trues > 0; }); }
Value Xor(const BuiltinCall& c) { return Logical(c, [](size_t trues, size_t) { return trues % 2 == 1; }); }

// COUNT: the numbers among the cells and arrays; given directly, anything
// that converts to a number. Errors are not counted, and not answered.
Value Count(const BuiltinCall& c) {
  double count = 0;
  ForEachValue(c, [&](const Value& value, bool direct) {
    double n = 0;
    Value error;
    count += value.Is(xltypeNum) || (direct && !value.Is(xltypeMissing) && AsNumber(value, &n, &error));
    return true;
  });
  return NumberValue(count);
}
// COUNTA: the cells that are not empty, and every value given directly.
Value CountA(const BuiltinCall& c) {
  double count = 0;
  ForEachValue(c, [&](const Value& value, bool direct) {
    count += direct || !value.Is(xltypeNil);
    return true;
  });
  return NumberValue(count);
}

// COUNTBLANK: the empty cells of a range, and those holding "".
Value CountBlank(const BuiltinCall& c) {
  double count = 0;
  ForEachValue(c, [&](const Value& value, bool) {
    count += value.Is(xltypeNil) || (value.Is(xltypeStr) && value.text.empty());
    return true;
  });
  return NumberValue(count);
}

// SUMPRODUCT: the sum of the products of the arrays' corresponding
// elements, which must all have one shape; an element that is no number
// counts 0, an error is the answer.
Value SumProduct(const BuiltinCall& c) {
  std::vector<Value> arrays;
  for (size_t i = 0; i < c.args.size(); ++i) {
    Value values = c.Values(i);
    if (!values.Is(xltypeMulti)) {
      Value one = ArrayValue(1, 1);
      one.elements[0] = std::move(values);
      values = std::move(one);
    }
    if (!arrays.empty() && (values.rows != arrays[0].rows || values.columns != arrays[0].columns))
      return ErrorValue(xlerrValue);
    arrays.push_back(std::move(values));
  }
  double sum = 0;
  for (size_t e = 0; e < arrays[0].elements.size(); ++e) {
    double product = 1;
    for (const Value& array : arrays) {
      const Value& element = array.elements[e];
      if (element.Is(xltypeErr)) return element;
      product *= element.Is(xltypeNum) ? element.num : 0;
    }
    sum += product;
  }
  return FiniteNumber(sum);
}

}  // namespace xllhost
