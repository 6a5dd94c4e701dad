// The literals of a formula: numbers, texts in quotes, TRUE and FALSE,
// errors, and arrays of these; the names of functions; and the cursor the
// formula reader reads with.
#pragma once

#include <string>

#include "records/Values.h"

namespace xllhost {

// Excel keeps a formula to 8,192 characters and 64 levels of nested
// functions; xllhost reads at most this many levels of nesting of any
// kind, which is more than any formula Excel saves needs, and refuses a
// deeper one rather than recursing without bound.
constexpr size_t MaxFormulaLength = 8192;
constexpr int MaxNesting = 100;

// The characters a name starts with and goes on with, and a text of them.
bool IsNameStart(char c);
bool IsNameChar(char c);
bool IsNameText(const std::string& name);

// The function a call names, upper-cased, without _xll. or _xlfn.; and
// whether it was written with _xll., as Excel saves an add-in's function.
std::string CalledName(const std::string& written, bool* addIn = nullptr);

// Whether the text can be a defined name: a name's characters, at most 255
// of them, and no cell's reference in either style (A1, R1C1; "abcd12", past the last column, is a
// name).
constexpr size_t MaxNameLength = 255;
bool IsWorksheetName(const std::string& name);

// At the quote at `at`, what stands up to the closing one, a doubled quote
// standing for one: a text in double quotes, a sheet's name in single ones
// ('Q1 ''Plan''' is Q1 'Plan'). `end` receives where the text after the
// closing quote starts; false when the text ends first. The one reader of
// quotes, for formulas and the text form of cells alike.
bool ReadQuoted(const std::string& text, size_t at, std::string* quoted, size_t* end);

// A sheet's name before "!", quoted or plain, as a formula writes it: `sheet`
// receives it (empty when none is written) and `rest` what follows the "!".
// False for a quoted name not followed by "!".
bool SplitSheet(const std::string& text, std::string* sheet, std::string* rest);

// A value written as a formula writes a constant: a number with its sign, a
// text, TRUE or FALSE, an error, or an array of them. It has no limit of
// length, for what Excel saved of a large array block.
bool ReadValue(const std::string& text, Value* value);

// A text read from its start; the first error met, with its position, is
// the reason it is refused.
class LiteralReader {
 public:
  explicit LiteralReader(const std::string& text) : text_(text) {}
  const std::string& Why() const { return why_; }

 protected:
  bool Peek(char c) const { return at_ < text_.size() && text_[at_] == c; }
  bool PeekWord(std::string_view word) const { return text_.compare(at_, word.size(), word) == 0; }
  void SkipSpaces() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\r')) ++at_;
  }
  bool Error(const std::string& why) {
    if (why_.empty()) why_ = why + " at position " + std::to_string(at_ + 1);
    return false;
  }

  // At a quote, what stands up to the closing one, a doubled quote standing
  // for one; false when the text ends first.
  bool Quoted(std::string* quoted);
  // A number, a text, TRUE or FALSE, or an error.
  bool Constant(Value* value);
  // "" inside quotes is one quote.
  bool Text(Value* value);
  // An error value as a cell shows it, in any case; #GETTING_DATA is shown, never typed.
  bool ErrorLiteral(Value* value);
  bool Number(Value* value);
  // At "{": rows separated by ";", elements by ","; an element may carry a
  // sign, and an empty one is nil. `depth` is the nesting it stands at.
  bool Array(Value* value, int depth);

  const std::string& text_;
  size_t at_ = 0;
  std::string why_;
};

}  // namespace xllhost
