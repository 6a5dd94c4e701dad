// The statistical built-ins over any number of arguments, each a value, a
// reference or an array, whose numbers they take as SUM does: STDEV, STDEVP,
// VAR, VARP and their A forms, DEVSQ, AVEDEV, SUMSQ, GEOMEAN, HARMEAN,
// MEDIAN, MODE, SKEW, SKEW.P, KURT, LARGE and SMALL.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value StDev(const BuiltinCall& call);   // of a sample
Value StDevP(const BuiltinCall& call);  // of a whole population
Value Var(const BuiltinCall& call);
Value VarP(const BuiltinCall& call);
// The A forms take a range's Booleans as 1 and 0 and its texts as 0.
Value StDevA(const BuiltinCall& call);
Value StDevPA(const BuiltinCall& call);
Value VarA(const BuiltinCall& call);
Value VarPA(const BuiltinCall& call);
Value DevSq(const BuiltinCall& call);
Value AveDev(const BuiltinCall& call);
Value SumSq(const BuiltinCall& call);
Value GeoMean(const BuiltinCall& call);
Value HarMean(const BuiltinCall& call);
Value Median(const BuiltinCall& call);
Value Mode(const BuiltinCall& call);
Value Skew(const BuiltinCall& call);
Value SkewP(const BuiltinCall& call);
Value Kurt(const BuiltinCall& call);
Value Large(const BuiltinCall& call);  // LARGE(array, k): the k-th largest
Value Small(const BuiltinCall& call);

}  // namespace xllhost
