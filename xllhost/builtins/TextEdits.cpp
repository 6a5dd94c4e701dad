#include "builtins/TextEdits.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "builtins/Characters.h"
#include "builtins/Criteria.h"
#include "builtins/NumberFormat.h"
#include "builtins/Operators.h"

namespace xllhost {
namespace {

// The arguments' values element by element, taken as texts (those in
// `numbers` as numbers, whole); an absent optional one is `absent`.
struct Taken {
  std::string text[4];
  double number[4] = {};
};
Value Texts(const BuiltinCall& c, size_t count, unsigned numbers, double absent,
            const std::function<Value(const Taken&)>& f) {
  std::vector<Value> given;
  for (size_t i = 0; i < count; ++i) given.push_back(c.Given(i) ? c.Scalar(i) : NumberValue(absent));
  return ElementWise(given, [&](const std::vector<Value>& v) {
    Taken taken;
    Value error;
    for (size_t i = 0; i < count; ++i) {
      const bool number = (numbers >> i & 1) != 0;
      if (number ? !AsNumber(v[i], &taken.number[i], &error) : !AsText(v[i], &taken.text[i], &error)) return error;
      taken.number[i] = std::trunc(taken.number[i]);
    }
    return f(taken);
  });
}

constexpr unsigned Arg2 = 1u << 1, Arg3 = 1u << 2, Arg4 = 1u << 3;  // taken as numbers
constexpr double Unbounded = 1e9;  // past any text's length: a cell holds 32,767 characters

}  // namespace

// SUBSTITUTE: every `old` in the text, or only the instance-th, becomes
// `new`; an empty `old` changes nothing; an instance below 1 is #VALUE!.
Value Substitute(const BuiltinCall& c) {
  return Texts(c, 4, Arg4, 0, [&](const Taken& t) {
    const std::string &text = t.text[0], &old = t.text[1], &with = t.text[2];
    const double instance = t.number[3];
    if (c.Given(3) && instance < 1) return ErrorValue(xlerrValue);
    if (old.empty()) return TextValue(text);
    std::string result;
    size_t from = 0, found = 0;
    for (double seen = 1; (found = text.find(old, from)) != std::string::npos; ++seen) {
      const bool replaced = !c.Given(3) || seen == instance;
      result += text.substr(from, found - from) + (replaced ? with : old);
      from = found + old.size();
    }
    return TextValue(result + text.substr(from));
  });
}

// REPLACE: `count` characters from character `start` (from 1) become
// `new`; a start below 1 or a count below 0 is #VALUE!.
Value Replace(const BuiltinCall& c) {
  return Texts(c, 4, Arg2 | Arg3, 0, [](const Taken& t) {
    const double start = t.number[1], count = t.number[2];
    if (start < 1 || count < 0) return ErrorValue(xlerrValue);
    const auto before = static_cast<size_t>(std::min(start, Unbounded)) - 1;
    const auto after = before + static_cast<size_t>(std::min(count, Unbounded));
    return TextValue(Characters(t.text[0], 0, before) + t.text[3] + Characters(t.text[0], after, Unbounded));
  });
}

// SEARCH: like FIND, ignoring case, and `find` may hold Excel's wildcards.
// xllhost searches ASCII texts only: beyond it, case follows Unicode's
// tables and ? stands for a whole character.
Value Search(const BuiltinCall& c) {
  return Texts(c, 3, Arg3, 1, [&](const Taken& t) {
    const std::string &find = t.text[0], &within = t.text[1];
    const double start = t.number[2];
    if (!IsAscii(find) || !IsAscii(within)) return c.NotCalculated("SEARCH in a text beyond ASCII");
    if (start < 1 || start > static_cast<double>(within.size()) + 1) return ErrorValue(xlerrValue);
    for (auto at = static_cast<size_t>(start) - 1; at <= within.size(); ++at)
      if (MatchesWildcards(find + "*", within.substr(at))) return NumberValue(static_cast<double>(at + 1));
    return ErrorValue(xlerrValue);
  });
}

Value Exact(const BuiltinCall& c) {
  return Texts(c, 2, 0, 0, [](const Taken& t) { return BooleanValue(t.text[0] == t.text[1]); });
}

// CLEAN takes away the first 32 ASCII codes, the characters that do not
// print; other control characters stay, as Microsoft's help says.
Value Clean(const BuiltinCall& c) {
  return Texts(c, 1, 0, 0, [](const Taken& t) {
    std::string cleaned;
    for (char ch : t.text[0])
      if (static_cast<unsigned char>(ch) >= 32) cleaned += ch;
    return TextValue(cleaned);
  });
}

// PROPER: a letter after a character that is not a letter is upper case,
// every other lower case ("don't" is "Don'T"). As with UPPER, a text
// beyond ASCII is left uncalculated.
Value Proper(const BuiltinCall& c) {
  return Texts(c, 1, 0, 0, [&](const Taken& t) {
    if (!IsAscii(t.text[0])) return c.NotCalculated("PROPER of a character beyond ASCII follows Unicode's case tables");
    std::string proper = t.text[0];
    bool afterLetter = false;
    for (char& ch : proper) {
      const int code = static_cast<unsigned char>(ch);
      ch = static_cast<char>(afterLetter ? std::tolower(code) : std::toupper(code));
      afterLetter = std::isalpha(code) != 0;
    }
    return TextValue(proper);
  });
}

// TEXT(value, format): a number, or a text that reads as one, written in
// the format; another text through the format's section for texts; a
// Boolean as it shows. A text holding digits that does not read as a
// number may be a date, which xllhost does not read: left uncalculated.
Value TextFormatted(const BuiltinCall& c) {
  return ElementWise({c.Scalar(0), c.Scalar(1)}, [&](const std::vector<Value>& v) {
    std::string format, text, why;
    Value error;
    if (v[0].Is(xltypeErr)) return v[0];
    if (!AsText(v[1], &format, &error)) return error;
    if (v[0].Is(xltypeBool)) return TextValue(v[0].boolean ? "TRUE" : "FALSE");
    double number = 0;
    bool written = false;
    if (v[0].Is(xltypeNil) || AsNumber(v[0], &number, &error)) {
      written = FormatNumber(number, format, &text, &why);
    } else {
      if (v[0].text.find_first_of("0123456789") != std::string::npos) why = "TEXT of a text that may be a date";
      else written = FormatText(v[0].text, format, &text, &why);
    }
    if (written) return TextValue(text);
    return c.NotCalculated(why);
  });
}

namespace {

// TEXTBEFORE and TEXTAFTER: the text before, or after, the delimiter's
// instance (from the end when below 0), matched with case or, for ASCII
// texts, without; with match_end the text's end (its start, from the end)
// stands for one more instance. Not found: if_not_found, else #N/A.
Value AroundDelimiter(const BuiltinCall& c, bool before) {
  std::vector<Value> given{c.Scalar(0), c.Scalar(1)};
  for (size_t i = 2; i < 5; ++i) given.push_back(c.Given(i) ? c.Scalar(i) : NumberValue(i == 2 ? 1 : 0));
  if (given[1].Is(xltypeMulti)) return c.NotCalculated("TEXTBEFORE or TEXTAFTER of several delimiters");
  const Value notFound = c.Given(5) ? c.Scalar(5) : ErrorValue(xlerrNA);
  return ElementWise(given, [&](const std::vector<Value>& v) {
    std::string text, delimiter;
    double instance = 1, mode = 0, end = 0;
    Value error;
    if (!AsText(v[0], &text, &error) || !AsText(v[1], &delimiter, &error) || !AsNumber(v[2], &instance, &error) ||
        !AsNumber(v[3], &mode, &error) || !AsNumber(v[4], &end, &error))
      return error;
    instance = std::trunc(instance);
    if (instance == 0 || std::fabs(instance) > static_cast<double>(Utf16Length(text))) return ErrorValue(xlerrValue);
    if (mode != 0 && !(IsAscii(text) && IsAscii(delimiter)))
      return c.NotCalculated("TEXTBEFORE or TEXTAFTER without case beyond ASCII");
    const std::string haystack = mode != 0 ? Upper(text) : text, needle = mode != 0 ? Upper(delimiter) : delimiter;
    std::vector<size_t> starts;  // every instance, left to right
    for (size_t at = 0; !needle.empty() && (at = haystack.find(needle, at)) != std::string::npos; at += needle.size())
      starts.push_back(at);
    const auto wanted = static_cast<size_t>(std::fabs(instance));
    size_t cut = 0, length = needle.size();
    if (needle.empty()) {
      cut = instance > 0 ? 0 : text.size();
    } else if (starts.size() >= wanted) {
      cut = instance > 0 ? starts[wanted - 1] : starts[starts.size() - wanted];
    } else if (end != 0 && starts.size() == wanted - 1) {
      cut = instance > 0 ? text.size() : 0, length = 0;
    } else {
      return notFound;
    }
    return TextValue(before ? text.substr(0, cut) : text.substr(std::min(text.size(), cut + length)));
  });
}

}  // namespace

Value TextBefore(const BuiltinCall& c) { return AroundDelimiter(c, true); }
Value TextAfter(const BuiltinCall& c) { return AroundDelimiter(c, false); }

}  // namespace xllhost
