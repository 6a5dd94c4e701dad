#include "numerics/DiscreteDistributions.h"

#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/hypergeometric.hpp>
#include <boost/math/distributions/negative_binomial.hpp>
#include <boost/math/distributions/poisson.hpp>
#include <algorithm>
#include <cmath>

#include "builtins/Operators.h"
#include "builtins/ScalarFunctions.h"  // NumericN
#include "numerics/MathPolicy.h"

namespace xllhost {
namespace {

using Binomial = boost::math::binomial_distribution<double, MathPolicy>;

// HYPGEOMDIST's domain, as Microsoft's help gives it: a sample of `sample`
// from `population`, `populationS` of them successes, `sampleS` of those
// in the sample.
Value HypGeom(const double* x, double cumulative) {
  const double sampleS = std::trunc(x[0]), sample = std::trunc(x[1]), populationS = std::trunc(x[2]),
               population = std::trunc(x[3]);
  if (sampleS < 0 || sampleS > std::min(sample, populationS) || sampleS < std::max(0.0, sample - population + populationS) ||
      sample <= 0 || sample > population || populationS <= 0 || populationS > population ||
      population > 4294967295.0)  // Boost.Math counts in unsigned integers
    return ErrorValue(xlerrNum);
  const boost::math::hypergeometric_distribution<double, MathPolicy> d(static_cast<unsigned>(populationS),
                                                                       static_cast<unsigned>(sample),
                                                                       static_cast<unsigned>(population));
  return DistributionAt(d, sampleS, cumulative);
}

Value NegBinom(const double* x, double cumulative) {
  const double failures = std::trunc(x[0]), successes = std::trunc(x[1]);
  if (failures < 0 || successes < 1 || !(x[2] >= 0 && x[2] <= 1)) return ErrorValue(xlerrNum);
  return DistributionAt(boost::math::negative_binomial_distribution<double, MathPolicy>(successes, x[2]), failures, cumulative);
}

}  // namespace

Value BinomDist(const BuiltinCall& c) {
  return NumericN(c, 4, [](const double* x) {
    const double k = std::trunc(x[0]), n = std::trunc(x[1]);
    if (k < 0 || k > n || !(x[2] >= 0 && x[2] <= 1)) return ErrorValue(xlerrNum);
    return DistributionAt(Binomial(n, x[2]), k, x[3]);
  });
}
// CRITBINOM: the fewest successes whose distribution function reaches
// alpha, by bisection over the whole counts.
Value CritBinom(const BuiltinCall& c) {
  return NumericN(c, 3, [](const double* x) {
    const double n = std::trunc(x[0]), p = x[1], alpha = x[2];
    if (n < 0 || !(p >= 0 && p <= 1) || !(alpha >= 0 && alpha <= 1)) return ErrorValue(xlerrNum);
    const Binomial d(n, p);
    double low = 0, high = n;
    while (low < high) {
      const double middle = std::floor((low + high) / 2);
      if (boost::math::cdf(d, middle) >= alpha) high = middle;
      else low = middle + 1;
    }
    return NumberValue(low);
  });
}
Value Poisson(const BuiltinCall& c) {
  return NumericN(c, 3, [](const double* x) {
    const double k = std::trunc(x[0]), mean = x[1];
    if (k < 0 || !(mean >= 0)) return ErrorValue(xlerrNum);
    if (mean == 0) return NumberValue(x[2] != 0 || k == 0 ? 1 : 0);  // every count is 0
    return DistributionAt(boost::math::poisson_distribution<double, MathPolicy>(mean), k, x[2]);
  });
}
Value HypGeomDist(const BuiltinCall& c) {
  return NumericN(c, 4, [](const double* x) { return HypGeom(x, 0); });
}
Value HypGeomDist2010(const BuiltinCall& c) {
  return NumericN(c, 5, [](const double* x) { return HypGeom(x, x[4]); });
}
Value NegBinomDist(const BuiltinCall& c) {
  return NumericN(c, 3, [](const double* x) { return NegBinom(x, 0); });
}
Value NegBinomDist2010(const BuiltinCall& c) {
  return NumericN(c, 4, [](const double* x) { return NegBinom(x, x[3]); });
}

}  // namespace xllhost
