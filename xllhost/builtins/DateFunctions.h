// The built-ins of dates and times, as serial numbers of Excel's 1900 date
// system, whose whole part counts days and whose fraction is the time of
// day: DATE, YEAR, MONTH, DAY, EDATE, EOMONTH, WEEKDAY, TIME, HOUR, MINUTE,
// SECOND, DATEVALUE, TIMEVALUE. A date or time written as text is read as
// DateArguments.h says.
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
Value DateValue(const BuiltinCall& call);  // the date a text writes; its time is passed over
Value TimeValue(const BuiltinCall& call);  // the time of day a text writes; 0 for a date alone

}  // namespace xllhost
