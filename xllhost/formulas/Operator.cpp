#include "formulas/Operator.h"

namespace xllhost {

const std::vector<OperatorRow>& Operators() {
  static const std::vector<OperatorRow> rows = {
      {Operator::NotEqual, "<>", 0}, {Operator::LessEqual, "<=", 0}, {Operator::GreaterEqual, ">=", 0},
      {Operator::Equal, "=", 0},     {Operator::Less, "<", 0},       {Operator::Greater, ">", 0},
      {Operator::Concatenate, "&", 1}, {Operator::Add, "+", 2},      {Operator::Subtract, "-", 2},
      {Operator::Multiply, "*", 3},  {Operator::Divide, "/", 3},     {Operator::Power, "^", 4}};
  return rows;
}

const OperatorRow& RowOf(Operator op) {
  for (const OperatorRow& row : Operators())
    if (row.op == op) return row;
  return Operators().front();  // every operator has a row
}

}  // namespace xllhost
