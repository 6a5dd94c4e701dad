// Excel's binary operators: one row each, with the text a formula writes and
// how tightly it binds, which the reader, the writer and the evaluation share.
#pragma once

#include <vector>

namespace xllhost {

// Excel's binary operators.
enum class Operator { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual, Concatenate, Add, Subtract, Multiply,
                      Divide, Power };

// An operator as written, and how tightly it binds: levels from 0, the
// loosest, to OperatorLevels - 1; operators of one level group from the left.
struct OperatorRow {
  Operator op;
  const char* text;
  int level;
};
constexpr int OperatorLevels = 5;
// One row per operator, by level, and within a level the longer texts
// first, as the reader tries them.
const std::vector<OperatorRow>& Operators();
const OperatorRow& RowOf(Operator op);

}  // namespace xllhost
