#include "numerics/GammaAndErf.h"

#include <boost/math/distributions/normal.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>

#include "builtins/Operators.h"
#include "builtins/ScalarFunctions.h"  // Numeric, NumericN
#include "numerics/MathPolicy.h"

namespace xllhost {
namespace {

using StandardNormal = boost::math::normal_distribution<double, MathPolicy>;

}  // namespace

// GAMMA of 0 or a whole number below it is a pole: #NUM!.
Value Gamma(const BuiltinCall& c) {
  return Numeric(c, 0, [](double x) {
    if (x <= 0 && x == std::floor(x)) return ErrorValue(xlerrNum);
    return FiniteNumber(boost::math::tgamma(x, MathPolicy()));
  });
}
Value GammaLn(const BuiltinCall& c) {
  return Numeric(c, 0, [](double x) { return x > 0 ? FiniteNumber(boost::math::lgamma(x, MathPolicy())) : ErrorValue(xlerrNum); });
}
// ERF(lower, [upper]): the error function from lower to upper, or from 0.
// Excel 2010 and later take limits below 0, as Microsoft's help says.
Value Erf(const BuiltinCall& c) {
  return NumericN(c, 2, [](const double* x) {
    const double lower = boost::math::erf(x[0], MathPolicy());
    return FiniteNumber(std::isnan(x[1]) ? lower : boost::math::erf(x[1], MathPolicy()) - lower);
  });
}
Value Erfc(const BuiltinCall& c) {
  return Numeric(c, 0, [](double x) { return FiniteNumber(boost::math::erfc(x, MathPolicy())); });
}
Value Fisher(const BuiltinCall& c) {
  return Numeric(c, 0, [](double x) { return x > -1 && x < 1 ? FiniteNumber(std::atanh(x)) : ErrorValue(xlerrNum); });
}
Value FisherInv(const BuiltinCall& c) {
  return Numeric(c, 0, [](double y) { return FiniteNumber(std::tanh(y)); });
}
Value Phi(const BuiltinCall& c) {
  return Numeric(c, 0, [](double x) { return FiniteNumber(boost::math::pdf(StandardNormal(), x)); });
}
Value Gauss(const BuiltinCall& c) {
  return Numeric(c, 0, [](double x) { return FiniteNumber(boost::math::cdf(StandardNormal(), x) - 0.5); });
}
Value Standardize(const BuiltinCall& c) {
  return NumericN(c, 3, [](const double* x) { return x[2] > 0 ? FiniteNumber((x[0] - x[1]) / x[2]) : ErrorValue(xlerrNum); });
}
// CONFIDENCE: half the width of the interval that holds a population's
// mean with probability 1 - alpha, for a sample of `size`, taken whole.
Value Confidence(const BuiltinCall& c) {
  return NumericN(c, 3, [](const double* x) {
    const double alpha = x[0], sd = x[1], size = std::trunc(x[2]);
    if (!(alpha > 0 && alpha < 1) || !(sd > 0) || size < 1) return ErrorValue(xlerrNum);
    const double z = boost::math::quantile(boost::math::complement(StandardNormal(), alpha / 2));
    return FiniteNumber(z * sd / std::sqrt(size));
  });
}

}  // namespace xllhost
