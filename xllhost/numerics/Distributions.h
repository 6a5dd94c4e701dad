// The continuous distributions, each taken element by element over arrays,
// through Boost.Math: the normal, log-normal, exponential, gamma, beta and
// Weibull distributions, and Student's t, chi-squared and F, in Excel's
// older names (NORMDIST, TDIST, ...) and those of Excel 2010 (NORM.DIST,
// T.DIST, ...). A "cumulative" argument picks the distribution function
// (TRUE) or the density (FALSE); the older names of t, chi-squared and F
// answer the right tail. Degrees of freedom are taken whole.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value NormDist(const BuiltinCall& call);     // NORMDIST and NORM.DIST(x, mean, sd, cumulative)
Value NormSDist(const BuiltinCall& call);    // NORMSDIST(z)
Value NormSDist2010(const BuiltinCall& call);  // NORM.S.DIST(z, cumulative)
Value NormInv(const BuiltinCall& call);      // NORMINV and NORM.INV(p, mean, sd)
Value NormSInv(const BuiltinCall& call);     // NORMSINV and NORM.S.INV(p)
Value LogNormDist(const BuiltinCall& call);  // LOGNORMDIST(x, mean, sd)
Value LogNormDist2010(const BuiltinCall& call);  // LOGNORM.DIST(x, mean, sd, cumulative)
Value LogInv(const BuiltinCall& call);       // LOGINV and LOGNORM.INV(p, mean, sd)
Value ExponDist(const BuiltinCall& call);    // EXPONDIST and EXPON.DIST(x, lambda, cumulative)
Value GammaDist(const BuiltinCall& call);    // GAMMADIST and GAMMA.DIST(x, alpha, beta, cumulative)
Value GammaInv(const BuiltinCall& call);     // GAMMAINV and GAMMA.INV(p, alpha, beta)
Value BetaDist(const BuiltinCall& call);     // BETADIST(x, alpha, beta, [A], [B])
Value BetaDist2010(const BuiltinCall& call);  // BETA.DIST(x, alpha, beta, cumulative, [A], [B])
Value BetaInv(const BuiltinCall& call);      // BETAINV and BETA.INV(p, alpha, beta, [A], [B])
Value Weibull(const BuiltinCall& call);      // WEIBULL and WEIBULL.DIST(x, alpha, beta, cumulative)
Value TDist(const BuiltinCall& call);        // TDIST(x, df, tails)
Value TDist2010(const BuiltinCall& call);    // T.DIST(x, df, cumulative), the left tail
Value TDist2T(const BuiltinCall& call);      // T.DIST.2T(x, df)
Value TDistRT(const BuiltinCall& call);      // T.DIST.RT(x, df)
Value TInv2T(const BuiltinCall& call);       // TINV and T.INV.2T(p, df): two-tailed
Value TInv(const BuiltinCall& call);         // T.INV(p, df): the left tail
Value ChiDist(const BuiltinCall& call);      // CHIDIST and CHISQ.DIST.RT(x, df)
Value ChiSqDist(const BuiltinCall& call);    // CHISQ.DIST(x, df, cumulative)
Value ChiInv(const BuiltinCall& call);       // CHIINV and CHISQ.INV.RT(p, df)
Value ChiSqInv(const BuiltinCall& call);     // CHISQ.INV(p, df)
Value FDist(const BuiltinCall& call);        // FDIST and F.DIST.RT(x, df1, df2)
Value FDist2010(const BuiltinCall& call);    // F.DIST(x, df1, df2, cumulative)
Value FInv(const BuiltinCall& call);         // FINV and F.INV.RT(p, df1, df2)
Value FInvLeft(const BuiltinCall& call);     // F.INV(p, df1, df2)

}  // namespace xllhost
