// The gamma and error functions, and the statistics of the normal
// distribution, each taken element by element over arrays, through
// Boost.Math: GAMMA, GAMMALN (and GAMMALN.PRECISE), ERF, ERFC (and their
// .PRECISE forms), FISHER, FISHERINV, PHI, GAUSS, STANDARDIZE and
// CONFIDENCE (and CONFIDENCE.NORM).
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Gamma(const BuiltinCall& call);
Value GammaLn(const BuiltinCall& call);
Value Erf(const BuiltinCall& call);   // ERF(lower, [upper]); ERF.PRECISE(x)
Value Erfc(const BuiltinCall& call);
Value Fisher(const BuiltinCall& call);
Value FisherInv(const BuiltinCall& call);
Value Phi(const BuiltinCall& call);    // the standard normal density
Value Gauss(const BuiltinCall& call);  // the standard normal distribution less a half
Value Standardize(const BuiltinCall& call);  // STANDARDIZE(x, mean, sd)
Value Confidence(const BuiltinCall& call);   // CONFIDENCE(alpha, sd, size)

}  // namespace xllhost
