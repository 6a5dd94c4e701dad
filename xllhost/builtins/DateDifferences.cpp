#include "builtins/DateDifferences.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "builtins/Calendar.h"
#include "builtins/DateArguments.h"
#include "builtins/Operators.h"

namespace xllhost {
namespace {

struct Day {
  double serial;  // whole
  long long y, m, d;
  bool LastOfMonth() const {
    long long ny = 0, nm = 0, nd = 0;
    Civil(serial + 1, &ny, &nm, &nd);
    return nd == 1;
  }
};

// Two dates, then `numbers` more arguments, element by element; a date
// below 0 or past 9999 is #NUM!, and with `fromMarch1900` one before
// March 1900, where Excel's calendar holds its 29 February, is left
// uncalculated.
Value TwoDates(const BuiltinCall& c, size_t numbers, bool fromMarch1900,
               const std::function<Value(const Day&, const Day&, const std::vector<Value>&)>& f) {
  std::vector<Value> given{c.Scalar(0), c.Scalar(1)};
  for (size_t i = 2; i < 2 + numbers; ++i) given.push_back(c.Given(i) ? c.Scalar(i) : Value{});
  return ElementWise(given, [&](const std::vector<Value>& v) {
    Day days[2];
    Value error;
    for (int i = 0; i < 2; ++i) {
      double serial = 0;
      if (!AsSerial(c, v[i], &serial, &error)) return error;
      serial = std::floor(serial);
      if (serial < 0 || serial > LastSerial) return ErrorValue(xlerrNum);
      if (fromMarch1900 && serial < FirstOfMarch1900)
        return c.NotCalculated("a date before March 1900 in Excel's calendar");
      days[i].serial = serial;
      Civil(serial, &days[i].y, &days[i].m, &days[i].d);
    }
    return f(days[0], days[1], v);
  });
}

double Months30(const Day& a, long long d1, const Day& b, long long d2) {
  return static_cast<double>((b.y - a.y) * 360 + (b.m - a.m) * 30 + (d2 - d1));
}

bool IsLeap(long long y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// Whether a 29 February falls from a to b.
bool HoldsLeapDay(const Day& a, const Day& b) {
  for (long long y = a.y; y <= b.y; ++y)
    if (IsLeap(y) && a.serial <= SerialFromCivil(y, 2, 29) && SerialFromCivil(y, 2, 29) <= b.serial) return true;
  return false;
}

// YEARFRAC's actual/actual year: of the year the dates fall in, or of the
// next when they are no more than a year apart (366 days when a 29
// February falls between), else the mean of the years they span.
double ActualYear(const Day& a, const Day& b) {
  const bool withinYear = a.y == b.y || (b.y == a.y + 1 && (a.m > b.m || (a.m == b.m && a.d >= b.d)));
  if (withinYear) return (a.y == b.y ? IsLeap(a.y) : HoldsLeapDay(a, b)) ? 366 : 365;
  return static_cast<double>(SerialFromCivil(b.y + 1, 1, 1) - SerialFromCivil(a.y, 1, 1)) /
         static_cast<double>(b.y - a.y + 1);
}

long long Monday0(double serial) { return (static_cast<long long>(serial) + 5) % 7; }

Value WeekOf(const BuiltinCall& c, double serial, double type) {
  if (type == 21) {
    const double thursday = serial - static_cast<double>(Monday0(serial)) + 3;
    long long y = 0, m = 0, d = 0;
    if (!Civil(thursday, &y, &m, &d) || y < 1900) return c.NotCalculated("ISOWEEKNUM of a day in Excel's first week");
    const double first = y == 1900 ? 1 : static_cast<double>(SerialFromCivil(y, 1, 1));
    return NumberValue(std::floor((thursday - first) / 7) + 1);
  }
  long long start = 0;  // the week's first day, Monday 0
  if (type == 1) start = 6;
  else if (type == 2) start = 0;
  else if (type >= 11 && type <= 17) start = static_cast<long long>(type) - 11;
  else return ErrorValue(xlerrNum);
  long long y = 0, m = 0, d = 0;
  Civil(serial, &y, &m, &d);
  const double first = y == 1900 ? 1 : static_cast<double>(SerialFromCivil(y, 1, 1));
  const long long before = (Monday0(first) - start + 7) % 7;  // days of week 1 before 1 January
  return NumberValue(std::floor((serial - first + static_cast<double>(before)) / 7) + 1);
}

}  // namespace

Value Days(const BuiltinCall& c) {
  return TwoDates(c, 0, false, [](const Day& end, const Day& start, const std::vector<Value>&) {
    return NumberValue(end.serial - start.serial);
  });
}

// DAYS360: the European method makes a 31st the 30th. The US method makes
// a start on the 31st the 30th, and an end on the 31st the 30th, or the
// 1st of the next month when the start falls before the 30th. Where
// Microsoft's help says "the last day of a month" of a shorter month (the
// end of February, or a 30th that ends), it is left uncalculated, as the
// help and the NASD rule it names differ there.
Value Days360(const BuiltinCall& c) {
  return TwoDates(c, 1, true, [&](const Day& a, const Day& b, const std::vector<Value>& v) {
    bool european = false;
    Value error;
    if (!v[2].Is(xltypeNil) && !AsBoolean(v[2], &european, &error)) return error;
    long long d1 = std::min<long long>(a.d, 30), d2 = b.d;
    if (european) return NumberValue(Months30(a, d1, b, std::min<long long>(d2, 30)));
    if ((a.LastOfMonth() && a.d < 30) || (b.LastOfMonth() && b.d < 31))
      return c.NotCalculated("DAYS360 by the US method from or to a month's last day before the 31st");
    if (d2 == 31 && d1 < 30) return NumberValue(Months30(a, d1, b, 31));  // the 1st of the next month
    return NumberValue(Months30(a, d1, b, std::min<long long>(d2, 30)));
  });
}

// DATEDIF: whole years (Y), whole months (M), days (D), or the months
// beyond the whole years (YM). Microsoft's help warns that MD can be
// wrong, and YD is not settled for leap years: both are left uncalculated.
Value DateDif(const BuiltinCall& c) {
  return TwoDates(c, 1, true, [&](const Day& a, const Day& b, const std::vector<Value>& v) {
    std::string unit;
    Value error;
    if (!AsText(v[2], &unit, &error)) return error;
    for (char& ch : unit) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    if (a.serial > b.serial) return ErrorValue(xlerrNum);
    const long long months = (b.y - a.y) * 12 + b.m - a.m - (b.d < a.d ? 1 : 0);
    if (unit == "Y") return NumberValue(static_cast<double>(months / 12));
    if (unit == "M") return NumberValue(static_cast<double>(months));
    if (unit == "D") return NumberValue(b.serial - a.serial);
    if (unit == "YM") return NumberValue(static_cast<double>(months % 12));
    if (unit == "MD" || unit == "YD") return c.NotCalculated("DATEDIF in days beyond whole months or years");
    return ErrorValue(xlerrNum);
  });
}

// YEARFRAC's bases: 0 US 30/360, 1 actual/actual, 2 actual/360, 3
// actual/365, 4 European 30/360. A US 30/360 from or to the end of
// February is left uncalculated: Microsoft's help does not give its rule.
Value YearFrac(const BuiltinCall& c) {
  return TwoDates(c, 1, true, [&](const Day& first, const Day& second, const std::vector<Value>& v) {
    double basis = 0;
    Value error;
    if (!v[2].Is(xltypeNil) && !AsNumber(v[2], &basis, &error)) return error;
    basis = std::trunc(basis);
    const Day& a = first.serial <= second.serial ? first : second;
    const Day& b = first.serial <= second.serial ? second : first;
    const double days = b.serial - a.serial;
    if (basis == 0) {
      if ((a.m == 2 && a.LastOfMonth()) || (b.m == 2 && b.LastOfMonth()))
        return c.NotCalculated("YEARFRAC's US 30/360 from or to the end of February");
      const long long d1 = std::min<long long>(a.d, 30), d2 = b.d == 31 && d1 == 30 ? 30 : b.d;
      return NumberValue(Months30(a, d1, b, d2) / 360);
    }
    if (basis == 1) return FiniteNumber(days / ActualYear(a, b));
    if (basis == 2) return NumberValue(days / 360);
    if (basis == 3) return NumberValue(days / 365);
    if (basis == 4) return NumberValue(Months30(a, std::min<long long>(a.d, 30), b, std::min<long long>(b.d, 30)) / 360);
    return ErrorValue(xlerrNum);
  });
}

// WEEKNUM: week 1 holds 1 January, and each week starts on the day the
// return type names (1 Sunday, 2 Monday, 11 to 17 Monday to Sunday); 21 is
// ISO 8601's week, as ISOWEEKNUM.
Value WeekNum(const BuiltinCall& c) {
  double type = 1;
  Value error;
  if (c.Given(1) && !AsNumber(c.Scalar(1), &type, &error)) return error;
  return OfSerial(c, 0, [&](double serial) { return WeekOf(c, std::floor(serial), std::trunc(type)); });
}
Value IsoWeekNum(const BuiltinCall& c) {
  return OfSerial(c, 0, [&](double serial) { return WeekOf(c, std::floor(serial), 21); });
}

}  // namespace xllhost
