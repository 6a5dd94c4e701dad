#include "numerics/Regression.h"

#include <cmath>
#include <functional>
#include <vector>

#include "builtins/Operators.h"

namespace xllhost {
namespace {

// The pairs of numbers of arguments `first` (a) and first + 1 (b), with
// their means and sums of squared and crossed deviations.
struct Pairs {
  std::vector<double> as, bs;
  double n = 0, meanA = 0, meanB = 0, aa = 0, bb = 0, ab = 0;
};

bool Paired(const BuiltinCall& c, size_t first, Pairs* pairs, Value* error) {
  const Value a = c.Values(first), b = c.Values(first + 1);
  const Elements cellsA(a), cellsB(b);
  if (cellsA.end() - cellsA.begin() != cellsB.end() - cellsB.begin()) return *error = ErrorValue(xlerrNA), false;
  for (const Value *x = cellsA.begin(), *y = cellsB.begin(); x != cellsA.end(); ++x, ++y) {
    if (x->Is(xltypeErr)) return *error = *x, false;
    if (y->Is(xltypeErr)) return *error = *y, false;
    if (x->Is(xltypeNum) && y->Is(xltypeNum)) pairs->as.push_back(x->num), pairs->bs.push_back(y->num);
  }
  pairs->n = static_cast<double>(pairs->as.size());
  for (size_t i = 0; i < pairs->as.size(); ++i) pairs->meanA += pairs->as[i] / pairs->n, pairs->meanB += pairs->bs[i] / pairs->n;
  for (size_t i = 0; i < pairs->as.size(); ++i) {
    const double da = pairs->as[i] - pairs->meanA, db = pairs->bs[i] - pairs->meanB;
    pairs->aa += da * da, pairs->bb += db * db, pairs->ab += da * db;
  }
  return true;
}

// `f` of the pairs from argument `first`; fewer than `fewest` pairs is
// `tooFew`.
Value OfPairs(const BuiltinCall& c, size_t first, double fewest, int tooFew, const std::function<Value(const Pairs&)>& f) {
  Pairs pairs;
  Value error;
  if (!Paired(c, first, &pairs, &error)) return error;
  return pairs.n < fewest ? ErrorValue(tooFew) : f(pairs);
}

Value Ratio(double top, double bottom) { return bottom == 0 ? ErrorValue(xlerrDiv0) : FiniteNumber(top / bottom); }

// In SLOPE, INTERCEPT and the others of a line, the first range is the
// y's: the pairs hold it as as.
Value Correlation(const BuiltinCall& c, int empty) {
  return OfPairs(c, 0, 1, empty, [](const Pairs& p) { return Ratio(p.ab, std::sqrt(p.aa * p.bb)); });
}

Value SumOfPairs(const BuiltinCall& c, double (*term)(double, double)) {
  return OfPairs(c, 0, 0, xlerrNA, [term](const Pairs& p) {
    double sum = 0;
    for (size_t i = 0; i < p.as.size(); ++i) sum += term(p.as[i], p.bs[i]);
    return FiniteNumber(sum);
  });
}

}  // namespace

Value Correl(const BuiltinCall& c) { return Correlation(c, xlerrDiv0); }
Value Pearson(const BuiltinCall& c) { return Correlation(c, xlerrNA); }
Value Rsq(const BuiltinCall& c) {
  return OfPairs(c, 0, 1, xlerrNA, [](const Pairs& p) { return Ratio(p.ab * p.ab, p.aa * p.bb); });
}
// In SLOPE, INTERCEPT and the others of a line, a is the y's and b the
// x's.
Value Slope(const BuiltinCall& c) {
  return OfPairs(c, 0, 1, xlerrNA, [](const Pairs& p) { return Ratio(p.ab, p.bb); });
}
Value Intercept(const BuiltinCall& c) {
  return OfPairs(c, 0, 1, xlerrNA, [](const Pairs& p) {
    return p.bb == 0 ? ErrorValue(xlerrDiv0) : FiniteNumber(p.meanA - p.ab / p.bb * p.meanB);
  });
}
// STEYX: the standard error of the y's predicted by the line; fewer than
// three pairs is #DIV/0!.
Value Steyx(const BuiltinCall& c) {
  return OfPairs(c, 0, 3, xlerrDiv0, [](const Pairs& p) {
    return p.bb == 0 ? ErrorValue(xlerrDiv0) : FiniteNumber(std::sqrt((p.aa - p.ab * p.ab / p.bb) / (p.n - 2)));
  });
}
Value Forecast(const BuiltinCall& c) {
  double x = 0;
  Value error;
  if (!AsNumber(c.Scalar(0), &x, &error)) return error;
  return OfPairs(c, 1, 1, xlerrNA, [x](const Pairs& p) {
    if (p.bb == 0) return ErrorValue(xlerrDiv0);
    const double slope = p.ab / p.bb;
    return FiniteNumber(p.meanA - slope * p.meanB + slope * x);
  });
}
Value CovarianceP(const BuiltinCall& c) {
  return OfPairs(c, 0, 1, xlerrDiv0, [](const Pairs& p) { return FiniteNumber(p.ab / p.n); });
}
Value CovarianceS(const BuiltinCall& c) {
  return OfPairs(c, 0, 2, xlerrDiv0, [](const Pairs& p) { return FiniteNumber(p.ab / (p.n - 1)); });
}
Value SumX2MY2(const BuiltinCall& c) {
  return SumOfPairs(c, [](double x, double y) { return x * x - y * y; });
}
Value SumX2PY2(const BuiltinCall& c) {
  return SumOfPairs(c, [](double x, double y) { return x * x + y * y; });
}
Value SumXMY2(const BuiltinCall& c) {
  return SumOfPairs(c, [](double x, double y) { return (x - y) * (x - y); });
}

}  // namespace xllhost
