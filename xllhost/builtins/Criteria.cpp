#include "builtins/Criteria.h"

#include "builtins/Operators.h"
#include "records/Coerce.h"

namespace xllhost {
namespace {

bool Wildcards(const char* pattern, const char* text) {
  for (; *pattern != 0; ++pattern, ++text) {
    if (*pattern == '*') {
      for (;; ++text) {
        if (Wildcards(pattern + 1, text)) return true;
        if (*text == 0) return false;
      }
    }
    if (*pattern == '~' && (pattern[1] == '*' || pattern[1] == '?' || pattern[1] == '~'))
      ++pattern;
    else if (*pattern == '?' && *text != 0)
      continue;
    if (*pattern != *text) return false;
  }
  return *text == 0;
}

}  // namespace

bool MatchesWildcards(const std::string& pattern, const std::string& text) {
  return Wildcards(Upper(pattern).c_str(), Upper(text).c_str());
}

Criterion::Criterion(const Value& criterion) : operand_(criterion) {
  if (!criterion.Is(xltypeStr)) return;
  orEmptyText_ = criterion.text.empty();
  // The longer operators first.
  static const std::pair<const char*, Test> operators[] = {{"<=", Test::LessEqual}, {">=", Test::GreaterEqual},
                                                           {"<>", Test::NotEqual},  {"<", Test::Less},
                                                           {">", Test::Greater},    {"=", Test::Equal}};
  std::string text = criterion.text;
  for (const auto& [written, test] : operators)
    if (text.rfind(written, 0) == 0) {
      test_ = test;
      text.erase(0, std::char_traits<char>::length(written));
      break;
    }
  // The operand is a number, a Boolean or an error when it reads as one.
  Value read;
  if (text.empty())
    operand_ = Value{};
  else if (CoerceValue(TextValue(text), xltypeNum, Interface::Excel12, &read))
    operand_ = read;
  else if (Upper(text) == "TRUE" || Upper(text) == "FALSE")
    operand_ = BooleanValue(Upper(text) == "TRUE");
  else
    operand_ = TextValue(text);
}

bool Criterion::Matches(const Value& cell) const {
  const bool empty = cell.Is(xltypeNil) || cell.Is(xltypeMissing);
  if (operand_.Is(xltypeNil)) {
    if (orEmptyText_ && cell.Is(xltypeStr) && cell.text.empty()) return true;
    return (test_ == Test::NotEqual) != empty;  // "=": empty cells; "<>": the rest
  }
  // A cell of another kind than the operand equals nothing, and differs.
  if (!SameKind(cell, operand_)) return test_ == Test::NotEqual;
  if (cell.Is(xltypeErr)) return (cell.err == operand_.err) != (test_ == Test::NotEqual);
  if (cell.Is(xltypeStr) && (test_ == Test::Equal || test_ == Test::NotEqual))
    return MatchesWildcards(operand_.text, cell.text) != (test_ == Test::NotEqual);
  const int order = Order(cell, operand_);
  switch (test_) {
    case Test::Equal: return order == 0;
    case Test::NotEqual: return order != 0;
    case Test::Less: return order < 0;
    case Test::LessEqual: return order <= 0;
    case Test::Greater: return order > 0;
    default: return order >= 0;
  }
}

}  // namespace xllhost
