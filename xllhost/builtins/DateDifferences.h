// The built-ins that count between dates, or place a date in its year:
// DAYS, DAYS360, DATEDIF, YEARFRAC, WEEKNUM and ISOWEEKNUM. Each takes
// its arguments element by element over arrays.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Days(const BuiltinCall& call);        // DAYS(end, start)
Value Days360(const BuiltinCall& call);     // DAYS360(start, end, [european])
Value DateDif(const BuiltinCall& call);     // DATEDIF(start, end, unit)
Value YearFrac(const BuiltinCall& call);    // YEARFRAC(start, end, [basis])
Value WeekNum(const BuiltinCall& call);     // WEEKNUM(serial, [return_type])
Value IsoWeekNum(const BuiltinCall& call);  // ISOWEEKNUM(serial)

}  // namespace xllhost
