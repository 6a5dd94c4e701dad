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

// A digit's value in any base to 36, either case; 36 for what is no digit.
int DigitValue(char ch) {
  const int c = std::toupper(static_cast<unsigned char>(ch));
  return std::isdigit(c) ? c - '0' : c >= 'A' && c <= 'Z' ? c - 'A' + 10 : 36;
}

// A number written in `base`, at most ten digits, any case; false for
// another character or more digits.
bool Read(const std::string& text, int base, long long* number) {
  if (text.size() > 10) return false;
  long long value = 0;
  for (char ch : text) {
    const int digit = DigitValue(ch);
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
    digits.insert(digits.begin(), "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"[number % base]);
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

// BASE(number, radix, [min_length]): a whole number from 0 to below 2^53 in
// a radix from 2 to 36, with zeros before it to min_length (at most 255).
Value Base(const BuiltinCall& c) {
  const Value length = c.Given(2) ? c.Scalar(2) : NumberValue(0);
  return ElementWise({c.Scalar(0), c.Scalar(1), length}, [](const std::vector<Value>& v) {
    double n = 0, radix = 0, fewest = 0;
    Value error;
    if (!AsNumber(v[0], &n, &error) || !AsNumber(v[1], &radix, &error) || !AsNumber(v[2], &fewest, &error))
      return error;
    n = std::trunc(n), radix = std::trunc(radix), fewest = std::trunc(fewest);
    if (n < 0 || n >= 9007199254740992.0 || radix < 2 || radix > 36 || fewest < 0 || fewest > 255)
      return ErrorValue(xlerrNum);
    std::string digits = Digits(static_cast<long long>(n), static_cast<int>(radix));
    if (digits.size() < fewest) digits.insert(0, static_cast<size_t>(fewest) - digits.size(), '0');
    return TextValue(digits);
  });
}

// DECIMAL(text, radix): the text's digits, any case, in a radix from 2 to
// 36; another character, or a number from 2^53 on, is #NUM!.
Value Decimal(const BuiltinCall& c) {
  return ElementWise({c.Scalar(0), c.Scalar(1)}, [](const std::vector<Value>& v) {
    std::string text;
    double radix = 0, number = 0;
    Value error;
    if (!AsText(v[0], &text, &error) || !AsNumber(v[1], &radix, &error)) return error;
    radix = std::trunc(radix);
    if (radix < 2 || radix > 36 || text.size() > 255) return ErrorValue(xlerrNum);
    for (char ch : text) {
      const int digit = DigitValue(ch);
      if (digit >= radix) return ErrorValue(xlerrNum);
      number = number * radix + digit;
    }
    return number < 9007199254740992.0 ? NumberValue(number) : ErrorValue(xlerrNum);
  });
}

}  // namespace xllhost
