#include "builtins/TextFunctions.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>

#include "builtins/Aggregates.h"  // ForEachValue
#include "builtins/Characters.h"
#include "builtins/Operators.h"
#include "builtins/ScalarFunctions.h"  // Numeric

namespace xllhost {
namespace {

Value Text1(const BuiltinCall& c, const std::function<Value(const std::string&)>& f) {
  return ElementWise({c.Scalar(0)}, [&](const std::vector<Value>& v) {
    std::string text;
    Value error;
    return AsText(v[0], &text, &error) ? f(text) : error;
  });
}

// LEFT, RIGHT and MID: characters of the text; a count below 0, or a
// start below 1, is #VALUE!.
Value Part(const BuiltinCall& c, size_t countAt, double absent,
           const std::function<std::string(const std::string&, size_t start, size_t count)>& part) {
  std::string text;
  double start = 1, count = absent;
  Value error;
  if (!AsText(c.Scalar(0), &text, &error)) return error;
  if (countAt == 2 && !AsNumber(c.Scalar(1), &start, &error)) return error;
  if ((countAt == 1 ? c.Given(1) : true) && !AsNumber(c.Scalar(countAt), &count, &error)) return error;
  start = std::trunc(start);
  count = std::trunc(count);
  if (count < 0 || start < 1) return ErrorValue(xlerrValue);
  const size_t length = Utf16Length(text);
  return TextValue(part(text, static_cast<size_t>(std::min(start, 1e9)) - 1,
                        static_cast<size_t>(std::min(count, static_cast<double>(length)))));
}

// UPPER and LOWER: ASCII letters change; a text holding any other
// character is left uncalculated, as its case follows Unicode's tables.
Value CaseOf(const BuiltinCall& c, int (*change)(int)) {
  return Text1(c, [&](const std::string& t) {
    std::string changed = t;
    for (char& ch : changed) {
      if (static_cast<unsigned char>(ch) >= 0x80)
        return c.NotCalculated("UPPER and LOWER of a character beyond ASCII follow Unicode's case tables");
      ch = static_cast<char>(change(static_cast<unsigned char>(ch)));
    }
    return TextValue(changed);
  });
}

}  // namespace

Value Left(const BuiltinCall& c) {
  return Part(c, 1, 1, [](const std::string& t, size_t, size_t n) { return Characters(t, 0, n); });
}
Value Right(const BuiltinCall& c) {
  return Part(c, 1, 1, [](const std::string& t, size_t, size_t n) {
    size_t length = 0;  // in characters
    for (unsigned char byte : t) length += (byte & 0xC0) != 0x80;
    return Characters(t, length - std::min(n, length), n);
  });
}
Value Mid(const BuiltinCall& c) {
  return Part(c, 2, 0, [](const std::string& t, size_t start, size_t n) { return Characters(t, start, n); });
}
// VALUE: a text read as a number as a worksheet reads one; a Boolean is
// #VALUE!, an empty cell 0.
Value ValueOf(const BuiltinCall& c) {
  return ElementWise({c.Scalar(0)}, [](const std::vector<Value>& v) {
    if (v[0].Is(xltypeBool)) return ErrorValue(xlerrValue);
    if (v[0].Is(xltypeNil)) return NumberValue(0);
    double n = 0;
    Value error;
    return AsNumber(v[0], &n, &error) ? NumberValue(n) : error;
  });
}

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
namespace {

// CONCAT's and TEXTJOIN's texts from argument `first` on: each cell of a
// reference or element of an array, row by row, and each value given; an
// empty cell is "". False, with the error, at the first error.
bool TextsOf(const BuiltinCall& c, size_t first, std::vector<std::string>* texts, Value* error) {
  return ForEachValue(c, [&](const Value& value, bool) {
    texts->emplace_back();
    return value.Is(xltypeNil) || value.Is(xltypeMissing) || AsText(value, &texts->back(), error);
  }, first);
}

Value Joined(const std::vector<std::string>& texts, const std::string& delimiter, bool ignoreEmpty) {
  std::string joined;
  bool any = false;
  for (const std::string& text : texts) {
    if (ignoreEmpty && text.empty()) continue;
    if (any) joined += delimiter;
    joined += text, any = true;
  }
  return Utf16Length(joined) > 32767 ? ErrorValue(xlerrValue) : TextValue(joined);
}

}  // namespace

Value Concat(const BuiltinCall& c) {
  std::vector<std::string> texts;
  Value error;
  return TextsOf(c, 0, &texts, &error) ? Joined(texts, "", false) : error;
}
// TEXTJOIN(delimiter, ignore_empty, text1, ...). A range of delimiters,
// which Excel takes in turn, is left uncalculated.
Value TextJoin(const BuiltinCall& c) {
  const Value delimiter = c.Scalar(0);
  if (delimiter.Is(xltypeMulti)) return c.NotCalculated("TEXTJOIN with several delimiters");
  std::string between;
  bool ignoreEmpty = false;
  std::vector<std::string> texts;
  Value error;
  if (!AsText(delimiter, &between, &error) || !AsBoolean(c.Scalar(1), &ignoreEmpty, &error) ||
      !TextsOf(c, 2, &texts, &error))
    return error;
  return Joined(texts, between, ignoreEmpty);
}

// The code of the first character; xllhost answers it for ASCII, where
// every Windows code page agrees, and leaves the rest uncalculated.
Value Code(const BuiltinCall& c) {
  return Text1(c, [&](const std::string& t) {
    if (t.empty()) return ErrorValue(xlerrValue);
    const auto first = static_cast<unsigned char>(t[0]);
    if (first >= 0x80) return c.NotCalculated("CODE of a character beyond ASCII depends on the code page");
    return NumberValue(first);
  });
}
Value Char(const BuiltinCall& c) {
  return Numeric(c, 0, [&](double n) {
    const double code = std::trunc(n);
    if (code < 1 || code > 255) return ErrorValue(xlerrValue);
    if (code >= 128) return c.NotCalculated("CHAR beyond ASCII depends on the code page");
    return TextValue(std::string(1, static_cast<char>(code)));
  });
}
Value Unicode(const BuiltinCall& c) {
  return Text1(c, [](const std::string& t) {
    const char32_t point = FirstCodePoint(t);
    return point == 0 ? ErrorValue(xlerrValue) : NumberValue(point);
  });
}
// A code point beyond Unicode's, or 0, is #VALUE!; half of a surrogate
// pair, #N/A.
Value Unichar(const BuiltinCall& c) {
  return Numeric(c, 0, [](double n) {
    const double point = std::trunc(n);
    if (point < 1 || point > 0x10FFFF) return ErrorValue(xlerrValue);
    if (point >= 0xD800 && point <= 0xDFFF) return ErrorValue(xlerrNA);
    return TextValue(Utf8(static_cast<char32_t>(point)));
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

Value UpperCase(const BuiltinCall& c) { return CaseOf(c, std::toupper); }
Value LowerCase(const BuiltinCall& c) { return CaseOf(c, std::tolower); }
// TRIM takes away the spaces (ASCII 32, no other) before and after the
// text, and all but one of each run between its words.
Value TrimSpaces(const BuiltinCall& c) {
  return Text1(c, [](const std::string& t) {
    std::string trimmed;
    for (char ch : t)
      if (ch != ' ' || (!trimmed.empty() && trimmed.back() != ' ')) trimmed += ch;
    if (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
    return TextValue(trimmed);
  });
}
// REPT(text, times): times taken whole; below 0, or a result past the
// 32,767 characters a cell holds, is #VALUE!.
Value Rept(const BuiltinCall& c) {
  std::string text;
  double times = 0;
  Value error;
  if (!AsText(c.Scalar(0), &text, &error) || !AsNumber(c.Scalar(1), &times, &error)) return error;
  times = std::trunc(times);
  if (times < 0 || times * static_cast<double>(Utf16Length(text)) > 32767) return ErrorValue(xlerrValue);
  std::string repeated;
  for (int i = 0; i < static_cast<int>(times); ++i) repeated += text;
  return TextValue(repeated);
}

}  // namespace xllhost
