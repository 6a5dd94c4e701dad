// Formulas as Excel writes them: literals, references (A1, $A$1, A1:B3,
// A:A, 1:1, Sheet2!A1, 'My Sheet'!A1:B2), defined names (Rate,
// Sheet1!Local), calls of functions (nested, with the _xll. prefix Excel
// saves before an add-in's function, or _xlfn. before a newer built-in),
// and the operators, by Excel's precedence from the tightest: unary minus
// and plus, %, ^, * and /, + and -, &, then = <> < <= > >=.
#pragma once

#include <string>
#include <vector>

#include "formulas/Literals.h"
#include "formulas/Operator.h"
#include "formulas/Reference.h"
#include "records/Values.h"

namespace xllhost {

enum class ExprKind { Literal, Missing, Reference, Name, Call, Negate, Plus, Percent, Binary };

// One node of a formula. References keep a relative part as an offset from
// the formula's own cell, so formulas that differ only by where they stand
// (=A1+B1 in C1, =A2+B2 in C2) read the same and can be shared.
struct Expr {
  ExprKind kind = ExprKind::Literal;
  Value literal;       // Literal
  std::string sheet;   // Reference, Name: the sheet written before "!", or empty
  std::string name;    // Name; Call: the function as written
  Operator op = Operator::Add;  // Binary
  std::string called;  // Call: the function, upper-cased, without _xll. or _xlfn. (CalledName)
  bool addIn = false;  // Call: written with _xll.
  Corner first, last;  // Reference
  std::vector<Expr> operands;  // Call: the arguments; operators: their operands
};

struct Formula {
  Expr root;
  // Calls of functions the formula makes, upper-cased and without the
  // _xll. or _xlfn. prefix, each once.
  std::vector<std::string> calls;
  // Some call is written with _xll.: Excel saved it as an add-in's function.
  bool callsAddInWritten = false;
};

// Reads a formula, which starts with "=", standing in the cell at
// (row, column); on failure says why.
bool ParseFormula(const std::string& text, int row, int column, Formula* formula, std::string* why);

}  // namespace xllhost
