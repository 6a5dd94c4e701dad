// The built-ins of two ranges taken as pairs of numbers: CORREL, PEARSON,
// RSQ, SLOPE, INTERCEPT, STEYX, FORECAST (and FORECAST.LINEAR), COVAR (and
// COVARIANCE.P), COVARIANCE.S, SUMX2MY2, SUMX2PY2 and SUMXMY2. Ranges of
// different sizes are #N/A; a pair that is not two numbers is passed over.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Correl(const BuiltinCall& call);       // CORREL(array1, array2)
Value Pearson(const BuiltinCall& call);      // PEARSON(array1, array2)
Value Rsq(const BuiltinCall& call);          // RSQ(known_ys, known_xs)
Value Slope(const BuiltinCall& call);        // SLOPE(known_ys, known_xs)
Value Intercept(const BuiltinCall& call);    // INTERCEPT(known_ys, known_xs)
Value Steyx(const BuiltinCall& call);        // STEYX(known_ys, known_xs)
Value Forecast(const BuiltinCall& call);     // FORECAST(x, known_ys, known_xs)
Value CovarianceP(const BuiltinCall& call);  // COVAR and COVARIANCE.P(array1, array2)
Value CovarianceS(const BuiltinCall& call);  // COVARIANCE.S(array1, array2)
Value SumX2MY2(const BuiltinCall& call);
Value SumX2PY2(const BuiltinCall& call);
Value SumXMY2(const BuiltinCall& call);

}  // namespace xllhost
