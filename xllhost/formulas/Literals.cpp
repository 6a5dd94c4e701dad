#include "formulas/Literals.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "formulas/Reference.h"

namespace xllhost {

// Excel's rules for names (Microsoft's help, "Define and use names in
// formulas"): a name starts with a letter, "_" or "\" and goes on with
// letters, digits, "_", ".", "\" and "?". A byte past ASCII is part of a
// letter of the UTF-8 text.
bool IsNameStart(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return std::isalpha(byte) || c == '_' || c == '\\' || byte >= 0x80;
}
bool IsNameChar(char c) {
  return IsNameStart(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '?';
}

bool IsNameText(const std::string& name) {
  return !name.empty() && IsNameStart(name[0]) && std::all_of(name.begin(), name.end(), IsNameChar);
}

namespace {

// R and C alone, and R1C1's cells (R2C3, RC, R4C), are references.
bool IsR1C1Cell(const std::string& name) {
  const std::string upper = Upper(name);
  size_t at = 0;
  auto digits = [&] {
    while (at < upper.size() && std::isdigit(static_cast<unsigned char>(upper[at]))) ++at;
  };
  if (at < upper.size() && upper[at] == 'R') ++at, digits();
  if (at < upper.size() && upper[at] == 'C') ++at, digits();
  return at > 0 && at == upper.size();
}

}  // namespace

bool LiteralReader::Constant(Value* value) {
  SkipSpaces();
  if (at_ >= text_.size()) return Error("expected a value");
  if (Peek('"')) return Text(value);
  if (Peek('#')) return ErrorLiteral(value);
  const char c = text_[at_];
  if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') return Number(value);
  for (const char* word : {"TRUE", "FALSE"}) {
    const size_t length = std::char_traits<char>::length(word);
    if (Upper(text_.substr(at_, length)) == word &&
        (at_ + length >= text_.size() || !IsNameChar(text_[at_ + length]))) {
      at_ += length;
      *value = BooleanValue(word[0] == 'T');
      return true;
    }
  }
  return Error("expected a number, a text in quotes, TRUE, FALSE or an error");
}

bool ReadQuoted(const std::string& text, size_t at, std::string* quoted, size_t* end) {
  const char quote = text[at];
  quoted->clear();
  for (++at; at < text.size(); ++at) {
    if (text[at] != quote) {
      *quoted += text[at];
    } else if (at + 1 < text.size() && text[at + 1] == quote) {
      *quoted += quote;
      ++at;
    } else {
      *end = at + 1;
      return true;
    }
  }
  *end = text.size();
  return false;
}

bool SplitSheet(const std::string& text, std::string* sheet, std::string* rest) {
  sheet->clear();
  *rest = text;
  if (!text.empty() && text[0] == '\'') {
    size_t end = 0;
    if (!ReadQuoted(text, 0, sheet, &end) || end >= text.size() || text[end] != '!') return false;
    *rest = text.substr(end + 1);
  } else if (const size_t bang = text.rfind('!'); bang != std::string::npos) {
    *sheet = text.substr(0, bang);
    *rest = text.substr(bang + 1);
  }
  return true;
}

bool LiteralReader::Quoted(std::string* quoted) { return ReadQuoted(text_, at_, quoted, &at_); }

bool LiteralReader::Text(Value* value) {
  std::string text;
  if (!Quoted(&text)) return Error("a text without its closing quote");
  *value = TextValue(text);
  return true;
}

bool LiteralReader::ErrorLiteral(Value* value) {
  for (std::uint16_t err : {xlerrNull, xlerrDiv0, xlerrValue, xlerrRef, xlerrName, xlerrNum, xlerrNA}) {
    const std::string shown = ErrorText(err);
    if (Upper(text_.substr(at_, shown.size())) == shown) {
      at_ += shown.size();
      *value = ErrorValue(err);
      return true;
    }
  }
  return Error("an unknown error value");
}

bool LiteralReader::Number(Value* value) {
  size_t end = at_;
  while (end < text_.size() && (std::isdigit(static_cast<unsigned char>(text_[end])) || text_[end] == '.')) ++end;
  if (end < text_.size() && (text_[end] == 'e' || text_[end] == 'E')) {
    size_t exponent = end + 1;
    if (exponent < text_.size() && (text_[exponent] == '+' || text_[exponent] == '-')) ++exponent;
    if (exponent < text_.size() && std::isdigit(static_cast<unsigned char>(text_[exponent]))) {
      end = exponent;
      while (end < text_.size() && std::isdigit(static_cast<unsigned char>(text_[end]))) ++end;
    }
  }
  const std::string digits = text_.substr(at_, end - at_);
  char* stop = nullptr;
  const double number = std::strtod(digits.c_str(), &stop);
  if (digits.empty() || stop != digits.c_str() + digits.size()) return Error("expected a number");
  if (!std::isfinite(number)) return Error("a number beyond the range of a double");
  at_ = end;
  *value = NumberValue(number);
  return true;
}

bool LiteralReader::Array(Value* value, int depth) {
  if (depth + 1 > MaxNesting) return Error("nested deeper than " + std::to_string(MaxNesting) + " levels");
  ++at_;
  Value array;
  array.xltype = xltypeMulti;
  int columns = 0;
  for (;;) {
    int inRow = 0;
    for (;;) {
      SkipSpaces();
      bool negative = false;
      if (Peek('-') || Peek('+')) {
        negative = Peek('-');
        ++at_;
        SkipSpaces();
      }
      Value element;  // an empty element is nil, as Excel passes a literal array's missing elements
      if (!negative && (Peek(',') || Peek(';') || Peek('}'))) {
        array.elements.push_back(element);
        ++inRow;
        if (!Peek(',')) break;
        ++at_;
        continue;
      }
      if (!Constant(&element)) return false;
      if (negative && !element.Is(xltypeNum)) return Error("a sign before what is no number");
      if (negative) element.num = -element.num;
      array.elements.push_back(element);
      ++inRow;
      SkipSpaces();
      if (!Peek(',')) break;
      ++at_;
    }
    if (array.rows == 0) columns = inRow;
    if (inRow != columns) return Error("array rows of different lengths");
    ++array.rows;
    SkipSpaces();
    if (Peek(';')) {
      ++at_;
      continue;
    }
    if (!Peek('}')) return Error("expected \"}\"");
    ++at_;
    break;
  }
  array.columns = columns;
  *value = array;
  return true;
}

std::string CalledName(const std::string& written, bool* addIn) {
  std::string name = Upper(written);
  const bool xll = name.rfind("_XLL.", 0) == 0;
  if (addIn != nullptr) *addIn = xll;
  if (xll) return name.substr(5);
  for (const char* prefix : {"_XLFN._XLWS.", "_XLFN.", "_XLWS."})
    if (name.rfind(prefix, 0) == 0) return name.substr(std::char_traits<char>::length(prefix));
  return name;
}

bool IsWorksheetName(const std::string& name) {
  Area cell;
  return name.size() <= MaxNameLength && IsNameText(name) && !ReadArea(name, &cell) && !IsR1C1Cell(name);
}

namespace {

class ValueReader : public LiteralReader {
 public:
  using LiteralReader::LiteralReader;
  bool Read(Value* value) {
    SkipSpaces();
    const bool negative = Peek('-');
    if (negative || Peek('+')) ++at_;
    if (!(Peek('{') ? Array(value, 0) : Constant(value))) return false;
    if (negative && !value->Is(xltypeNum)) return false;
    if (negative) value->num = -value->num;
    SkipSpaces();
    return at_ == text_.size();
  }
};

}  // namespace

bool ReadValue(const std::string& text, Value* value) { return ValueReader(text).Read(value); }

}  // namespace xllhost
