#include "numerics/Distributions.h"

// GCC 12 at -O3 takes a variable of Boost's F quantile, set on every path,
// for one that may be used unset once inlined here.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <boost/math/distributions/beta.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/exponential.hpp>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/gamma.hpp>
#include <boost/math/distributions/lognormal.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/distributions/weibull.hpp>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#include <algorithm>
#include <cmath>
#include <type_traits>

#include "builtins/Operators.h"
#include "builtins/ScalarFunctions.h"  // NumericN
#include "numerics/MathPolicy.h"

namespace xllhost {
namespace {

using boost::math::complement;
using Normal = boost::math::normal_distribution<double, MathPolicy>;
using LogNormal = boost::math::lognormal_distribution<double, MathPolicy>;
using StudentsT = boost::math::students_t_distribution<double, MathPolicy>;
using ChiSquared = boost::math::chi_squared_distribution<double, MathPolicy>;
using FisherF = boost::math::fisher_f_distribution<double, MathPolicy>;

Value Bad() { return ErrorValue(xlerrNum); }

template <typename Distribution>
Value RightTail(const Distribution& d, double x) {
  return FiniteNumber(boost::math::cdf(complement(d, x)));
}

bool Within(double p, double low, double high) { return p >= low && p <= high; }
bool Open(double p) { return p > 0 && p < 1; }

// Degrees of freedom, taken whole, from 1 to below 10^10.
bool WholeDegrees(double* df) {
  *df = std::trunc(*df);
  return *df >= 1 && *df < 1e10;
}

// Of the t, chi-squared and F distributions: `f` given the distribution
// made of the degrees of freedom from argument `first` on (one or two), and
// the other arguments; bad degrees are #NUM!.
template <typename Distribution>
Value WithDegrees(const BuiltinCall& c, size_t count, size_t first, Value (*f)(const Distribution&, const double*)) {
  return NumericN(c, count, [=](const double* given) {
    double x[MostNumeric];
    std::copy(given, given + count, x);
    if (!WholeDegrees(&x[first])) return Bad();
    if constexpr (std::is_same_v<Distribution, FisherF>) {
      if (!WholeDegrees(&x[first + 1])) return Bad();
      return f(FisherF(x[first], x[first + 1]), x);
    } else {
      return f(Distribution(x[first]), x);
    }
  });
}

}  // namespace

Value NormDist(const BuiltinCall& c) {
  return NumericN(c, 4, [](const double* x) { return x[2] > 0 ? DistributionAt(Normal(x[1], x[2]), x[0], x[3]) : Bad(); });
}
Value NormSDist(const BuiltinCall& c) {
  return NumericN(c, 1, [](const double* x) { return DistributionAt(Normal(), x[0], 1); });
}
Value NormSDist2010(const BuiltinCall& c) {
  return NumericN(c, 2, [](const double* x) { return DistributionAt(Normal(), x[0], x[1]); });
}
Value NormInv(const BuiltinCall& c) {
  return NumericN(c, 3, [](const double* x) {
    return Open(x[0]) && x[2] > 0 ? FiniteNumber(quantile(Normal(x[1], x[2]), x[0])) : Bad();
  });
}
Value NormSInv(const BuiltinCall& c) {
  return NumericN(c, 1, [](const double* x) { return Open(x[0]) ? FiniteNumber(quantile(Normal(), x[0])) : Bad(); });
}
Value LogNormDist(const BuiltinCall& c) {
  return NumericN(c, 3, [](const double* x) { return x[0] > 0 && x[2] > 0 ? DistributionAt(LogNormal(x[1], x[2]), x[0], 1) : Bad(); });
}
Value LogNormDist2010(const BuiltinCall& c) {
  return NumericN(c, 4, [](const double* x) { return x[0] > 0 && x[2] > 0 ? DistributionAt(LogNormal(x[1], x[2]), x[0], x[3]) : Bad(); });
}
Value LogInv(const BuiltinCall& c) {
  return NumericN(c, 3, [](const double* x) {
    return Open(x[0]) && x[2] > 0 ? FiniteNumber(quantile(LogNormal(x[1], x[2]), x[0])) : Bad();
  });
}
Value ExponDist(const BuiltinCall& c) {
  return NumericN(c, 3, [](const double* x) {
    return x[0] >= 0 && x[1] > 0 ? DistributionAt(boost::math::exponential_distribution<double, MathPolicy>(x[1]), x[0], x[2]) : Bad();
  });
}
// GAMMADIST(x, alpha, beta, cumulative): alpha the shape, beta the scale.
Value GammaDist(const BuiltinCall& c) {
  return NumericN(c, 4, [](const double* x) {
    if (x[0] < 0 || !(x[1] > 0) || !(x[2] > 0)) return Bad();
    return DistributionAt(boost::math::gamma_distribution<double, MathPolicy>(x[1], x[2]), x[0], x[3]);
  });
}
Value GammaInv(const BuiltinCall& c) {
  return NumericN(c, 3, [](const double* x) {
    if (!Within(x[0], 0, 1) || !(x[1] > 0) || !(x[2] > 0)) return Bad();
    return FiniteNumber(quantile(boost::math::gamma_distribution<double, MathPolicy>(x[1], x[2]), x[0]));
  });
}

namespace {

// The beta distribution over [A, B] (0 and 1 when absent): x, alpha, beta,
// then A and B from argument `bounds` on.
Value Beta(const double* x, size_t bounds, double cumulative) {
  const double low = std::isnan(x[bounds]) ? 0 : x[bounds], high = std::isnan(x[bounds + 1]) ? 1 : x[bounds + 1];
  if (!(x[1] > 0) || !(x[2] > 0) || !(low < high) || x[0] < low || x[0] > high) return Bad();
  const boost::math::beta_distribution<double, MathPolicy> beta(x[1], x[2]);
  const double y = (x[0] - low) / (high - low);
  return FiniteNumber(cumulative != 0 ? boost::math::cdf(beta, y) : boost::math::pdf(beta, y) / (high - low));
}

}  // namespace

Value BetaDist(const BuiltinCall& c) {
  return NumericN(c, 5, [](const double* x) { return Beta(x, 3, 1); });
}
Value BetaDist2010(const BuiltinCall& c) {
  return NumericN(c, 6, [](const double* x) { return Beta(x, 4, x[3]); });
}
Value BetaInv(const BuiltinCall& c) {
  return NumericN(c, 5, [](const double* x) {
    const double low = std::isnan(x[3]) ? 0 : x[3], high = std::isnan(x[4]) ? 1 : x[4];
    if (!(x[0] > 0 && x[0] <= 1) || !(x[1] > 0) || !(x[2] > 0) || !(low < high)) return Bad();
    return FiniteNumber(low + (high - low) * quantile(boost::math::beta_distribution<double, MathPolicy>(x[1], x[2]), x[0]));
  });
}
// WEIBULL(x, alpha, beta, cumulative): alpha the shape, beta the scale.
Value Weibull(const BuiltinCall& c) {
  return NumericN(c, 4, [](const double* x) {
    if (x[0] < 0 || !(x[1] > 0) || !(x[2] > 0)) return Bad();
    return DistributionAt(boost::math::weibull_distribution<double, MathPolicy>(x[1], x[2]), x[0], x[3]);
  });
}

Value TDist(const BuiltinCall& c) {
  return WithDegrees<StudentsT>(c, 3, 1, [](const StudentsT& t, const double* x) {
    const double tails = std::trunc(x[2]);
    if (x[0] < 0 || (tails != 1 && tails != 2)) return Bad();
    return FiniteNumber(tails * boost::math::cdf(complement(t, x[0])));
  });
}
Value TDist2010(const BuiltinCall& c) {
  return WithDegrees<StudentsT>(c, 3, 1, [](const StudentsT& t, const double* x) { return DistributionAt(t, x[0], x[2]); });
}
Value TDist2T(const BuiltinCall& c) {
  return WithDegrees<StudentsT>(c, 2, 1, [](const StudentsT& t, const double* x) {
    return x[0] < 0 ? Bad() : FiniteNumber(2 * boost::math::cdf(complement(t, x[0])));
  });
}
Value TDistRT(const BuiltinCall& c) {
  return WithDegrees<StudentsT>(c, 2, 1, [](const StudentsT& t, const double* x) { return RightTail(t, x[0]); });
}
Value TInv2T(const BuiltinCall& c) {
  return WithDegrees<StudentsT>(c, 2, 1, [](const StudentsT& t, const double* x) {
    return x[0] > 0 && x[0] <= 1 ? FiniteNumber(quantile(complement(t, x[0] / 2))) : Bad();
  });
}
Value TInv(const BuiltinCall& c) {
  return WithDegrees<StudentsT>(c, 2, 1, [](const StudentsT& t, const double* x) {
    return Open(x[0]) ? FiniteNumber(quantile(t, x[0])) : Bad();
  });
}
Value ChiDist(const BuiltinCall& c) {
  return WithDegrees<ChiSquared>(c, 2, 1, [](const ChiSquared& chi, const double* x) {
    return x[0] < 0 ? Bad() : RightTail(chi, x[0]);
  });
}
Value ChiSqDist(const BuiltinCall& c) {
  return WithDegrees<ChiSquared>(c, 3, 1, [](const ChiSquared& chi, const double* x) {
    return x[0] < 0 ? Bad() : DistributionAt(chi, x[0], x[2]);
  });
}
Value ChiInv(const BuiltinCall& c) {
  return WithDegrees<ChiSquared>(c, 2, 1, [](const ChiSquared& chi, const double* x) {
    return Within(x[0], 0, 1) ? FiniteNumber(quantile(complement(chi, x[0]))) : Bad();
  });
}
Value ChiSqInv(const BuiltinCall& c) {
  return WithDegrees<ChiSquared>(c, 2, 1, [](const ChiSquared& chi, const double* x) {
    return Within(x[0], 0, 1) ? FiniteNumber(quantile(chi, x[0])) : Bad();
  });
}
Value FDist(const BuiltinCall& c) {
  return WithDegrees<FisherF>(c, 3, 1, [](const FisherF& f, const double* x) { return x[0] < 0 ? Bad() : RightTail(f, x[0]); });
}
Value FDist2010(const BuiltinCall& c) {
  return WithDegrees<FisherF>(c, 4, 1, [](const FisherF& f, const double* x) { return x[0] < 0 ? Bad() : DistributionAt(f, x[0], x[3]); });
}
Value FInv(const BuiltinCall& c) {
  return WithDegrees<FisherF>(c, 3, 1, [](const FisherF& f, const double* x) {
    return Within(x[0], 0, 1) ? FiniteNumber(quantile(complement(f, x[0]))) : Bad();
  });
}
Value FInvLeft(const BuiltinCall& c) {
  return WithDegrees<FisherF>(c, 3, 1, [](const FisherF& f, const double* x) {
    return Within(x[0], 0, 1) ? FiniteNumber(quantile(f, x[0])) : Bad();
  });
}

}  // namespace xllhost
