// The discrete distributions, each taken element by element over arrays,
// through Boost.Math: binomial, Poisson, hypergeometric and negative
// binomial, in Excel's older names and those of Excel 2010. Counts are taken
// whole; a "cumulative" argument picks the distribution function (TRUE) or
// the probability of the count itself (FALSE).
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value BinomDist(const BuiltinCall& call);     // BINOMDIST and BINOM.DIST(successes, trials, p, cumulative)
Value CritBinom(const BuiltinCall& call);     // CRITBINOM and BINOM.INV(trials, p, alpha)
Value Poisson(const BuiltinCall& call);       // POISSON and POISSON.DIST(x, mean, cumulative)
Value HypGeomDist(const BuiltinCall& call);   // HYPGEOMDIST(sample_s, sample, population_s, population)
Value HypGeomDist2010(const BuiltinCall& call);  // HYPGEOM.DIST(..., cumulative)
Value NegBinomDist(const BuiltinCall& call);  // NEGBINOMDIST(failures, successes, p)
Value NegBinomDist2010(const BuiltinCall& call);  // NEGBINOM.DIST(..., cumulative)

}  // namespace xllhost
