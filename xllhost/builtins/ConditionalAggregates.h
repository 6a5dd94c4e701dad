// The aggregates of the cells that meet criteria, each a value, or a text
// of an operator and an operand, with wildcards (Criteria.h): COUNTIF,
// SUMIF and AVERAGEIF of one range and criterion; COUNTIFS, SUMIFS,
// AVERAGEIFS, MAXIFS and MINIFS of pairs of ranges and criteria, which a
// cell meets in the same place of every range.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value CountIf(const BuiltinCall& call);    // COUNTIF(range, criterion)
Value SumIf(const BuiltinCall& call);      // SUMIF(range, criterion, [sum_range])
Value AverageIf(const BuiltinCall& call);  // AVERAGEIF(range, criterion, [average_range])
Value CountIfs(const BuiltinCall& call);   // COUNTIFS(range1, criterion1, ...)
Value SumIfs(const BuiltinCall& call);     // SUMIFS(sum_range, range1, criterion1, ...)
Value AverageIfs(const BuiltinCall& call);
Value MaxIfs(const BuiltinCall& call);  // MAXIFS(max_range, criteria_range1, criterion1, ...); of none, 0
Value MinIfs(const BuiltinCall& call);

}  // namespace xllhost
