// The built-ins of dates and times, as serial numbers of Excel's 1900 date
// system, whose whole part counts days and whose fraction is the time of
// day: DATE, YEAR, MONTH, DAY, EDATE, EOMONTH, WEEKDAY, TIME, HOUR, MINUTE,
// SECOND. A date or time written as text is left uncalculated: xllhost
// does not read Excel's date formats.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Date(const BuiltinCall& call);
Value Year(const BuiltinCall& call);
Value Month(const BuiltinCall& call);
Value Day(const BuiltinCall& call);
Value EDate(const BuiltinCall& call);    // EDATE(start, months)
Value EoMonth(const BuiltinCall& call);  // EOMONTH(start, months)
Value Weekday(const BuiltinCall& call);  // WEEKDAY(serial, [return_type])
Value Time(const BuiltinCall& call);     // TIME(hour, minute, second)
Value Hour(const BuiltinCall& call);
Value Minute(const BuiltinCall& call);
Value Second(const BuiltinCall& call);

}  // namespace xllhost
