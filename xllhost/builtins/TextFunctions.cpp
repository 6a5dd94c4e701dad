#include "TextFunctions.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "Operators.h"
#include "ScalarFunctions.h"  // Numeric

namespace xllhost {
namespace {

// Texts are UTF-8 here; Excel counts UTF-16 code units.
size_t Utf16Length(const std::string& text) {
  size_t units = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) ++units;
    if ((c & 0xF8) == 0xF0) ++units;
  }
  return units;
}

Value Text1(const BuiltinCall& c, const std::function<Value(const std::string&)>& f) {
  return ElementWise({c.Scalar(0)}, [&](const std::vector<Value>& v) {
    std::string text;
    Value error;
    return AsText(v[0], &text, &error) ? f(text) : error;
  });
}

}  // namespace

Value Len(const BuiltinCall& c) {
  return Text1(c, [](const std::string& t) { return NumberValue(static_cast<double>(Utf16Length(t))); });
}
Value Concatenate(const BuiltinCall& c) {
  std::string joined;
  for (size_t i = 0; i < c.args.size(); ++i) {
    std::string text;
    Value error;
    if (!AsText(c.Scalar(i), &text, &error)) return error;
    joined += text;
  }
  return TextValue(joined);
}
// The code of the first character; xllhost answers it for ASCII, where
// every Windows code page agrees, and leaves the rest uncalculated.
Value Code(const BuiltinCall& c) {
  return Text1(c, [&](const std::string& t) {
    if (t.empty()) return ErrorValue(xlerrValue);
    const auto first = static_cast<unsigned char>(t[0]);
    if (first >= 0x80) {
      *c.notCalculated = "CODE of a character beyond ASCII depends on the code page";
      return ErrorValue(xlerrNA);
    }
    return NumberValue(first);
  });
}
Value Char(const BuiltinCall& c) {
  return Numeric(c, 0, [&](double n) {
    const double code = std::trunc(n);
    if (code < 1 || code > 255) return ErrorValue(xlerrValue);
    if (code >= 128) {
      *c.notCalculated = "CHAR beyond ASCII depends on the code page";
      return ErrorValue(xlerrNA);
    }
    return TextValue(std::string(1, static_cast<char>(code)));
  });
}
// FIND(find, within, [start]): where `find` first stands in `within`, from
// 1, case-sensitive; #VALUE! when it does not. Positions count characters.
Value Find(const BuiltinCall& c) {
  std::string find, within;
  double start = 1;
  Value error;
  if (!AsText(c.Scalar(0), &find, &error) || !AsText(c.Scalar(1), &within, &error)) return error;
  if (c.Given(2) && !AsNumber(c.Scalar(2), &start, &error)) return error;
  start = std::trunc(start);
  if (start < 1 || start > static_cast<double>(Utf16Length(within)) + 1) return ErrorValue(xlerrValue);
  size_t offset = 0;  // the byte where character `start` begins
  for (double n = 1; n < start; ++n) {
    ++offset;
    while (offset < within.size() && (static_cast<unsigned char>(within[offset]) & 0xC0) == 0x80) ++offset;
  }
  const size_t found = within.find(find, offset);
  if (found == std::string::npos) return ErrorValue(xlerrValue);
  return NumberValue(static_cast<double>(Utf16Length(within.substr(0, found)) + 1));
}

}  // namespace xllhost
