#include "numerics/Statistics.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "builtins/Aggregates.h"
#include "builtins/Operators.h"
#include "builtins/ScalarFunctions.h"  // Numeric

namespace xllhost {
namespace {

// The numbers of all arguments, given to `f`; fewer than `fewest` is
// `tooFew`.
Value OfNumbers(const BuiltinCall& c, size_t fewest, int tooFew,
                const std::function<Value(std::vector<double>&)>& f, Takes takes = Takes::Numbers) {
  std::vector<double> numbers;
  Value error;
  if (!NumbersOf(c, 0, SIZE_MAX, &numbers, &error, takes)) return error;
  if (numbers.size() < fewest) return ErrorValue(tooFew);
  return f(numbers);
}

double Mean(const std::vector<double>& numbers) {
  double sum = 0;
  for (double n : numbers) sum += n;
  return sum / static_cast<double>(numbers.size());
}

// The sum of the squared deviations from the mean, in two passes: one pass
// of sums of squares loses the digits that the deviations keep.
double Deviations(const std::vector<double>& numbers) {
  const double mean = Mean(numbers);
  double sum = 0;
  for (double n : numbers) sum += (n - mean) * (n - mean);
  return sum;
}

// The variance of a sample divides by n - 1, of a population by n.
Value Variance(const BuiltinCall& c, bool sample, bool root, Takes takes = Takes::Numbers) {
  return OfNumbers(c, sample ? 2 : 1, xlerrDiv0, [&](std::vector<double>& numbers) {
    const double variance = Deviations(numbers) / static_cast<double>(numbers.size() - (sample ? 1 : 0));
    return FiniteNumber(root ? std::sqrt(variance) : variance);
  }, takes);
}

// A mean of numbers above 0 only; any other is #NUM!.
Value PositiveMean(const BuiltinCall& c, const std::function<double(const std::vector<double>&)>& mean) {
  return OfNumbers(c, 1, xlerrNum, [&](std::vector<double>& numbers) {
    for (double n : numbers)
      if (n <= 0) return ErrorValue(xlerrNum);
    return FiniteNumber(mean(numbers));
  });
}

// LARGE and SMALL: k from 1, over the numbers of the first argument. A k
// that is not whole is left uncalculated, as Microsoft's help does not say
// which way Excel rounds it.
Value Ranked(const BuiltinCall& c, bool largest) {
  std::vector<double> numbers;
  Value error;
  if (!NumbersOf(c, 0, 1, &numbers, &error)) return error;
  std::sort(numbers.begin(), numbers.end());
  if (largest) std::reverse(numbers.begin(), numbers.end());
  return Numeric(c, 1, [&](double k) {
    if (k != std::floor(k)) return c.NotCalculated("LARGE or SMALL of a k that is not a whole number");
    if (k < 1 || k > static_cast<double>(numbers.size())) return ErrorValue(xlerrNum);
    return NumberValue(numbers[static_cast<size_t>(k) - 1]);
  });
}

}  // namespace

Value StDev(const BuiltinCall& c) { return Variance(c, true, true); }
Value StDevP(const BuiltinCall& c) { return Variance(c, false, true); }
Value Var(const BuiltinCall& c) { return Variance(c, true, false); }
Value VarP(const BuiltinCall& c) { return Variance(c, false, false); }
Value StDevA(const BuiltinCall& c) { return Variance(c, true, true, Takes::Values); }
Value StDevPA(const BuiltinCall& c) { return Variance(c, false, true, Takes::Values); }
Value VarA(const BuiltinCall& c) { return Variance(c, true, false, Takes::Values); }
Value VarPA(const BuiltinCall& c) { return Variance(c, false, false, Takes::Values); }
Value DevSq(const BuiltinCall& c) {
  return OfNumbers(c, 1, xlerrNum, [](std::vector<double>& numbers) { return FiniteNumber(Deviations(numbers)); });
}
Value AveDev(const BuiltinCall& c) {
  return OfNumbers(c, 1, xlerrNum, [](std::vector<double>& numbers) {
    const double mean = Mean(numbers);
    double sum = 0;
    for (double n : numbers) sum += std::fabs(n - mean);
    return FiniteNumber(sum / static_cast<double>(numbers.size()));
  });
}
Value SumSq(const BuiltinCall& c) {
  return OfNumbers(c, 0, xlerrNum, [](std::vector<double>& numbers) {
    double sum = 0;
    for (double n : numbers) sum += n * n;
    return FiniteNumber(sum);
  });
}
// The geometric mean through logarithms, so that a product of many numbers
// does not overflow.
Value GeoMean(const BuiltinCall& c) {
  return PositiveMean(c, [](const std::vector<double>& numbers) {
    double logs = 0;
    for (double n : numbers) logs += std::log(n);
    return std::exp(logs / static_cast<double>(numbers.size()));
  });
}
Value HarMean(const BuiltinCall& c) {
  return PositiveMean(c, [](const std::vector<double>& numbers) {
    double reciprocals = 0;
    for (double n : numbers) reciprocals += 1 / n;
    return static_cast<double>(numbers.size()) / reciprocals;
  });
}
Value Median(const BuiltinCall& c) {
  return OfNumbers(c, 1, xlerrNum, [](std::vector<double>& numbers) {
    const size_t half = numbers.size() / 2;
    std::nth_element(numbers.begin(), numbers.begin() + half, numbers.end());
    const double upper = numbers[half];
    if (numbers.size() % 2 == 1) return NumberValue(upper);
    const double lower = *std::max_element(numbers.begin(), numbers.begin() + half);
    return FiniteNumber((lower + upper) / 2);
  });
}
// MODE: the number that comes most often, the first of them in the
// arguments' order when several do; #N/A when none comes twice.
Value Mode(const BuiltinCall& c) {
  return OfNumbers(c, 1, xlerrNA, [](std::vector<double>& numbers) {
    std::map<double, size_t> counts;
    for (double n : numbers) ++counts[n];
    double mode = 0;
    size_t most = 1;
    for (double n : numbers)
      if (counts[n] > most) mode = n, most = counts[n];
    return most > 1 ? NumberValue(mode) : ErrorValue(xlerrNA);
  });
}
namespace {

// The mean of the k-th powers of the deviations, each over the standard
// deviation of a sample (or, with `population`, of the whole).
double StandardMoment(const std::vector<double>& numbers, int k, bool population) {
  const double n = static_cast<double>(numbers.size()), mean = Mean(numbers);
  const double sd = std::sqrt(Deviations(numbers) / (population ? n : n - 1));
  double sum = 0;
  for (double x : numbers) sum += std::pow((x - mean) / sd, k);
  return sum;
}

}  // namespace

// SKEW of a sample needs three numbers, KURT four; numbers all alike are
// #DIV/0!.
Value Skew(const BuiltinCall& c) {
  return OfNumbers(c, 3, xlerrDiv0, [](std::vector<double>& numbers) {
    const double n = static_cast<double>(numbers.size());
    if (Deviations(numbers) == 0) return ErrorValue(xlerrDiv0);
    return FiniteNumber(n / ((n - 1) * (n - 2)) * StandardMoment(numbers, 3, false));
  });
}
Value SkewP(const BuiltinCall& c) {
  return OfNumbers(c, 1, xlerrDiv0, [](std::vector<double>& numbers) {
    if (Deviations(numbers) == 0) return ErrorValue(xlerrDiv0);
    return FiniteNumber(StandardMoment(numbers, 3, true) / static_cast<double>(numbers.size()));
  });
}
Value Kurt(const BuiltinCall& c) {
  return OfNumbers(c, 4, xlerrDiv0, [](std::vector<double>& numbers) {
    const double n = static_cast<double>(numbers.size());
    if (Deviations(numbers) == 0) return ErrorValue(xlerrDiv0);
    return FiniteNumber(n * (n + 1) / ((n - 1) * (n - 2) * (n - 3)) * StandardMoment(numbers, 4, false) -
                        3 * (n - 1) * (n - 1) / ((n - 2) * (n - 3)));
  });
}
Value Large(const BuiltinCall& c) { return Ranked(c, true); }
Value Small(const BuiltinCall& c) { return Ranked(c, false); }

}  // namespace xllhost
