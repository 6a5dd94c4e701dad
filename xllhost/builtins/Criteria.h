// How Excel's functions match values: texts against wildcards (the exact
// lookups, MATCH, SUMIF, COUNTIF) and cells against a criterion (SUMIF,
// COUNTIF).
#pragma once

#include <string>

#include "records/Values.h"

namespace xllhost {

// Whether a text matches a pattern of Excel's wildcards, ignoring case: ?
// stands for one character, * for any run, ~ makes the next one plain.
bool MatchesWildcards(const std::string& pattern, const std::string& text);

// A criterion as SUMIF and COUNTIF take it: a value, which a cell equals,
// or a text of an operator (=, <>, <, <=, >, >=) and an operand.
class Criterion {
 public:
  explicit Criterion(const Value& criterion);
  bool Matches(const Value& cell) const;

 private:
  enum class Test { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual } test_ = Test::Equal;
  Value operand_;  // a number, a Boolean, a text, an error, or nil for an empty cell
  bool orEmptyText_ = false;  // the criterion "": a cell holding "" meets it too, unlike "="
};

}  // namespace xllhost
