#include "builtins/WorkingDays.h"

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "builtins/Calendar.h"
#include "builtins/DateArguments.h"
#include "builtins/Operators.h"

namespace xllhost {
namespace {

// Which days, Monday 0 to Sunday 6, are the weekend, and which dates
// holidays.
struct Week {
  bool weekend[7] = {false, false, false, false, false, true, true};
  std::set<double> holidays;
  bool Works(double serial) const {
    return !weekend[(static_cast<long long>(serial) + 5) % 7] && holidays.count(serial) == 0;
  }
};

bool WeekendOf(const Value& given, Week* week, Value* error) {
  if (given.Is(xltypeNil) || given.Is(xltypeMissing)) return true;
  if (given.Is(xltypeStr)) {
    const std::string& days = given.text;
    if (days.size() != 7 || days == "1111111" || days.find_first_not_of("01") != std::string::npos)
      return *error = ErrorValue(xlerrValue), false;
    for (int i = 0; i < 7; ++i) week->weekend[i] = days[static_cast<size_t>(i)] == '1';
    return true;
  }
  double code = 0;
  if (!AsNumber(given, &code, error)) return false;
  for (bool& day : week->weekend) day = false;
  if (code >= 1 && code <= 7 && code == std::floor(code)) {
    const auto k = static_cast<int>(code);
    week->weekend[(k + 4) % 7] = week->weekend[(k + 5) % 7] = true;
  } else if (code >= 11 && code <= 17 && code == std::floor(code)) {
    week->weekend[(static_cast<int>(code) - 11 + 6) % 7] = true;
  } else {
    return *error = ErrorValue(xlerrNum), false;
  }
  return true;
}

// The weekend from argument `weekendAt` (none for the plain forms), the
// holidays from the argument after it, and the first two as dates.
bool ReadWeek(const BuiltinCall& c, int weekendAt, double* first, double* second, Week* week, Value* error) {
  if (weekendAt >= 0 && !WeekendOf(c.Scalar(static_cast<size_t>(weekendAt)), week, error)) return false;
  const size_t holidaysAt = weekendAt >= 0 ? 3 : 2;
  if (c.Given(holidaysAt)) {
    const Value holidays = c.Values(holidaysAt);
    for (const Value& day : Elements(holidays)) {
      double serial = 0;
      if (day.Is(xltypeNil)) continue;
      if (!AsSerial(c, day, &serial, error)) return false;
      week->holidays.insert(std::floor(serial));
    }
  }
  if (!AsSerial(c, c.Scalar(0), first, error) || !AsSerial(c, c.Scalar(1), second, error)) return false;
  *first = std::floor(*first), *second = std::trunc(*second);
  return true;
}

bool InRange(double serial) { return serial >= 0 && serial <= LastSerial; }

Value CountWorking(const BuiltinCall& c, int weekendAt) {
  double start = 0, end = 0;
  Week week;
  Value error;
  if (!ReadWeek(c, weekendAt, &start, &end, &week, &error)) return error;
  end = std::floor(end);
  if (!InRange(start) || !InRange(end)) return ErrorValue(xlerrNum);
  const double step = start <= end ? 1 : -1;
  double count = 0;
  for (double day = start;; day += step) {
    count += week.Works(day);
    if (day == end) break;
  }
  return NumberValue(step * count);
}

Value MoveWorking(const BuiltinCall& c, int weekendAt) {
  double day = 0, days = 0;
  Week week;
  Value error;
  if (!ReadWeek(c, weekendAt, &day, &days, &week, &error)) return error;
  if (!InRange(day)) return ErrorValue(xlerrNum);
  const double step = days >= 0 ? 1 : -1;
  for (double left = std::fabs(days); left > 0;) {
    day += step;
    if (!InRange(day)) return ErrorValue(xlerrNum);
    left -= week.Works(day);
  }
  return NumberValue(day);
}

}  // namespace

Value NetworkDays(const BuiltinCall& c) { return CountWorking(c, -1); }
Value NetworkDaysIntl(const BuiltinCall& c) { return CountWorking(c, 2); }
Value WorkDay(const BuiltinCall& c) { return MoveWorking(c, -1); }
Value WorkDayIntl(const BuiltinCall& c) { return MoveWorking(c, 2); }

}  // namespace xllhost
