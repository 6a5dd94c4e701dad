#include "builtins/DateFunctions.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "builtins/Calendar.h"
#include "builtins/DateArguments.h"
#include "builtins/Operators.h"

namespace xllhost {
namespace {

Value Part(const BuiltinCall& c, int part) {
  return OfSerial(c, 0, [part](double serial) {
    long long y = 0, m = 0, d = 0;
    Civil(serial, &y, &m, &d);
    return NumberValue(static_cast<double>(part == 0 ? y : part == 1 ? m : d));
  });
}

// The hour, minute or second of the time of day, to the nearest second, as
// Excel shows a time.
Value TimePart(const BuiltinCall& c, long long unit, long long per) {
  return OfSerial(c, 0, [=](double serial) {
    const auto seconds = static_cast<long long>(std::llround(serial * 86400)) % 86400;
    return NumberValue(static_cast<double>(seconds / unit % per));
  });
}

// EDATE and EOMONTH: the date whole months from the start date, on its day
// (or the month's last, when it has fewer days) or on the month's last.
// Dates before March 1900, where Excel's calendar holds its 29 February,
// are left uncalculated: Microsoft's help does not say how they move.
Value MonthsOn(const BuiltinCall& c, bool endOfMonth) {
  double months = 0;
  Value error;
  if (!AsNumber(c.Scalar(1), &months, &error)) return error;
  months = std::trunc(months);
  if (std::fabs(months) > 1e6) return ErrorValue(xlerrNum);
  return OfSerial(c, 0, [&](double serial) {
    long long y = 0, m = 0, d = 0;
    Civil(serial, &y, &m, &d);
    const long long total = y * 12 + m - 1 + static_cast<long long>(months);
    const long long year = total >= 0 ? total / 12 : (total - 11) / 12, month = total - year * 12 + 1;
    const long long days = DaysFromCivil(year + month / 12, month % 12 + 1, 1) - DaysFromCivil(year, month, 1);
    const long long moved = DaysFromCivil(year, month, endOfMonth ? days : std::min(d, days)) - DaysFromCivil(1899, 12, 30);
    if (year < 1900 || moved > LastSerial) return ErrorValue(xlerrNum);
    if (serial < FirstOfMarch1900 || moved < FirstOfMarch1900)
      return c.NotCalculated("EDATE or EOMONTH before March 1900");
    return NumberValue(static_cast<double>(moved));
  });
}

}  // namespace

// DATE(year, month, day): a year below 1900 counts from 1900; months and
// days beyond their range carry over.
Value Date(const BuiltinCall& c) {
  double parts[3];
  Value error;
  for (size_t i = 0; i < 3; ++i) {
    if (!AsNumber(c.Scalar(i), &parts[i], &error)) return error;
    parts[i] = std::trunc(parts[i]);
  }
  double year = parts[0];
  if (year >= 0 && year < 1900) year += 1900;
  if (year < 0 || year >= 10000 || std::fabs(parts[1]) > 1e6 || std::fabs(parts[2]) > 1e8) return ErrorValue(xlerrNum);
  const long long months = static_cast<long long>(year) * 12 + static_cast<long long>(parts[1]) - 1;
  const long long y = months >= 0 ? months / 12 : (months - 11) / 12;
  const long long days = DaysFromCivil(y, months - y * 12 + 1, 1) + static_cast<long long>(parts[2]) - 1;
  long long serial = days - DaysFromCivil(1899, 12, 30);
  if (serial < FirstOfMarch1900) --serial;
  if (serial < 0 || serial > LastSerial) return ErrorValue(xlerrNum);
  return NumberValue(static_cast<double>(serial));
}
Value Year(const BuiltinCall& c) { return Part(c, 0); }
Value Month(const BuiltinCall& c) { return Part(c, 1); }
Value Day(const BuiltinCall& c) { return Part(c, 2); }
Value EDate(const BuiltinCall& c) { return MonthsOn(c, false); }
Value EoMonth(const BuiltinCall& c) { return MonthsOn(c, true); }

// WEEKDAY's return types: 1 counts Sunday 1 to Saturday 7, 2 Monday 1 to
// Sunday 7, 3 Monday 0 to Sunday 6, and 11 to 17 from 1 on Monday to
// Sunday. Serial 0 is a Saturday; Excel's weeks run on through its 29
// February 1900, so the days before it fall one weekday off the calendar.
Value Weekday(const BuiltinCall& c) {
  double type = 1;
  Value error;
  if (c.Given(1) && !AsNumber(c.Scalar(1), &type, &error)) return error;
  type = std::trunc(type);
  if (!(type >= 1 && type <= 3) && !(type >= 11 && type <= 17)) return ErrorValue(xlerrNum);
  return OfSerial(c, 0, [type](double serial) {
    const long long monday0 = (static_cast<long long>(serial) + 5) % 7;  // Monday 0 to Sunday 6
    if (type == 1) return NumberValue(static_cast<double>((monday0 + 1) % 7 + 1));
    if (type == 2) return NumberValue(static_cast<double>(monday0 + 1));
    if (type == 3) return NumberValue(static_cast<double>(monday0));
    const auto start = static_cast<long long>(type) - 11;  // the week's first day, Monday 0
    return NumberValue(static_cast<double>((monday0 - start + 7) % 7 + 1));
  });
}

// TIME(hour, minute, second): each taken whole and at most 32,767; the
// seconds they add up to, less whole days, as a fraction of a day. Fewer
// than none is #NUM!.
Value Time(const BuiltinCall& c) {
  double parts[3];
  Value error;
  for (size_t i = 0; i < 3; ++i) {
    if (!AsNumber(c.Scalar(i), &parts[i], &error)) return error;
    parts[i] = std::trunc(parts[i]);
    if (parts[i] > 32767) return ErrorValue(xlerrNum);
  }
  const double seconds = parts[0] * 3600 + parts[1] * 60 + parts[2];
  if (seconds < 0) return ErrorValue(xlerrNum);
  return NumberValue(std::fmod(seconds, 86400) / 86400);
}
Value Hour(const BuiltinCall& c) { return TimePart(c, 3600, 24); }
Value Minute(const BuiltinCall& c) { return TimePart(c, 60, 60); }
Value Second(const BuiltinCall& c) { return TimePart(c, 1, 60); }

namespace {

// DATEVALUE and TIMEVALUE take a text only, each element by element:
// `f` is given the serial it writes, and whether it writes a date.
Value OfDateText(const BuiltinCall& c, const char* function, const std::function<Value(double, bool)>& f) {
  return ElementWise({c.Scalar(0)}, [&](const std::vector<Value>& v) {
    double serial = 0;
    bool hasDate = false, hasTime = false;
    if (v[0].Is(xltypeErr)) return v[0];
    if (!v[0].Is(xltypeStr)) return ErrorValue(xlerrValue);
    const DateText read = ReadDateText(v[0].text, &serial, &hasDate, &hasTime);
    if (read == DateText::NotADate) return ErrorValue(xlerrValue);
    if (read == DateText::Unread) return c.NotCalculated(std::string(function) + " of a form xllhost does not read");
    return f(serial, hasDate);
  });
}

}  // namespace

Value DateValue(const BuiltinCall& c) {
  return OfDateText(c, "DATEVALUE", [&](double serial, bool hasDate) {
    return hasDate ? NumberValue(std::floor(serial)) : c.NotCalculated("DATEVALUE of a time alone");
  });
}
Value TimeValue(const BuiltinCall& c) {
  return OfDateText(c, "TIMEVALUE", [](double serial, bool) { return NumberValue(serial - std::floor(serial)); });
}

}  // namespace xllhost
