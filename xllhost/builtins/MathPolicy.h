// How xllhost calls Boost.Math: a fault of the domain, a pole, an overflow
// or a series that does not settle answers NaN (or infinity), which the
// built-in then shows as #NUM!, instead of throwing.
#pragma once

#include <boost/math/policies/policy.hpp>

namespace xllhost {

using MathPolicy = boost::math::policies::policy<
    boost::math::policies::domain_error<boost::math::policies::ignore_error>,
    boost::math::policies::pole_error<boost::math::policies::ignore_error>,
    boost::math::policies::overflow_error<boost::math::policies::ignore_error>,
    boost::math::policies::evaluation_error<boost::math::policies::ignore_error>>;

}  // namespace xllhost
