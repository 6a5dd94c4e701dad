// How xllhost calls Boost.Math: a fault of the domain, a pole, an overflow
// or a series that does not settle answers NaN (or infinity), which the
// built-in then shows as #NUM!, instead of throwing; and a distribution's
// value as the functions with a "cumulative" argument answer it.
#pragma once

#include <boost/math/policies/policy.hpp>

#include "builtins/Operators.h"  // FiniteNumber

namespace xllhost {

using MathPolicy = boost::math::policies::policy<
    boost::math::policies::domain_error<boost::math::policies::ignore_error>,
    boost::math::policies::pole_error<boost::math::policies::ignore_error>,
    boost::math::policies::overflow_error<boost::math::policies::ignore_error>,
    boost::math::policies::evaluation_error<boost::math::policies::ignore_error>>;

// A distribution's function at x, or with `cumulative` 0 its density (of a
// discrete one, the probability of x itself).
template <typename Distribution>
Value DistributionAt(const Distribution& d, double x, double cumulative) {
  return FiniteNumber(cumulative != 0 ? cdf(d, x) : pdf(d, x));
}

}  // namespace xllhost
