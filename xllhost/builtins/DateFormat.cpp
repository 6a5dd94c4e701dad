#include "builtins/DateFormat.h"

#include <algorithm>
#include <cmath>

#include "builtins/Calendar.h"

namespace xllhost {
namespace {

const char* const DayNames[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

std::string Padded(long long n, size_t width) {
  std::string digits = std::to_string(n);
  return digits.size() < width ? std::string(width - digits.size(), '0') + digits : digits;
}

// Whether the date code at `i`, an m, stands for minutes: after an hour or
// before a second.
bool IsMinute(const std::vector<FormatToken>& tokens, size_t i) {
  for (size_t j = i; j-- > 0;)
    if (tokens[j].kind == FormatKind::Date) return tokens[j].text[0] == 'h';
  for (size_t j = i + 1; j < tokens.size(); ++j)
    if (tokens[j].kind == FormatKind::Date) return tokens[j].text[0] == 's';
  return false;
}

}  // namespace

bool WriteDate(double serial, const std::vector<FormatToken>& tokens, std::string* text, std::string* why) {
  if (serial < 0 || serial >= LastSerial + 1) return RefuseFormat(why, "dates for a number that is no date");
  auto seconds = std::llround((serial - std::floor(serial)) * 86400);
  double day = std::floor(serial);
  if (seconds == 86400) seconds = 0, ++day;
  long long y = 0, m = 0, d = 0;
  if (!Civil(day, &y, &m, &d)) return RefuseFormat(why, "dates for a number that is no date");
  bool twelve = false;
  for (const FormatToken& t : tokens) twelve |= t.kind == FormatKind::AmPm;
  const long long hour = seconds / 3600, minute = seconds / 60 % 60, second = seconds % 60;
  text->clear();
  for (size_t i = 0; i < tokens.size(); ++i) {
    const FormatToken& t = tokens[i];
    const size_t n = t.text.size();
    switch (t.kind) {
      case FormatKind::Literal: *text += t.text; break;
      case FormatKind::Comma: *text += ","; break;
      case FormatKind::Point:  // a full stop between date codes; before 0s, a fraction of a second
        if (i + 1 < tokens.size() && tokens[i + 1].kind == FormatKind::Zero)
          return RefuseFormat(why, "fractions of a second");
        *text += ".";
        break;
      case FormatKind::AmPm: *text += hour < 12 ? t.text.substr(0, 1) + (n == 5 ? "M" : "") : (n == 5 ? "PM" : "P"); break;
      case FormatKind::Date:
        switch (t.text[0]) {
          case 'y': *text += n <= 2 ? Padded(y % 100, 2) : Padded(y, 4); break;
          case 'm':
            if (n <= 2 && IsMinute(tokens, i)) *text += Padded(minute, n);
            else if (n <= 2) *text += Padded(m, n);
            else *text += n == 3 ? std::string(MonthNames[m - 1], 3) : n == 4 ? MonthNames[m - 1] : std::string(1, MonthNames[m - 1][0]);
            break;
          case 'd':
            if (n <= 2) *text += Padded(d, n);
            else *text += n == 3 ? std::string(DayNames[(static_cast<long long>(day) + 5) % 7], 3)
                                 : DayNames[(static_cast<long long>(day) + 5) % 7];
            break;
          case 'h': *text += Padded(twelve ? (hour % 12 == 0 ? 12 : hour % 12) : hour, std::min<size_t>(n, 2)); break;
          default: *text += Padded(second, std::min<size_t>(n, 2)); break;
        }
        break;
      default: return RefuseFormat(why, "digits or a decimal point among its date codes");
    }
  }
  return true;
}

}  // namespace xllhost
