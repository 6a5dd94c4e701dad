#include "Formula.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace xllhost {
namespace {

bool IsNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '\\'; }
bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '\\' || c == '?';
}

// The binary operators from the loosest to the tightest.
const std::vector<std::vector<std::string>> Levels = {
    {"<>", "<=", ">=", "=", "<", ">"}, {"&"}, {"+", "-"}, {"*", "/"}, {"^"}};

class Parser {
 public:
  Parser(const std::string& text, int row, int column) : text_(text), row_(row), column_(column) {}

  bool Parse(Formula* formula) {
    if (text_.size() > MaxFormulaLength)
      return Error("longer than the " + std::to_string(MaxFormulaLength) + " characters Excel allows");
    SkipSpaces();
    if (!Peek('=')) return Error("expected \"=\"");
    ++at_;
    if (!Expression(&formula->root, 0)) return false;
    SkipSpaces();
    if (at_ != text_.size()) return Error("unexpected \"" + text_.substr(at_, 20) + "\"");
    return true;
  }

  const std::string& Why() const { return why_; }

 private:
  bool Peek(char c) const { return at_ < text_.size() && text_[at_] == c; }
  bool PeekWord(const std::string& word) const { return text_.compare(at_, word.size(), word) == 0; }
  void SkipSpaces() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\r')) ++at_;
  }
  bool Error(const std::string& why) {
    if (why_.empty()) why_ = why + " at position " + std::to_string(at_ + 1);
    return false;
  }

  bool Expression(Expr* expr, int depth) {
    if (depth > MaxNesting) return Error("nested deeper than " + std::to_string(MaxNesting) + " levels");
    return Binary(expr, 0, depth);
  }

  // Binary operators of one level, left to right, as Excel groups them.
  bool Binary(Expr* expr, size_t level, int depth) {
    if (level == Levels.size()) return Prefixed(expr, depth);
    if (!Binary(expr, level + 1, depth)) return false;
    for (;;) {
      SkipSpaces();
      const std::string* op = nullptr;
      for (const std::string& candidate : Levels[level])
        if (PeekWord(candidate)) {
          op = &candidate;
          break;
        }
      if (op == nullptr) return true;
      at_ += op->size();
      Expr right;
      if (!Binary(&right, level + 1, depth)) return false;
      Expr node;
      node.kind = ExprKind::Binary;
      node.name = *op;
      node.operands.push_back(std::move(*expr));
      node.operands.push_back(std::move(right));
      *expr = std::move(node);
    }
  }

  // Signs bind tighter than every binary operator, so -2^2 is 4; then %.
  bool Prefixed(Expr* expr, int depth) {
    SkipSpaces();
    std::vector<ExprKind> signs;
    while (Peek('-') || Peek('+')) {
      signs.push_back(Peek('-') ? ExprKind::Negate : ExprKind::Plus);
      ++at_;
      SkipSpaces();
      if (signs.size() > static_cast<size_t>(MaxNesting)) return Error("more signs than xllhost reads");
    }
    if (!Primary(expr, depth)) return false;
    for (SkipSpaces(); Peek('%'); SkipSpaces()) {
      ++at_;
      Wrap(expr, ExprKind::Percent);
    }
    for (auto sign = signs.rbegin(); sign != signs.rend(); ++sign) Wrap(expr, *sign);
    return true;
  }

  static void Wrap(Expr* expr, ExprKind kind) {
    Expr node;
    node.kind = kind;
    node.operands.push_back(std::move(*expr));
    *expr = std::move(node);
  }

  bool Primary(Expr* expr, int depth) {
    SkipSpaces();
    if (at_ >= text_.size()) return Error("expected a value");
    const char c = text_[at_];
    if (c == '(') {
      ++at_;
      if (!Expression(expr, depth + 1)) return false;
      SkipSpaces();
      if (!Peek(')')) return Error("expected \")\"");
      ++at_;
      return true;
    }
    if (c == '"' || c == '#' || c == '{') return Literal(expr, depth);
    if (c == '[') return Error("a reference to another workbook, which xllhost does not model");
    if (c == '\'') return QuotedSheet(expr);
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '$') {
      if (Reference(expr, "")) return true;
      if (!why_.empty() || c == '$') return Error("expected a reference");
      return Literal(expr, depth);
    }
    if (!IsNameStart(c)) return Error(std::string("unexpected \"") + c + "\"");
    const size_t start = at_;
    while (at_ < text_.size() && IsNameChar(text_[at_])) ++at_;
    const std::string word = text_.substr(start, at_ - start);
    if (Peek('!')) {
      ++at_;
      return Qualified(expr, word);
    }
    if (Peek('(')) {
      if (!IsWorksheetName(word)) return Error("\"" + word + "\" cannot name a function");
      ++at_;
      return Call(expr, word, depth);
    }
    const std::string upper = Upper(word);
    if (upper == "TRUE" || upper == "FALSE") {
      expr->kind = ExprKind::Literal;
      expr->literal = BooleanValue(upper == "TRUE");
      return true;
    }
    at_ = start;
    if (Reference(expr, "")) return true;
    if (!why_.empty()) return false;
    at_ = start + word.size();
    expr->kind = ExprKind::Name;
    expr->name = word;
    return true;
  }

  bool QuotedSheet(Expr* expr) {
    std::string sheet;
    for (++at_;; ++at_) {
      if (at_ >= text_.size()) return Error("a sheet name without its closing quote");
      if (text_[at_] != '\'') {
        sheet += text_[at_];
      } else if (at_ + 1 < text_.size() && text_[at_ + 1] == '\'') {
        sheet += '\'';
        ++at_;
      } else {
        break;
      }
    }
    ++at_;
    if (!Peek('!')) return Error("expected \"!\" after a sheet name");
    ++at_;
    return Qualified(expr, sheet);
  }

  // What follows "Sheet!": a reference or a sheet's own name.
  bool Qualified(Expr* expr, const std::string& sheet) {
    if (sheet.empty()) return Error("an empty sheet name");
    if (Reference(expr, sheet)) return true;
    if (!why_.empty()) return false;
    const size_t start = at_;
    while (at_ < text_.size() && IsNameChar(text_[at_])) ++at_;
    if (at_ == start || !IsNameStart(text_[start])) return Error("expected a reference or a name after \"!\"");
    expr->kind = ExprKind::Name;
    expr->sheet = sheet;
    expr->name = text_.substr(start, at_ - start);
    return true;
  }

  // A1, $A$1, A1:B2, A:B or 1:2. Answers false without an error when no
  // reference starts here, and with one for a cell beyond the grid.
  bool Reference(Expr* expr, const std::string& sheet) {
    size_t at = at_;
    Corner first, last;
    bool pastGrid = false;
    if (!ReadCorner(text_, at, &first, &pastGrid)) {
      if (pastGrid) return Error("a reference past XFD1048576");
      return false;
    }
    const bool cell = first.hasRow && first.hasColumn;
    last = first;
    if (at < text_.size() && text_[at] == ':') {
      size_t after = at + 1;
      Corner second;
      if (ReadCorner(text_, after, &second, &pastGrid) && second.hasRow == first.hasRow &&
          second.hasColumn == first.hasColumn) {
        last = second;
        at = after;
      } else if (pastGrid) {
        return Error("a reference past XFD1048576");
      } else if (!cell) {
        return false;
      }
    } else if (!cell) {
      return false;  // a column's letters or a row's digits alone are no reference
    }
    at_ = at;
    expr->kind = ExprKind::Reference;
    expr->sheet = sheet;
    expr->first = Relative(first);
    expr->last = Relative(last);
    return true;
  }

  Corner Relative(Corner corner) const {
    if (corner.hasRow && !corner.rowFixed) corner.row -= row_;
    if (corner.hasColumn && !corner.columnFixed) corner.column -= column_;
    return corner;
  }

  bool Call(Expr* expr, const std::string& name, int depth) {
    if (depth + 1 > MaxNesting) return Error("nested deeper than " + std::to_string(MaxNesting) + " levels");
    expr->kind = ExprKind::Call;
    expr->name = name;
    expr->called = CalledName(name, &expr->addIn);
    SkipSpaces();
    if (Peek(')')) {
      ++at_;
      return true;
    }
    for (;;) {
      SkipSpaces();
      Expr arg;
      arg.kind = ExprKind::Missing;
      if (!Peek(',') && !Peek(')') && !Expression(&arg, depth + 1)) return false;
      expr->operands.push_back(std::move(arg));
      SkipSpaces();
      if (Peek(')')) {
        ++at_;
        return true;
      }
      if (!Peek(',')) return Error("expected \",\" or \")\"");
      ++at_;
    }
  }

  bool Literal(Expr* expr, int depth) {
    expr->kind = ExprKind::Literal;
    if (Peek('{')) return Array(&expr->literal, depth);
    return Constant(&expr->literal);
  }

  // A number, a text, TRUE or FALSE, or an error.
  bool Constant(Value* value) {
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

  bool Number(Value* value) {
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

  // Rows separated by ";", elements by ","; an element may carry a sign.
  bool Array(Value* value, int depth) {
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

  const std::string& text_;
  const int row_, column_;
  size_t at_ = 0;
  std::string why_;
};

void CollectCalls(const Expr& expr, std::vector<std::string>& calls) {
  if (expr.kind == ExprKind::Call && std::find(calls.begin(), calls.end(), expr.called) == calls.end())
    calls.push_back(expr.called);
  for (const Expr& operand : expr.operands) CollectCalls(operand, calls);
}

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

// A corner in A1 form at (row, column), or with `key` in R1C1 form, which
// is the same wherever the formula stands.
std::string CornerText(const Corner& corner, int row, int column, bool key) {
  std::string text;
  if (corner.hasColumn) {
    if (key)
      text += corner.columnFixed ? "C" + std::to_string(corner.column) : "C[" + std::to_string(corner.column) + "]";
    else
      text += (corner.columnFixed ? "$" : "") + ColumnName(corner.columnFixed ? corner.column : corner.column + column);
  }
  if (corner.hasRow) {
    if (key)
      text += corner.rowFixed ? "R" + std::to_string(corner.row) : "R[" + std::to_string(corner.row) + "]";
    else
      text += (corner.rowFixed ? "$" : "") + std::to_string((corner.rowFixed ? corner.row : corner.row + row) + 1);
  }
  return text;
}

// How tightly a node binds, as the parser reads: binary operators by their
// level (Levels), then signs, then %, then everything else.
int Binding(const Expr& expr) {
  switch (expr.kind) {
    case ExprKind::Binary:
      for (size_t level = 0; level < Levels.size(); ++level)
        if (std::find(Levels[level].begin(), Levels[level].end(), expr.name) != Levels[level].end())
          return static_cast<int>(level);
      return 0;
    case ExprKind::Negate:
    case ExprKind::Plus: return static_cast<int>(Levels.size());
    case ExprKind::Percent: return static_cast<int>(Levels.size()) + 1;
    default: return static_cast<int>(Levels.size()) + 2;
  }
}

std::string Print(const Expr& expr, int row, int column, bool key);

// An operand in parentheses when it binds less tightly than `least`.
std::string Operand(const Expr& operand, int least, int row, int column, bool key) {
  const std::string text = Print(operand, row, column, key);
  return Binding(operand) < least ? "(" + text + ")" : text;
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
    case ExprKind::Plus:
      return (expr.kind == ExprKind::Negate ? "-" : "+") + Operand(expr.operands[0], Binding(expr), row, column, key);
    case ExprKind::Percent: return Operand(expr.operands[0], Binding(expr), row, column, key) + "%";
    case ExprKind::Binary: {
      // Operators of one level group from the left: a right operand of the
      // same level keeps its parentheses.
      const int level = Binding(expr);
      return Operand(expr.operands[0], level, row, column, key) + expr.name +
             Operand(expr.operands[1], level + 1, row, column, key);
    }
  }
  return "";
}

}  // namespace

