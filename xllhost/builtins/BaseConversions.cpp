#include "builtins/BaseConversions.h"

#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "builtins/Operators.h"

namespace xllhost {
namespace {

// b^10: ten digits of two's complement hold -b^10/2 to b^10/2 - 1.
long long Span(int base) {
  long long span = 1;
  for (int i = 0; i < 10; ++i) span *= base;
  return span;
}

// A number written in `base`, at most ten digits, any case; false for
// another character or more digits.
bool Read(const std::string& text, int base, long long* number) {
  if (text.size() > 10) return false;
  long long value = 0;
  for (char ch : text) {
    const int c = std::toupper(static_cast<unsigned char>(ch));
    const int digit = std::isdigit(c) ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : base;
    if (digit >= base) return false;
    value = value * base + digit;
  }
  if (text.size() == 10 && value >= Span(base) / 2) value -= Span(base);
  *number = value;
  return true;
}

std::string Digits(long long number, int base) {
  std::string digits;
  do {
    digits.insert(digits.begin(), "0123456789ABCDEF"[number % base]);
    number /= base;
  } while (number > 0);
  return digits;
}

// The number, read in base `from` (from 10, taken whole), written in base
// `to`: past what ten digits hold, or longer than `places` asks, is #NUM!;
// a negative number takes all ten digits whatever `places` says.
Value ConvertBase(const BuiltinCall& c, int from, int to) {
  std::vector<Value> given{c.Scalar(0)};
  if (c.Given(1)) given.push_back(c.Scalar(1));
  return ElementWise(given, [&](const std::vector<Value>& v) {
    long long number = 0;
    Value error;
    if (from == 10) {
      double n = 0;
      if (!AsNumber(v[0], &n, &error)) return error;
      n = std::trunc(n);
      if (std::fabs(n) >= 1e15) return ErrorValue(xlerrNum);
      number = static_cast<long long>(n);
    } else {
      std::string text;
      if (v[0].Is(xltypeBool)) return ErrorValue(xlerrValue);
      if (!AsText(v[0], &text, &error)) return error;
      if (!Read(text, from, &number)) return ErrorValue(xlerrNum);
    }
    if (to == 10) return NumberValue(static_cast<double>(number));
    const long long span = Span(to);
    if (number < -span / 2 || number >= span / 2) return ErrorValue(xlerrNum);
    if (number < 0) return TextValue(Digits(number + span, to));
    std::string digits = Digits(number, to);
    if (v.size() > 1) {
      double places = 0;
      if (!AsNumber(v[1], &places, &error)) return error;
      places = std::trunc(places);
      if (places < 0 || places > 10 || static_cast<double>(digits.size()) > places) return ErrorValue(xlerrNum);
      digits.insert(0, static_cast<size_t>(places) - digits.size(), '0');
    }
    return TextValue(digits);
  });
}

}  // namespace

Value Dec2Bin(const BuiltinCall& c) { return ConvertBase(c, 10, 2); }
Value Dec2Oct(const BuiltinCall& c) { return ConvertBase(c, 10, 8); }
Value Dec2Hex(const BuiltinCall& c) { return ConvertBase(c, 10, 16); }
Value Bin2Dec(const BuiltinCall& c) { return ConvertBase(c, 2, 10); }
Value Bin2Oct(const BuiltinCall& c) { return ConvertBase(c, 2, 8); }
Value Bin2Hex(const BuiltinCall& c) { return ConvertBase(c, 2, 16); }
Value Oct2Dec(const BuiltinCall& c) { return ConvertBase(c, 8, 10); }
Value Oct2Bin(const BuiltinCall& c) { return ConvertBase(c, 8, 2); }
Value Oct2Hex(const BuiltinCall& c) { return ConvertBase(c, 8, 16); }
Value Hex2Dec(const BuiltinCall& c) { return ConvertBase(c, 16, 10); }
Value Hex2Bin(const BuiltinCall& c) { return ConvertBase(c, 16, 2); }
Value Hex2Oct(const BuiltinCall& c) { return ConvertBase(c, 16, 8); }

}  // namespace xllhost
