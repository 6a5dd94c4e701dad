#include "formulas/FormulaText.h"

#include <algorithm>
#include <cstdio>

namespace xllhost {
namespace {

// A sheet name as a formula writes it: in quotes unless it is a plain name.
std::string SheetPrefix(const std::string& sheet) {
  if (sheet.empty()) return "";
  bool plain = IsNameStart(sheet[0]);
  for (char c : sheet) plain = plain && IsNameChar(c);
  Area looksLikeCell;
  if (plain && !ReadArea(sheet, &looksLikeCell)) return sheet + "!";
  std::string quoted = "'";
  for (char c : sheet) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted + "'!";
}

std::string NumberText(double number) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.17G", number);
  return buffer;
}

std::string ConstantText(const Value& value) {
  switch (value.Type()) {
    case xltypeNum: return NumberText(value.num);
    case xltypeStr: {
      std::string quoted = "\"";
      for (char c : value.text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
      return quoted + "\"";
    }
    case xltypeBool: return value.boolean ? "TRUE" : "FALSE";
    case xltypeErr: return ErrorText(value.err);
    case xltypeMulti: {
      std::string text = "{";
      for (size_t i = 0; i < value.elements.size(); ++i) {
        if (i > 0) text += i % static_cast<size_t>(value.columns) == 0 ? ";" : ",";
        text += ConstantText(value.elements[i]);
      }
      return text + "}";
    }
    default: return "";
  }
}

// One part of an R1C1 corner: R5 fixed, R[-1] relative, R for the row the
// formula stands in.
std::string R1C1Part(char letter, int at, bool fixed) {
  if (fixed) return letter + std::to_string(at + 1);
  return at == 0 ? std::string(1, letter) : letter + ("[" + std::to_string(at) + "]");
}

// A corner in A1 form at (row, column), or with `key` in R1C1 form, which
// is the same wherever the formula stands.
std::string CornerText(const Corner& corner, int row, int column, bool key) {
  if (key)
    return (corner.hasRow ? R1C1Part('R', corner.row, corner.rowFixed) : "") +
           (corner.hasColumn ? R1C1Part('C', corner.column, corner.columnFixed) : "");
  std::string text;
  if (corner.hasColumn)
    text += (corner.columnFixed ? "$" : "") + ColumnName(corner.columnFixed ? corner.column : corner.column + column);
  if (corner.hasRow)
    text += (corner.rowFixed ? "$" : "") + std::to_string((corner.rowFixed ? corner.row : corner.row + row) + 1);
  return text;
}

// How tightly a node binds, as the parser reads: binary operators by their
// level (Levels), then signs, then %, then everything else.
int Binding(const Expr& expr) {
  switch (expr.kind) {
    case ExprKind::Binary: return RowOf(expr.op).level;
    case ExprKind::Negate:
    case ExprKind::Plus: return OperatorLevels;
    case ExprKind::Percent: return OperatorLevels + 1;
    default: return OperatorLevels + 2;
  }
}

std::string Print(const Expr& expr, int row, int column, bool key);

// An operand in parentheses when it binds less tightly than `least`.
std::string Operand(const Expr& operand, int least, int row, int column, bool key) {
  const std::string text = Print(operand, row, column, key);
  return Binding(operand) < least ? "(" + text + ")" : text;
}

bool IsSign(const Expr& expr) { return expr.kind == ExprKind::Negate || expr.kind == ExprKind::Plus; }

// How many signs follow one another from this node down.
size_t SignRun(const Expr* expr) {
  size_t run = 0;
  for (; IsSign(*expr); expr = &expr->operands[0]) ++run;
  return run;
}

std::string Print(const Expr& expr, int row, int column, bool key) {
  switch (expr.kind) {
    case ExprKind::Literal: return ConstantText(expr.literal);
    case ExprKind::Missing: return "";
    case ExprKind::Reference: {
      std::string text = SheetPrefix(expr.sheet) + CornerText(expr.first, row, column, key);
      const bool cell = expr.first.hasRow && expr.first.hasColumn;
      if (!cell || expr.first.row != expr.last.row || expr.first.column != expr.last.column ||
          expr.first.rowFixed != expr.last.rowFixed || expr.first.columnFixed != expr.last.columnFixed)
        text += ":" + CornerText(expr.last, row, column, key);
      return text;
    }
    case ExprKind::Name: return SheetPrefix(expr.sheet) + expr.name;
    case ExprKind::Call: {
      std::string text = expr.name + "(";
      for (size_t i = 0; i < expr.operands.size(); ++i)
        text += (i > 0 ? "," : "") + Print(expr.operands[i], row, column, key);
      return text + ")";
    }
    case ExprKind::Negate:
    case ExprKind::Plus: {
      // Signs in parentheses are read as runs of their own, each of at most
      // MaxNesting signs: a longer run, written whole, would not be read.
      const Expr& operand = expr.operands[0];
      const std::string sign = expr.kind == ExprKind::Negate ? "-" : "+";
      if (IsSign(operand) && SignRun(&operand) % static_cast<size_t>(MaxNesting) == 0)
        return sign + "(" + Print(operand, row, column, key) + ")";
      return sign + Operand(operand, Binding(expr), row, column, key);
    }
    case ExprKind::Percent: return Operand(expr.operands[0], Binding(expr), row, column, key) + "%";
    case ExprKind::Binary: {
      // Operators of one level group from the left: a right operand of the
      // same level keeps its parentheses.
      const int level = Binding(expr);
      return Operand(expr.operands[0], level, row, column, key) + RowOf(expr.op).text +
             Operand(expr.operands[1], level + 1, row, column, key);
    }
  }
  return "";
}

}  // namespace

std::string PrintFormula(const Formula& formula, int row, int column) {
  return "=" + Print(formula.root, row, column, false);
}

std::string FormulaKey(const Formula& formula) { return Print(formula.root, 0, 0, true); }

}  // namespace xllhost