bool ParseFormula(const std::string& text, int row, int column, Formula* formula, std::string* why) {
  Parser parser(text, row, column);
  Formula parsed;
  if (!parser.Parse(&parsed)) {
    *why = parser.Why();
    return false;
  }
  CollectCalls(parsed.root, parsed.calls);
  *formula = std::move(parsed);
  return true;
}

std::string PrintFormula(const Formula& formula, int row, int column) {
  return "=" + Print(formula.root, row, column, false);
}

std::string FormulaKey(const Formula& formula) { return Print(formula.root, 0, 0, true); }

Area Resolve(const Expr& reference, int row, int column) {
  auto rowOf = [&](const Corner& c, int whole) {
    return !c.hasRow ? whole : c.rowFixed ? c.row : c.row + row;
  };
  auto columnOf = [&](const Corner& c, int whole) {
    return !c.hasColumn ? whole : c.columnFixed ? c.column : c.column + column;
  };
  const int r1 = rowOf(reference.first, 0), r2 = rowOf(reference.last, MaxRows - 1);
  const int c1 = columnOf(reference.first, 0), c2 = columnOf(reference.last, MaxColumns - 1);
  return Area{std::min(r1, r2), std::max(r1, r2), std::min(c1, c2), std::max(c1, c2)};
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
  if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_')) return false;
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; });
}

}  // namespace xllhost
