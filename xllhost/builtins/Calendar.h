// Excel's 1900 date system. Serial 1 is 1 January 1900; Excel counts 29
// February 1900, which never was, as serial 60, as Lotus 1-2-3 did, so
// serials from 61 on are one day behind a count from 31 December 1899, and
// its weekdays run on through that day.
#pragma once

namespace xllhost {

constexpr long long FirstOfMarch1900 = 61;
constexpr double LastSerial = 2958465;  // 31 December 9999

// The months' names in English, January first: what TEXT writes for mmmm
// and a date written as text is read with.
extern const char* const MonthNames[12];

// Days from 1 January 1970 to a date of the proleptic Gregorian calendar,
// and back.
long long DaysFromCivil(long long y, long long m, long long d);
void CivilFromDays(long long z, long long* y, long long* m, long long* d);
// The year, month and day of a serial number, serial 0 being 0 January
// 1900; false below 0 or past 9999.
bool Civil(double serial, long long* y, long long* m, long long* d);
// The serial of a date from 1 March 1900 on.
long long SerialFromCivil(long long y, long long m, long long d);
// The serial of any date from 1 January 1900, 29 February 1900 included;
// -1 for a day its month does not have, or a year before 1900 or past 9999.
long long SerialOfDate(long long y, long long m, long long d);

}  // namespace xllhost
