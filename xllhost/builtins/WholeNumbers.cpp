#include "builtins/WholeNumbers.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <numeric>
#include <string>
#include <vector>

#include "builtins/Aggregates.h"  // ForEachValue
#include "builtins/Operators.h"
#include "builtins/ScalarFunctions.h"  // Numeric

namespace xllhost {
namespace {

// GCD's and LCM's numbers, taken whole: below 0, or from 2^53 on, is #NUM!.
// A range or an array holding what is no number is left uncalculated:
// Microsoft's help does not say whether Excel passes over it.
bool WholeNumbersOf(const BuiltinCall& c, std::vector<double>* numbers, Value* error) {
  return ForEachValue(c, [&](const Value& value, bool direct) {
    double n = 0;
    if (!direct && !value.Is(xltypeNum) && !value.Is(xltypeErr))
      return *error = c.NotCalculated("GCD or LCM of a range holding what is no number"), false;
    if (!AsNumber(value, &n, error)) return false;
    n = std::trunc(n);
    if (n < 0 || n >= 9007199254740992.0) return *error = ErrorValue(xlerrNum), false;
    numbers->push_back(n);
    return true;
  });
}

double CommonDivisor(double a, double b) { return static_cast<double>(std::gcd(static_cast<long long>(a), static_cast<long long>(b))); }

}  // namespace

Value Gcd(const BuiltinCall& c) {
  std::vector<double> numbers;
  Value error;
  if (!WholeNumbersOf(c, &numbers, &error)) return error;
  double gcd = 0;
  for (double n : numbers) gcd = CommonDivisor(gcd, n);
  return NumberValue(gcd);
}
// LCM: 0 when any number is 0; past what a double holds whole, #NUM!.
Value Lcm(const BuiltinCall& c) {
  std::vector<double> numbers;
  Value error;
  if (!WholeNumbersOf(c, &numbers, &error)) return error;
  double lcm = 1;
  for (double n : numbers) {
    if (n == 0) return NumberValue(0);
    lcm = lcm / CommonDivisor(lcm, n) * n;
    if (lcm >= 9007199254740992.0) return ErrorValue(xlerrNum);
  }
  return NumberValue(lcm);
}

// ROMAN in the classic form, from 0 ("") to 3999; any form given but 0,
// TRUE among them, is left uncalculated.
Value Roman(const BuiltinCall& c) {
  return NumericN(c, 2, [&](const double* x) {
    if (!std::isnan(x[1]) && x[1] != 0) return c.NotCalculated("ROMAN in a form other than the classic");
    if (x[0] < 0 || x[0] >= 4000) return ErrorValue(xlerrValue);
    auto n = static_cast<long long>(std::trunc(x[0]));
    static const struct { int value; const char* letters; } steps[] = {
        {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
        {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    std::string roman;
    for (const auto& step : steps)
      for (; n >= step.value; n -= step.value) roman += step.letters;
    return TextValue(roman);
  });
}

// ARABIC: a letter before a greater one is taken away, any other added;
// any case, a leading minus, an empty text 0; another character is
// #VALUE!.
Value Arabic(const BuiltinCall& c) {
  return ElementWise({c.Scalar(0)}, [](const std::vector<Value>& v) {
    std::string text;
    Value error;
    if (!AsText(v[0], &text, &error)) return error;
    const size_t first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
    text = first == std::string::npos ? "" : text.substr(first, last - first + 1);
    if (text.size() > 255) return ErrorValue(xlerrValue);
    const bool negative = !text.empty() && text[0] == '-';
    std::vector<int> values;
    for (size_t i = negative ? 1 : 0; i < text.size(); ++i) {
      const char* letters = "IVXLCDM";
      const int values7[] = {1, 5, 10, 50, 100, 500, 1000};
      const char* at = std::strchr(letters, std::toupper(static_cast<unsigned char>(text[i])));
      if (at == nullptr || *at == '\0') return ErrorValue(xlerrValue);
      values.push_back(values7[at - letters]);
    }
    double sum = 0;
    for (size_t i = 0; i < values.size(); ++i)
      sum += i + 1 < values.size() && values[i] < values[i + 1] ? -values[i] : values[i];
    return NumberValue(negative ? -sum : sum);
  });
}

// MULTINOMIAL(n1, ...): (n1 + n2 + ...)! over n1! n2! ..., each taken whole,
// as a product of ways to choose; one below 0 is #NUM!.
Value Multinomial(const BuiltinCall& c) {
  std::vector<double> numbers;
  Value error;
  if (!NumbersOf(c, 0, SIZE_MAX, &numbers, &error)) return error;
  double total = 0, ways = 1;
  for (double n : numbers) {
    n = std::trunc(n);
    if (n < 0) return ErrorValue(xlerrNum);
    total += n;
    ways *= Ways(total, n);
  }
  return FiniteNumber(ways);
}

}  // namespace xllhost
