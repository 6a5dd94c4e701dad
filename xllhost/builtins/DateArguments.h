// A date argument: a serial number of Excel's 1900 date system, or a date
// or a time of day written as text, which Excel reads as it reads one typed
// in a cell of the en-US locale.
#pragma once

#include <functional>
#include <string>

#include "builtins/BuiltinCall.h"

namespace xllhost {

// A text read as a date and a time: the date's serial (0 without a date)
// plus the time of day (a fraction). The forms read are month/day/year and
// year/month/day with / or -, day-month name-year, month name day, year,
// each with a year of four digits or two (00 to 29 are 2000 to 2029), and
// h:mm or h:mm:ss, with AM or PM or without, alone or after the date.
// NotADate: no date or time Excel reads (none of those digits, or a day
// that is not); Unread: a form that may be one, which xllhost does not
// read (a date without its year takes the current year's).
enum class DateText { Read, NotADate, Unread };
DateText ReadDateText(const std::string& text, double* serial, bool* hasDate, bool* hasTime);

// A date argument as a serial number. A text that may be a date xllhost
// does not read leaves the cell uncalculated.
bool AsSerial(const BuiltinCall& call, const Value& value, double* serial, Value* error);
// A function of the serial number argument `i` is, element by element; a
// serial below 0 or past 9999 is #NUM!.
Value OfSerial(const BuiltinCall& call, size_t i, const std::function<Value(double)>& f);

}  // namespace xllhost
