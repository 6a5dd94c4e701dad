#include "formulas/Formula.h"

#include <algorithm>
#include <cctype>

namespace xllhost {
namespace {

class Parser : public LiteralReader {
 public:
  Parser(const std::string& text, int row, int column) : LiteralReader(text), row_(row), column_(column) {}

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

 private:
  bool Expression(Expr* expr, int depth) {
    if (depth > MaxNesting) return Error("nested deeper than " + std::to_string(MaxNesting) + " levels");
    return Binary(expr, 0, depth);
  }

  // Binary operators of one level, left to right, as Excel groups them.
  bool Binary(Expr* expr, int level, int depth) {
    if (level == OperatorLevels) return Prefixed(expr, depth);
    if (!Binary(expr, level + 1, depth)) return false;
    for (;;) {
      SkipSpaces();
      const OperatorRow* op = nullptr;
      for (const OperatorRow& candidate : Operators())
        if (candidate.level == level && PeekWord(candidate.text)) {
          op = &candidate;
          break;
        }
      if (op == nullptr) return true;
      at_ += std::char_traits<char>::length(op->text);
      Expr right;
      if (!Binary(&right, level + 1, depth)) return false;
      Expr node;
      node.kind = ExprKind::Binary;
      node.op = op->op;
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
    for (SkipSpaces(); Peek('%'); ++at_, SkipSpaces()) Wrap(expr, ExprKind::Percent);
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
    if (c == '[') return ExternalSheet(expr);
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
      ++at_;
      return Call(expr, word, depth);
    }
    const std::string upper = Upper(word);
    if (upper == "TRUE" || upper == "FALSE") {
      expr->kind = ExprKind::Literal;
      expr->literal = BooleanValue(upper == "TRUE");
      return true;
    }
    // Excel reads a word that would be a cell past the grid (ISIN1) as a name, but not a range's corner.
    if (!IsCellPastGrid(word) || Peek(':')) {  // at the word's end
      at_ = start;
      if (Reference(expr, "")) return true;
      if (!why_.empty()) return false;
      at_ = start + word.size();
    }
    expr->kind = ExprKind::Name;
    expr->name = word;
    return true;
  }

  // [N]Sheet!A1: a sheet of another workbook, the Nth of the links Excel
  // keeps, whose cells the workbook holds as the values Excel cached.
  bool ExternalSheet(Expr* expr) {
    const size_t start = at_++;
    while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) ++at_;
    if (at_ == start + 1 || !Peek(']')) return Error("expected [N], a link to another workbook");
    ++at_;
    const size_t name = at_;
    while (at_ < text_.size() && IsNameChar(text_[at_])) ++at_;
    if (at_ == name || !Peek('!')) return Error("a name of another workbook, which xllhost does not model");
    const std::string sheet = text_.substr(start, at_ - start);
    ++at_;
    return Qualified(expr, sheet);
  }

  bool QuotedSheet(Expr* expr) {
    std::string sheet;
    if (!Quoted(&sheet)) return Error("a sheet name without its closing quote");
    if (!Peek('!')) return Error("expected \"!\" after a sheet name");
    ++at_;
    return Qualified(expr, sheet);
  }

  // What follows "Sheet!": a reference, a sheet's own name, or #REF!, which
  // Excel writes for a reference whose cells were deleted.
  bool Qualified(Expr* expr, const std::string& sheet) {
    if (sheet.empty()) return Error("an empty sheet name");
    if (PeekWord("#REF!")) {
      at_ += 5;
      expr->kind = ExprKind::Literal;
      expr->literal = ErrorValue(xlerrRef);
      return true;
    }
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
    Corner first, last;
    bool pastGrid = false;
    if (!ReadCorners(text_, at_, &first, &last, &pastGrid))
      return pastGrid && !IsNamePastGrid(text_, at_) ? Error("a reference past XFD1048576") : false;
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

  const int row_, column_;
};

void CollectCalls(const Expr& expr, Formula& formula) {
  if (expr.kind == ExprKind::Call) {
    if (std::find(formula.calls.begin(), formula.calls.end(), expr.called) == formula.calls.end())
      formula.calls.push_back(expr.called);
    formula.callsAddInWritten = formula.callsAddInWritten || expr.addIn;
  }
  for (const Expr& operand : expr.operands) CollectCalls(operand, formula);
}

}  // namespace

bool ParseFormula(const std::string& text, int row, int column, Formula* formula, std::string* why) {
  Parser parser(text, row, column);
  Formula parsed;
  if (!parser.Parse(&parsed)) return *why = parser.Why(), false;
  CollectCalls(parsed.root, parsed);
  *formula = std::move(parsed);
  return true;
}

}  // namespace xllhost
