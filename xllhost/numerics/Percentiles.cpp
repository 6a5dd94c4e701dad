#include "numerics/Percentiles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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

// PERCENTRANK and PERCENTRANK.INC(array, x, [significance]): where x stands
// among the numbers, from 0 at the least to 1 at the greatest, between two
// of them in proportion; outside them, #N/A. Cut, not rounded, to
// `significance` digits (3 by default; below 1, #NUM!), after reading the
// rank to Excel's 15 digits (7/10 is 0.69999... in binary).
Value PercentRankInc(const BuiltinCall& c) {
  double digits = 3;
  Value error;
  if (c.Given(2) && !AsNumber(c.Scalar(2), &digits, &error)) return error;
  digits = std::trunc(digits);
  if (digits < 1) return ErrorValue(xlerrNum);
  return OfSorted(c, [&](const std::vector<double>& sorted, double x) {
    if (x < sorted.front() || x > sorted.back()) return ErrorValue(xlerrNA);
    if (sorted.size() == 1) return c.NotCalculated("PERCENTRANK among one number");
    const auto below = static_cast<size_t>(std::lower_bound(sorted.begin(), sorted.end(), x) - sorted.begin());
    double rank = static_cast<double>(below);
    if (sorted[below] != x)
      rank = static_cast<double>(below - 1) + (x - sorted[below - 1]) / (sorted[below] - sorted[below - 1]);
    const double scale = std::pow(10.0, std::min(digits, 15.0));
    char shown[32];
    std::snprintf(shown, sizeof shown, "%.15g", rank / static_cast<double>(sorted.size() - 1) * scale);
    return NumberValue(std::floor(std::strtod(shown, nullptr)) / scale);
  });
}

// FREQUENCY(data, bins): how many numbers of the data fall at or below each
// bin and above the one below it, in the bins' order, and above the
// greatest, as a column one longer than the bins.
Value Frequency(const BuiltinCall& c) {
  std::vector<double> data, bins;
  Value error;
  if (!NumbersOf(c, 0, 1, &data, &error) || !NumbersOf(c, 1, 2, &bins, &error)) return error;
  std::vector<double> sorted = bins;
  std::sort(sorted.begin(), sorted.end());
  Value counts = ArrayValue(bins.size() + 1, 1);
  std::fill(counts.elements.begin(), counts.elements.end(), NumberValue(0));
  for (double n : data) {
    const auto at = std::lower_bound(sorted.begin(), sorted.end(), n);
    // The bin at or above the number, placed where the bins stand in order given.
    const size_t slot = at == sorted.end() ? bins.size()
                                           : static_cast<size_t>(std::find(bins.begin(), bins.end(), *at) - bins.begin());
    counts.elements[slot].num += 1;
  }
  return counts;
}

// PROB(x_range, prob_range, lower, [upper]): the sum of the probabilities of
// the values from lower to upper (or equal to lower alone). Probabilities
// outside 0 to 1, or not summing to 1, are #NUM!; ranges of unlike counts,
// #N/A.
Value Prob(const BuiltinCall& c) {
  std::vector<double> values, chances;
  double lower = 0, upper = 0;
  Value error;
  if (!NumbersOf(c, 0, 1, &values, &error) || !NumbersOf(c, 1, 2, &chances, &error) ||
      !AsNumber(c.Scalar(2), &lower, &error))
    return error;
  upper = lower;
  if (c.Given(3) && !AsNumber(c.Scalar(3), &upper, &error)) return error;
  if (values.size() != chances.size()) return ErrorValue(xlerrNA);
  double total = 0, sum = 0;
  for (size_t i = 0; i < values.size(); ++i) {
    if (chances[i] < 0 || chances[i] > 1) return ErrorValue(xlerrNum);
    total += chances[i];
    if (values[i] >= lower && values[i] <= upper) sum += chances[i];
  }
  if (std::fabs(total - 1) > 1e-12) return ErrorValue(xlerrNum);
  return FiniteNumber(sum);
}

}  // namespace xllhost
