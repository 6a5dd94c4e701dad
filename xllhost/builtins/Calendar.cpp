#include "builtins/Calendar.h"

#include <cmath>

namespace xllhost {

const char* const MonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                    "July",    "August",   "September", "October", "November", "December"};

long long DaysFromCivil(long long y, long long m, long long d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(long long z, long long* y, long long* m, long long* d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp < 10 ? mp + 3 : mp - 9;
  *y = yoe + era * 400 + (*m <= 2);
}

bool Civil(double serial, long long* y, long long* m, long long* d) {
  if (serial < 0 || serial >= LastSerial + 1) return false;
  const auto day = static_cast<long long>(std::floor(serial));
  if (day == 60) return *y = 1900, *m = 2, *d = 29, true;
  if (day == 0) return *y = 1900, *m = 1, *d = 0, true;
  CivilFromDays(DaysFromCivil(1899, 12, day < FirstOfMarch1900 ? 31 : 30) + day, y, m, d);
  return true;
}

long long SerialFromCivil(long long y, long long m, long long d) {
  return DaysFromCivil(y, m, d) - DaysFromCivil(1899, 12, 30);
}

long long SerialOfDate(long long y, long long m, long long d) {
  if (y < 1900 || y > 9999 || m < 1 || m > 12 || d < 1) return -1;
  if (y == 1900 && m <= 2) return m == 1 ? (d <= 31 ? d : -1) : (d <= 29 ? 31 + d : -1);
  long long year = 0, month = 0, day = 0;
  CivilFromDays(DaysFromCivil(y, m, d), &year, &month, &day);
  return day == d ? SerialFromCivil(y, m, d) : -1;
}

}  // namespace xllhost
