#include "builtins/NumberTexts.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "builtins/NumberFormat.h"
#include "builtins/Operators.h"
#include "builtins/ScalarFunctions.h"

namespace xllhost {
namespace {

// The number rounded to `decimals` places (tens, hundreds, ... below 0) and
// written in the format whose placeholders `pattern` gives ("#,##0" or
// "0"), with as many decimals. More than 127 decimals is #VALUE!.
Value Written(const BuiltinCall& c, const std::vector<Value>& v, const std::string& pattern,
              const std::string& negative) {
  double number = 0, decimals = 2;
  Value error;
  if (!AsNumber(v[0], &number, &error)) return error;
  if (!v[1].Is(xltypeMissing) && !AsNumber(v[1], &decimals, &error)) return error;
  decimals = std::trunc(decimals);
  if (decimals > 127) return ErrorValue(xlerrValue);
  const std::string places = decimals > 0 ? "." + std::string(static_cast<size_t>(decimals), '0') : "";
  std::string format = pattern + places, text, why;
  if (!negative.empty()) format += ";" + negative + places + ")";
  if (!FormatNumber(RoundToDigits(number, decimals), format, &text, &why)) return c.NotCalculated(why);
  return TextValue(text);
}

Value Given(const BuiltinCall& c, size_t i) { return c.Given(i) ? c.Scalar(i) : MissingValue(); }

// A separator argument: its first character; absent, the locale's.
bool Separator(const Value& given, char absent, char* separator, Value* error) {
  std::string text;
  if (given.Is(xltypeMissing)) return *separator = absent, true;
  if (!AsText(given, &text, error)) return false;
  if (text.empty()) return *error = ErrorValue(xlerrValue), false;
  *separator = text[0];
  return true;
}

}  // namespace

Value Fixed(const BuiltinCall& c) {
  return ElementWise({c.Scalar(0), Given(c, 1), Given(c, 2)}, [&](const std::vector<Value>& v) {
    double noCommas = 0;
    Value error;
    if (!v[2].Is(xltypeMissing) && !AsNumber(v[2], &noCommas, &error)) return error;
    return Written(c, v, noCommas != 0 ? "0" : "#,##0", "");
  });
}

Value Dollar(const BuiltinCall& c) {
  return ElementWise({c.Scalar(0), Given(c, 1)}, [&](const std::vector<Value>& v) {
    return Written(c, v, "$#,##0", "($#,##0");
  });
}

// Spaces anywhere are passed over; group separators may stand anywhere
// before the decimal one, which stands once at most; each % at the end
// divides by 100. An empty text is 0.
Value NumberValueOf(const BuiltinCall& c) {
  return ElementWise({c.Scalar(0), Given(c, 1), Given(c, 2)}, [&](const std::vector<Value>& v) {
    std::string text, plain;
    char decimal = '.', group = ',';
    Value error;
    if (!AsText(v[0], &text, &error) || !Separator(v[1], '.', &decimal, &error) ||
        !Separator(v[2], ',', &group, &error))
      return error;
    bool pointSeen = false;
    double scale = 1;
    for (char ch : text) {
      if (std::isspace(static_cast<unsigned char>(ch))) continue;
      if (ch == decimal) {
        if (pointSeen) return ErrorValue(xlerrValue);
        pointSeen = true;
        plain += '.';
      } else if (ch == group) {
        if (pointSeen) return ErrorValue(xlerrValue);
      } else if (ch == '%') {
        scale /= 100;
      } else if (scale != 1 || !(std::isdigit(static_cast<unsigned char>(ch)) || std::strchr("+-eE", ch))) {
        return ErrorValue(xlerrValue);  // what follows a %, or no part of a number
      } else {
        plain += ch;
      }
    }
    double number = 0;
    if (plain.empty()) return NumberValue(0.0);
    if (!ReadPlainNumber(plain, &number)) return ErrorValue(xlerrValue);
    return FiniteNumber(number * scale);
  });
}

bool ReadPlainNumber(const std::string& text, double* number) {
  if (text.empty() || text.find_first_not_of("0123456789.eE+-") != std::string::npos) return false;
  char* end = nullptr;
  *number = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size();
}

}  // namespace xllhost
