#include "engine/Evaluation.h"

#include <utility>

#include "builtins/Operators.h"
#include "catalog/BuiltinIndex.h"
#include "records/Scratch.h"

namespace xllhost {

int SheetNamed(const Workbook& book, const std::string& sheet, const Place& place) {
  return sheet.empty() ? place.sheet : book.FindSheet(sheet);
}

namespace {

// A name LET gives a value, upper-cased and without the _xlpm. of files.
struct Binding {
  std::string name;
  Operand value;
};

struct Context {
  const Workbook& book;
  EngineHost& host;
  const CalculatedCell& cell;
  const Place& place;
  bool fromExcel;
  std::string why;  // why the formula is not calculated; empty while it is
  int depth = 0;    // of defined names within names
  std::vector<Binding> bound{};  // the names of the LETs around, the innermost last
};

std::string BoundName(const std::string& written) {
  std::string name = Upper(written);
  return name.rfind("_XLPM.", 0) == 0 ? name.substr(6) : name;
}

Operand Of(Value value) {
  Operand operand;
  operand.value = std::move(value);
  return operand;
}

// A reference an add-in or a built-in answered, as an operand of the formula.
Operand FromRecord(Value value, const Context& ctx) {
  if (!value.Is(xltypeRef) && !value.Is(xltypeSRef)) return Of(std::move(value));
  Operand operand;
  return AsReference(ctx.book, value, ctx.place.sheet, &operand) ? operand : Of(ErrorValue(xlerrRef));
}

Operand Eval(const Expr& expr, Context& ctx);

// An argument of a registered function as Excel prepares it from an
// operand: R and U receive a reference as one (xltypeSRef on the formula's
// own sheet, xltypeRef with the sheet's id on another); P, Q, K and K%
// receive a rectangle's values as an array; every other type one value.
Value ArgumentValue(TypeCode code, const Operand& operand, Context& ctx) {
  if (!operand.IsReference()) return operand.value;
  const Area& a = operand.area;
  if (code == TypeCode::OperRef || code == TypeCode::Oper12Ref)
    return operand.sheet == ctx.place.sheet
               ? AreaReference(a.firstRow, a.lastRow, a.firstColumn, a.lastColumn)
               : AreaReference(a.firstRow, a.lastRow, a.firstColumn, a.lastColumn, Workbook::SheetId(operand.sheet));
  const Storage storage = Info(code).storage;
  if (storage == Storage::Oper || storage == Storage::Oper12 || storage == Storage::Fp || storage == Storage::Fp12 ||
      PassesCounts(storage))
    return AreaValues(ctx.book, operand.sheet, a, &ctx.why);
  return IntersectedValue(ctx.book, ctx.place, operand, &ctx.why);
}

Operand CallAddIn(const AddInFunction& function, const Expr& call, Context& ctx) {
  Scratch<Value> scratch;
  std::vector<Value>& args = *scratch;
  for (size_t i = 0; i < call.operands.size(); ++i) {
    const Operand operand = Eval(call.operands[i], ctx);
    args.push_back(ArgumentValue(function.signature->Given(i), operand, ctx));
    if (!ctx.why.empty()) return Of(ErrorValue(xlerrNA));
  }
  return FromRecord(ctx.host.Call(function, args, ctx.cell), ctx);
}

Operand CallBuiltin(const Builtin& builtin, const Expr& call, Context& ctx) {
  const int count = static_cast<int>(call.operands.size());
  if (count < builtin.fewest || count > builtin.most) {
    ctx.why = std::string(builtin.name) + " is given " + std::to_string(count) + " arguments";
    return Of(ErrorValue(xlerrNA));
  }
  if (builtin.calculate == nullptr) {
    ctx.why = std::string("needs ") + builtin.name;
    return Of(ErrorValue(xlerrNA));
  }
  std::vector<Operand> args(call.operands.size());
  for (Operand& arg : args) arg.value = MissingValue();
  if (builtin.choose == nullptr) {
    for (size_t i = 0; i < args.size(); ++i) args[i] = Eval(call.operands[i], ctx);
  } else {
    // The arguments the function asks for, in its order, only ever forward.
    // One it answers with, it reads again itself, and a cell not yet
    // calculated then leaves the formula uncalculated.
    Scratch<Value> scratch;  // IF and its kin stand in many formulas
    std::vector<Value>& calculated = *scratch;
    calculated.resize(args.size(), MissingValue());
    for (int i = 0; i >= 0 && i < count;) {
      const auto at = static_cast<size_t>(i);
      std::string unused;
      args[at] = Eval(call.operands[at], ctx);
      calculated[at] = IntersectedValue(ctx.book, ctx.place, args[at], i == 0 ? &ctx.why : &unused);
      const int next = builtin.choose(calculated, i);
      i = next > i ? next : -1;
    }
  }
  if (!ctx.why.empty()) return Of(ErrorValue(xlerrNA));
  // OFFSET and INDIRECT answer references, which the formula reads on.
  return FromRecord(builtin.calculate(BuiltinCall{ctx.book, ctx.place, args, &ctx.why}), ctx);
}

// LET(name, value, ..., calculation): each value is calculated once, in
// order, and its name stands for it (a reference stays one) in the values
// after it and in the calculation.
Operand Let(const Expr& call, Context& ctx) {
  const size_t count = call.operands.size(), outer = ctx.bound.size();
  if (count < 3 || count % 2 == 0) {
    ctx.why = "LET takes names and their values in pairs, then a calculation";
    return Of(ErrorValue(xlerrNA));
  }
  for (size_t i = 0; i + 1 < count && ctx.why.empty(); i += 2) {
    const Expr& name = call.operands[i];
    if (name.kind != ExprKind::Name || !name.sheet.empty()) {
      ctx.why = "LET names a value with something other than a name";
      break;
    }
    Operand value = Eval(call.operands[i + 1], ctx);
    ctx.bound.push_back(Binding{BoundName(name.name), std::move(value)});
  }
  Operand result = ctx.why.empty() ? Eval(call.operands.back(), ctx) : Of(ErrorValue(xlerrNA));
  ctx.bound.erase(ctx.bound.begin() + static_cast<std::ptrdiff_t>(outer), ctx.bound.end());
  return result;
}

Operand Call(const Expr& call, Context& ctx) {
  const bool written = call.addIn;
  const std::string& name = call.called;
  if (!written && name == "LET") return Let(call, ctx);
  const AddInName defined = ctx.host.Lookup(name);
  switch (defined.kind) {
    case AddInName::Kind::Value: return Of(call.operands.empty() ? defined.value : ErrorValue(xlerrValue));
    case AddInName::Kind::Function: return CallAddIn(defined.function, call, ctx);
    case AddInName::Kind::Retired: return Of(ErrorValue(xlerrName));
    case AddInName::Kind::None: break;
  }
  if (written) return Of(ErrorValue(xlerrName));
  if (const Builtin* builtin = FindBuiltin(name)) return CallBuiltin(*builtin, call, ctx);
  // Excel saves an add-in's function with _xll.: without it, in a formula
  // Excel calculated, it is one of Excel's functions; in one typed, a name
  // nobody defined.
  if (!ctx.fromExcel) return Of(ErrorValue(xlerrName));
  ctx.why = "needs " + name;
  return Of(ErrorValue(xlerrNA));
}

Operand Name(const Expr& expr, Context& ctx) {
  if (expr.sheet.empty() && !ctx.bound.empty()) {
    const std::string name = BoundName(expr.name);
    for (auto it = ctx.bound.rbegin(); it != ctx.bound.rend(); ++it)
      if (it->name == name) return it->value;
  }
  const int scope = SheetNamed(ctx.book, expr.sheet, ctx.place);
  const DefinedNameEntry* entry = scope < 0 ? nullptr : ctx.book.FindName(expr.name, scope);
  if (entry == nullptr) {
    // A name an add-in defined with xlfSetName holds a value.
    if (!expr.sheet.empty()) return Of(ErrorValue(xlerrName));
    AddInName defined = ctx.host.Lookup(Upper(expr.name));
    return Of(defined.kind == AddInName::Kind::Value ? std::move(defined.value) : ErrorValue(xlerrName));
  }
  if (!entry->unread.empty()) {
    ctx.why = "xllhost cannot read the name " + entry->name + ": " + entry->unread;
    return Of(ErrorValue(xlerrNA));
  }
  if (ctx.depth >= MaxNesting) {
    ctx.why = "the name " + expr.name + " refers to itself";
    return Of(ErrorValue(xlerrNA));
  }
  ++ctx.depth;
  Operand value = Eval(entry->formula.root, ctx);
  --ctx.depth;
  return value;
}

// An operator's operand as a value: one cell, or in an array formula a
// rectangle's values.
Value OperandValue(const Operand& operand, Context& ctx) {
  if (operand.IsReference() && ctx.place.array && !operand.area.IsCell())
    return AreaValues(ctx.book, operand.sheet, operand.area, &ctx.why);
  return IntersectedValue(ctx.book, ctx.place, operand, &ctx.why);
}

Operand Eval(const Expr& expr, Context& ctx) {
  if (!ctx.why.empty()) return Of(ErrorValue(xlerrNA));
  switch (expr.kind) {
    case ExprKind::Literal: return Of(expr.literal);
    case ExprKind::Missing: return Of(MissingValue());
    case ExprKind::Reference: {
      const int sheet = SheetNamed(ctx.book, expr.sheet, ctx.place);
      const Area area = Resolve(expr.first, expr.last, ctx.place.row, ctx.place.column);
      if (sheet < 0 || !area.InGrid()) return Of(ErrorValue(xlerrRef));
      Operand operand;
      operand.sheet = sheet;
      operand.area = area;
      return operand;
    }
    case ExprKind::Name: return Name(expr, ctx);
    case ExprKind::Call: return Call(expr, ctx);
    case ExprKind::Negate: return Of(Negate(OperandValue(Eval(expr.operands[0], ctx), ctx)));
    case ExprKind::Plus: return Eval(expr.operands[0], ctx);
    case ExprKind::Percent: return Of(Percent(OperandValue(Eval(expr.operands[0], ctx), ctx)));
    case ExprKind::Binary: {
      const Value left = OperandValue(Eval(expr.operands[0], ctx), ctx);
      const Value right = OperandValue(Eval(expr.operands[1], ctx), ctx);
      return Of(Operate(expr.op, left, right));
    }
  }
  return Of(ErrorValue(xlerrValue));
}

}  // namespace

Evaluated EvaluateFormula(const Workbook& book, EngineHost& host, const Formula& formula, const CalculatedCell& cell,
                          bool fromExcel) {
  const Place& place = cell.place;
  Context ctx{book, host, cell, place, fromExcel, "", 0};
  Operand result = Eval(formula.root, ctx);
  Evaluated answer;
  if (!result.IsReference())
    answer.value = std::move(result.value);
  else if (place.array || result.area.IsCell())
    answer.value = AreaValues(book, result.sheet, result.area, &ctx.why);
  else
    answer.value = IntersectedValue(book, place, result, &ctx.why);
  answer.notCalculated = ctx.why;
  if (!answer.notCalculated.empty()) answer.value = ErrorValue(xlerrNA);
  // A formula that gives an empty cell shows 0, as does each empty element.
  if (answer.value.Is(xltypeNil)) answer.value = NumberValue(0);
  for (Value& element : answer.value.elements)
    if (element.Is(xltypeNil)) element = NumberValue(0);
  return answer;
}

}  // namespace xllhost
