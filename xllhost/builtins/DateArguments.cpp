#include "builtins/DateArguments.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <regex>
#include <vector>

#include "builtins/Calendar.h"
#include "builtins/Operators.h"

namespace xllhost {
namespace {

// A month's number by its name or its first three letters (SEPT too), or 0.
int MonthNamed(const std::string& word) {
  for (int i = 0; i < 12; ++i) {
    const std::string name = Upper(MonthNames[i]);
    if (word == name || word == name.substr(0, 3) || (i == 8 && word == "SEPT")) return i + 1;
  }
  return 0;
}

// A year of four digits as it is, of two by Excel's pivot; another, -1.
long long YearWritten(const std::string& digits) {
  const long long year = std::atoll(digits.c_str());
  if (digits.size() == 4) return year;
  if (digits.size() == 2) return year < 30 ? 2000 + year : 1900 + year;
  return -1;
}

DateText DatePart(const std::string& text, double* serial) {
  static const std::regex numeric("(\\d{1,4})([/-])(\\d{1,2})\\2(\\d{1,4})");
  static const std::regex dayFirst("(\\d{1,2})[-/ ]([A-Z]+)[-/ ](\\d{1,4})");
  static const std::regex monthFirst("([A-Z]+) (\\d{1,2}),? ?(\\d{1,4})");
  std::smatch m;
  long long y = -1, month = 0, d = 0;
  if (std::regex_match(text, m, numeric)) {
    const bool yearFirst = m[1].length() == 4;
    if (m[yearFirst ? 4 : 1].length() > 2) return DateText::Unread;  // a day or month of 3 digits or more
    y = YearWritten(yearFirst ? m[1] : m[4]);
    month = std::atoll((yearFirst ? m[3] : m[1]).str().c_str());
    d = std::atoll((yearFirst ? m[4] : m[3]).str().c_str());
  } else if (std::regex_match(text, m, dayFirst) || std::regex_match(text, m, monthFirst)) {
    const bool named = !std::isdigit(static_cast<unsigned char>(m[1].str()[0]));
    month = MonthNamed(named ? m[1] : m[2]);
    if (month == 0) return DateText::NotADate;
    y = YearWritten(m[3]);
    d = std::atoll((named ? m[2] : m[1]).str().c_str());
  } else {
    return DateText::Unread;
  }
  if (y < 0) return DateText::Unread;
  const long long day = SerialOfDate(y, month, d);
  if (day < 0) return DateText::NotADate;
  *serial = static_cast<double>(day);
  return DateText::Read;
}

}  // namespace

// std::regex recurses over what it matches: no text longer than any date
// reaches it.
constexpr size_t LongestDateText = 64;

DateText ReadDateText(const std::string& written, double* serial, bool* hasDate, bool* hasTime) {
  if (std::none_of(written.begin(), written.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
    return DateText::NotADate;
  std::string text;  // upper case, each run of white space one space, none at the ends
  for (char c : Upper(written)) {
    const bool space = std::isspace(static_cast<unsigned char>(c)) != 0;
    if (!space) text += c;
    else if (!text.empty() && text.back() != ' ') text += ' ';
    if (text.size() > LongestDateText) return DateText::Unread;
  }
  if (!text.empty() && text.back() == ' ') text.pop_back();
  static const std::regex clock("(?:(.*) )?(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}(?:\\.\\d+)?))? ?(AM|PM)?");
  std::smatch m;
  double time = 0;
  *hasTime = std::regex_match(text, m, clock);
  if (*hasTime) {
    double hour = std::atof(m[2].str().c_str());
    const double minute = std::atof(m[3].str().c_str()), second = m[4].matched ? std::atof(m[4].str().c_str()) : 0;
    if (m[5].matched) {
      if (hour < 1 || hour > 12) return DateText::NotADate;
      hour = (hour == 12 ? 0 : hour) + (m[5] == "PM" ? 12 : 0);
    } else if (hour > 23) {
      return DateText::Unread;  // Excel reads 25:00 as more than a day
    }
    if (minute > 59 || second >= 60) return DateText::NotADate;
    time = (hour * 3600 + minute * 60 + second) / 86400;
    text = m[1].matched ? m[1].str() : "";
  }
  *hasDate = !text.empty();
  double day = 0;
  if (*hasDate) {
    const DateText date = DatePart(text, &day);
    if (date != DateText::Read) return date;
  }
  *serial = day + time;
  return DateText::Read;
}

bool AsSerial(const BuiltinCall& c, const Value& value, double* serial, Value* error) {
  if (AsNumber(value, serial, error)) return true;
  if (!value.Is(xltypeStr)) return false;
  bool hasDate = false, hasTime = false;
  switch (ReadDateText(value.text, serial, &hasDate, &hasTime)) {
    case DateText::Read: return true;
    case DateText::NotADate: return false;  // AsNumber's #VALUE!
    case DateText::Unread: break;
  }
  *error = c.NotCalculated("a date or time written in a form xllhost does not read");
  return false;
}

Value OfSerial(const BuiltinCall& c, size_t i, const std::function<Value(double)>& f) {
  return ElementWise({c.Scalar(i)}, [&](const std::vector<Value>& v) {
    double serial = 0;
    Value error;
    if (!AsSerial(c, v[0], &serial, &error)) return error;
    if (serial < 0 || serial >= LastSerial + 1) return ErrorValue(xlerrNum);
    return f(serial);
  });
}

}  // namespace xllhost
