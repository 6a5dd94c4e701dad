// How Excel's functions match values: texts against wildcards (the exact
// lookups, MATCH, SUMIF, COUNTIF), a key among keys (the lookups) and
// cells against a criterion (SUMIF, COUNTIF and the others of criteria).
#pragma once

#include <string>

#include "builtins/Operators.h"
#include "records/Values.h"

namespace xllhost {

// Whether a text matches a pattern of Excel's wildcards, ignoring case: ?
// stands for one character, * for any run, ~ makes the next one plain.
bool MatchesWildcards(const std::string& pattern, const std::string& text);

// Where the key stands among `count` keys, from 0, or -1 for nowhere, by
// Excel's match type: 0 the first equal key (texts by Excel's wildcards), 1
// the last key not above it, -1 the last not below it, among the keys of its
// kind: on keys sorted as the type asks (ascending, descending), Excel's answer.
template <typename At>
int Position(int count, At at, const Value& key, int type) {
  int found = -1;
  for (int i = 0; i < count; ++i) {
    const Value& candidate = at(i);
    if (!SameKind(candidate, key)) continue;
    const int order = Order(candidate, key);
    if (type == 0) {
      if (key.Is(xltypeStr) ? MatchesWildcards(key.text, candidate.text) : order == 0) return i;
      continue;
    }
    if (type > 0 ? order > 0 : order < 0) break;
    found = i;
  }
  return found;
}

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
