// The built-ins of order over a range's numbers: PERCENTILE and QUARTILE
// with their .INC and .EXC forms, PERCENTRANK and PERCENTRANK.INC, RANK
// with RANK.EQ and RANK.AVG, TRIMMEAN, FREQUENCY and PROB.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value PercentileInc(const BuiltinCall& call);  // PERCENTILE and PERCENTILE.INC(array, k)
Value PercentileExc(const BuiltinCall& call);  // PERCENTILE.EXC(array, k)
Value QuartileInc(const BuiltinCall& call);    // QUARTILE and QUARTILE.INC(array, quart)
Value QuartileExc(const BuiltinCall& call);    // QUARTILE.EXC(array, quart)
Value RankEq(const BuiltinCall& call);         // RANK and RANK.EQ(number, ref, [order])
Value RankAvg(const BuiltinCall& call);        // RANK.AVG(number, ref, [order])
Value TrimMean(const BuiltinCall& call);       // TRIMMEAN(array, percent)
Value PercentRankInc(const BuiltinCall& call);
Value Frequency(const BuiltinCall& call);  // FREQUENCY(data, bins): a column of counts
Value Prob(const BuiltinCall& call);       // PROB(x_range, prob_range, lower, [upper])  // PERCENTRANK and PERCENTRANK.INC(array, x, [significance])

}  // namespace xllhost
