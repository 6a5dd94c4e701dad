#include "numerics/Percentiles.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "builtins/Aggregates.h"
#include "builtins/Operators.h"
#include "builtins/ScalarFunctions.h"  // Numeric

namespace xllhost {
namespace {

// The numbers of the first argument, sorted, given with the second
// argument, element by element, to `f`; none is #NUM!.
Value OfSorted(const BuiltinCall& c, const std::function<Value(const std::vector<double>&, double)>& f) {
  std::vector<double> numbers;
  Value error;
  if (!NumbersOf(c, 0, 1, &numbers, &error)) return error;
  if (numbers.empty()) return ErrorValue(xlerrNum);
  std::sort(numbers.begin(), numbers.end());
  return Numeric(c, 1, [&](double k) { return f(numbers, k); });
}

// The value at rank h (from 0), between two numbers in proportion.
Value AtRank(const std::vector<double>& sorted, double h) {
  if (h < 0 || h > static_cast<double>(sorted.size() - 1)) return ErrorValue(xlerrNum);
  const auto low = static_cast<size_t>(std::floor(h));
  if (low + 1 >= sorted.size()) return NumberValue(sorted[low]);
  return FiniteNumber(sorted[low] + (h - static_cast<double>(low)) * (sorted[low + 1] - sorted[low]));
}

// k from 0 to 1 spans the numbers inclusively; strictly between 0 and 1,
// exclusively, with the first at 1/(n+1).
Value Inclusive(const std::vector<double>& sorted, double k) {
  if (k < 0 || k > 1) return ErrorValue(xlerrNum);
  return AtRank(sorted, k * static_cast<double>(sorted.size() - 1));
}
Value Exclusive(const std::vector<double>& sorted, double k) {
  if (k <= 0 || k >= 1) return ErrorValue(xlerrNum);
  return AtRank(sorted, k * static_cast<double>(sorted.size() + 1) - 1);
}

// RANK: 1 and on from the largest (order 0 or absent) or the smallest;
// RANK.AVG gives tied numbers the mean of their ranks. A number the range
// does not hold is #N/A.
Value Rank(const BuiltinCall& c, bool average) {
  std::vector<double> numbers;
  double number = 0, order = 0;
  Value error;
  if (!AsNumber(c.Scalar(0), &number, &error) || !NumbersOf(c, 1, 2, &numbers, &error) ||
      (c.Given(2) && !AsNumber(c.Scalar(2), &order, &error)))
    return error;
  double before = 0, same = 0;
  for (double n : numbers) before += order == 0 ? n > number : n < number, same += n == number;
  if (same == 0) return ErrorValue(xlerrNA);
  return NumberValue(before + 1 + (average ? (same - 1) / 2 : 0));
}

}  // namespace

Value PercentileInc(const BuiltinCall& c) { return OfSorted(c, Inclusive); }
Value PercentileExc(const BuiltinCall& c) { return OfSorted(c, Exclusive); }
Value QuartileInc(const BuiltinCall& c) {
  return OfSorted(c, [](const std::vector<double>& sorted, double quart) {
    quart = std::trunc(quart);
    return quart < 0 || quart > 4 ? ErrorValue(xlerrNum) : Inclusive(sorted, quart / 4);
  });
}
Value QuartileExc(const BuiltinCall& c) {
  return OfSorted(c, [](const std::vector<double>& sorted, double quart) {
    quart = std::trunc(quart);
    return quart <= 0 || quart >= 4 ? ErrorValue(xlerrNum) : Exclusive(sorted, quart / 4);
  });
}
Value RankEq(const BuiltinCall& c) { return Rank(c, false); }
Value RankAvg(const BuiltinCall& c) { return Rank(c, true); }
// TRIMMEAN: the mean without the largest and the smallest numbers, as many
// of each as half the share `percent` of them, rounded down.
Value TrimMean(const BuiltinCall& c) {
  return OfSorted(c, [](const std::vector<double>& sorted, double percent) {
    if (percent < 0 || percent >= 1) return ErrorValue(xlerrNum);
    const auto cut = static_cast<size_t>(std::floor(static_cast<double>(sorted.size()) * percent / 2));
    double sum = 0;
    for (size_t i = cut; i < sorted.size() - cut; ++i) sum += sorted[i];
    return FiniteNumber(sum / static_cast<double>(sorted.size() - 2 * cut));
  });
}

}  // namespace xllhost
