#include "Formula.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>


namespace xllhost {
namespace {

class Parser {
 public:
  explicit Parser(const std::string& text) : text_(text) {}

  bool Parse(Formula* formula) {
    if (!Expect('=')) return false;
    SkipSpaces();
    size_t start = at_;
    while (at_ < text_.size() && (std::isalnum(Byte()) || text_[at_] == '_' || text_[at_] == '.')) ++at_;
    std::string word = text_.substr(start, at_ - start);
    SkipSpaces();
    if (!word.empty() && Peek('(') && IsWorksheetName(word)) {
      formula->isCall = true;
      formula->name = word;
      ++at_;
      if (!Arguments(&formula->args)) return false;
    } else {
      at_ = start;
      if (!Literal(&formula->literal, true)) return false;
    }
    SkipSpaces();
    if (at_ != text_.size()) return Error("unexpected \"" + text_.substr(at_) + "\"");
    return true;
  }

  const std::string& Why() const { return why_; }

 private:
  unsigned char Byte() const { return static_cast<unsigned char>(text_[at_]); }
  bool Peek(char c) const { return at_ < text_.size() && text_[at_] == c; }
  void SkipSpaces() {
    while (at_ < text_.size() && text_[at_] == ' ') ++at_;
  }
  bool Error(const std::string& why) {
    if (why_.empty()) why_ = why + " at position " + std::to_string(at_ + 1);
    return false;
  }
  bool Expect(char c) {
    SkipSpaces();
    if (!Peek(c)) return Error(std::string("expected \"") + c + "\"");
    ++at_;
    return true;
  }

  // Comma-separated, up to the closing parenthesis; an empty one is missing.
  bool Arguments(std::vector<Value>* args) {
    SkipSpaces();
    if (Peek(')')) {
      ++at_;
      return true;
    }
    for (;;) {
      SkipSpaces();
      Value arg = MissingValue();
      if (!Peek(',') && !Peek(')') && !Literal(&arg, true)) return false;
      args->push_back(arg);
      SkipSpaces();
      if (Peek(')')) {
        ++at_;
        return true;
      }
      if (!Expect(',')) return false;
    }
  }

  bool Literal(Value* value, bool arrayAllowed) {
    SkipSpaces();
    if (at_ >= text_.size()) return Error("expected a value");
    if (Peek('"')) return Text(value);
    if (Peek('#')) return ErrorLiteral(value);
    if (Peek('{')) return arrayAllowed ? Array(value) : Error("an array inside an array");
    if (std::isdigit(Byte()) || Peek('-') || Peek('+') || Peek('.')) return Number(value);
    for (const char* word : {"TRUE", "FALSE"}) {
      size_t length = std::string(word).size();
      std::string candidate = Upper(text_.substr(at_, length));
      bool ends = at_ + length >= text_.size() || !std::isalnum(static_cast<unsigned char>(text_[at_ + length]));
      if (candidate == word && ends) {
        at_ += length;
        *value = BooleanValue(candidate == "TRUE");
        return true;
      }
    }
    return Error("expected a number, a text in quotes, TRUE, FALSE, an error or an array");
  }

  // "" inside quotes is one quote.
  bool Text(Value* value) {
    std::string text;
    for (++at_; at_ < text_.size(); ++at_) {
      if (text_[at_] != '"') {
        text += text_[at_];
      } else if (at_ + 1 < text_.size() && text_[at_ + 1] == '"') {
        text += '"';
        ++at_;
      } else {
        ++at_;
        *value = TextValue(text);
        return true;
      }
    }
    return Error("a text without its closing quote");
  }

  // An error value as a cell shows it, in any case; #GETTING_DATA is shown,
  // never typed.
  bool ErrorLiteral(Value* value) {
    size_t end = text_.find_first_of(",;)} ", at_);
    std::uint16_t err = 0;
    if (!ErrorCode(Upper(text_.substr(at_, end - at_)), &err) || err == xlerrGettingData)
      return Error("an unknown error value");
    at_ = end == std::string::npos ? text_.size() : end;
    *value = ErrorValue(err);
    return true;
  }

  bool Number(Value* value) {
    const char* start = text_.c_str() + at_;
    char* end = nullptr;
    double number = std::strtod(start, &end);
    if (end == start || std::string(start, static_cast<const char*>(end)).find_first_of("xXnNiI") != std::string::npos)
      return Error("expected a number");
    at_ += static_cast<size_t>(end - start);
    *value = NumberValue(number);
    return true;
  }

  // Rows separated by ";", elements by ","; an empty element is nil, as
  // Excel passes missing elements of a literal array.
  bool Array(Value* value) {
    ++at_;
    Value array;
    array.xltype = xltypeMulti;
    int columns = 0;
    for (;;) {
      int inRow = 0;
      for (;;) {
        SkipSpaces();
        Value element;
        if (!Peek(',') && !Peek(';') && !Peek('}') && !Literal(&element, false)) return false;
        array.elements.push_back(element);
        ++inRow;
        SkipSpaces();
        if (!Peek(',')) break;
        ++at_;
      }
      if (array.rows == 0) columns = inRow;
      if (inRow != columns) return Error("array rows of different lengths");
      ++array.rows;
      if (Peek(';')) {
        ++at_;
        continue;
      }
      if (!Expect('}')) return false;
      break;
    }
    array.columns = columns;
    *value = array;
    return true;
  }

  const std::string& text_;
  size_t at_ = 0;
  std::string why_;
};

}  // namespace

bool ParseFormula(const std::string& text, Formula* formula, std::string* why) {
  Parser parser(text);
  Formula parsed;
  if (!parser.Parse(&parsed)) {
    *why = parser.Why();
    return false;
  }
  *formula = parsed;
  return true;
}

bool IsWorksheetName(const std::string& name) {
  if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_')) return false;
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; });
}

}  // namespace xllhost
