// The built-ins of working days: NETWORKDAYS and WORKDAY, with Saturday
// and Sunday the weekend, and their .INTL forms, whose weekend is a number
// (1 to 7 two days, 11 to 17 one) or a text of seven 0s and 1s from
// Monday. Holidays are a range or an array of dates.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value NetworkDays(const BuiltinCall& call);      // NETWORKDAYS(start, end, [holidays])
Value NetworkDaysIntl(const BuiltinCall& call);  // NETWORKDAYS.INTL(start, end, [weekend], [holidays])
Value WorkDay(const BuiltinCall& call);          // WORKDAY(start, days, [holidays])
Value WorkDayIntl(const BuiltinCall& call);      // WORKDAY.INTL(start, days, [weekend], [holidays])

}  // namespace xllhost
