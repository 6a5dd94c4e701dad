#include "Evaluation.h"

#include "HostState.h"
#include "Information.h"
#include "Invoke.h"
#include "Modules.h"
#include "Operators.h"
#include "Registrations.h"
#include "Scratch.h"

namespace xllhost {

int SheetNamed(const std::string& sheet, const Place& place) {
  return sheet.empty() ? place.sheet : Book().FindSheet(sheet);
}

const Registration* AddInFunction(const std::string& name) {
  const DefinedName* defined = FindName(name);
  return defined != nullptr && defined->registerId != 0 ? FindRegistration(defined->registerId) : nullptr;
}

namespace {

struct Context {
  Place place;
  bool fromExcel;
  std::string why;  // why the formula is not calculated; empty while it is
  int depth = 0;    // of defined names within names
};

Operand Of(Value value) {
  Operand operand;
  operand.value = std::move(value);
  return operand;
}

// A reference an add-in returned, as an operand of the formula.
Operand FromRecord(const Value& value, const Place& place) {
  const int sheet = value.Is(xltypeSRef) ? place.sheet : value.Is(xltypeRef) ? SheetOfId(value.sheetId) : -1;
  if (sheet < 0 || (value.Is(xltypeRef) && value.areas != 1)) return Of(value.Is(xltypeRef) ? ErrorValue(xlerrRef) : value);
  Operand operand;
  operand.sheet = sheet;
  operand.area = Area{value.row, value.lastRow, value.column, value.lastColumn};
  if (operand.area.lastRow >= MaxRows || operand.area.lastColumn >= MaxColumns || operand.area.firstRow < 0 ||
      operand.area.firstColumn < 0 || operand.area.firstRow > operand.area.lastRow ||
      operand.area.firstColumn > operand.area.lastColumn)
    return Of(ErrorValue(xlerrRef));
  return operand;
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
               : AreaReference(a.firstRow, a.lastRow, a.firstColumn, a.lastColumn, SheetIdOf(operand.sheet));
  const Storage storage = Info(code).storage;
  if (storage == Storage::Oper || storage == Storage::Oper12 || storage == Storage::Fp || storage == Storage::Fp12)
    return AreaValues(Book(), operand.sheet, a, &ctx.why);
  return IntersectedValue(Book(), ctx.place, operand, &ctx.why);
}

Operand CallAddIn(const Registration& registration, const Expr& call, Context& ctx) {
  Scratch<Value> scratch;
  std::vector<Value>& args = *scratch;
  for (size_t i = 0; i < call.operands.size(); ++i) {
    const Operand operand = Eval(call.operands[i], ctx);
    const TypeCode code = i < registration.signature.args.size() ? registration.signature.args[i] : TypeCode::Oper;
    args.push_back(ArgumentValue(code, operand, ctx));
    if (!ctx.why.empty()) return Of(ErrorValue(xlerrNA));
  }
  Registration called = registration;  // the function may unregister itself
  return FromRecord(WithControl([&] { return Invoke(called, args); }), ctx.place);
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
  int only = -2;  // every argument
  if (builtin.choose != nullptr && !args.empty()) {
    args[0] = Eval(call.operands[0], ctx);
    only = builtin.choose(IntersectedValue(Book(), ctx.place, args[0], &ctx.why));
  }
  for (size_t i = only == -2 ? 0 : 1; i < args.size(); ++i)
    if (only == -2 || static_cast<int>(i) == only) args[i] = Eval(call.operands[i], ctx);
  if (!ctx.why.empty()) return Of(ErrorValue(xlerrNA));
  return Of(builtin.calculate(BuiltinCall{Book(), ctx.place, args, &ctx.why}));
}

Operand Call(const Expr& call, Context& ctx) {
  const bool written = call.addIn;
  const std::string& name = call.called;
  if (const DefinedName* defined = FindName(name)) {
    if (defined->registerId == 0) return Of(call.operands.empty() ? defined->value : ErrorValue(xlerrValue));
    if (const Registration* registration = FindRegistration(defined->registerId))
      return CallAddIn(*registration, call, ctx);
    return Of(ErrorValue(xlerrName));
  }
  // A function an add-in registered and took back is a name no longer defined.
  if (written || State().functionNames.count(name) != 0) return Of(ErrorValue(xlerrName));
  if (const Builtin* builtin = FindBuiltin(name)) return CallBuiltin(*builtin, call, ctx);
  // Excel saves an add-in's function with _xll.: without it, in a formula
  // Excel calculated, it is one of Excel's functions; in one typed, a name
  // nobody defined.
  if (!ctx.fromExcel) return Of(ErrorValue(xlerrName));
  ctx.why = "needs " + name;
  return Of(ErrorValue(xlerrNA));
}

Operand Name(const Expr& expr, Context& ctx) {
  const int scope = SheetNamed(expr.sheet, ctx.place);
  const DefinedNameEntry* entry = scope < 0 ? nullptr : Book().FindName(expr.name, scope);
  if (entry == nullptr) {
    // A name an add-in defined with xlfSetName holds a value.
    const DefinedName* defined = expr.sheet.empty() ? FindName(expr.name) : nullptr;
    if (defined != nullptr && defined->registerId == 0) return Of(defined->value);
    return Of(ErrorValue(xlerrName));
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
    return AreaValues(Book(), operand.sheet, operand.area, &ctx.why);
  return IntersectedValue(Book(), ctx.place, operand, &ctx.why);
}

Operand Eval(const Expr& expr, Context& ctx) {
  if (!ctx.why.empty()) return Of(ErrorValue(xlerrNA));
  switch (expr.kind) {
    case ExprKind::Literal: return Of(expr.literal);
    case ExprKind::Missing: return Of(MissingValue());
    case ExprKind::Reference: {
      const int sheet = SheetNamed(expr.sheet, ctx.place);
      const Area area = Resolve(expr.first, expr.last, ctx.place.row, ctx.place.column);
      if (sheet < 0 || area.firstRow < 0 || area.firstColumn < 0 || area.lastRow >= MaxRows ||
          area.lastColumn >= MaxColumns)
        return Of(ErrorValue(xlerrRef));
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
      return Of(Operate(expr.name, left, right));
    }
  }
  return Of(ErrorValue(xlerrValue));
}

}  // namespace

Evaluated EvaluateFormula(const Formula& formula, std::string_view text, const Place& place, const Area& area,
                          bool fromExcel) {
  CalculatingCell calculating(place, area, text);
  Context ctx{place, fromExcel, "", 0};
  const Operand result = Eval(formula.root, ctx);
  Evaluated answer;
  if (!result.IsReference())
    answer.value = result.value;
  else if (place.array || result.area.IsCell())
    answer.value = AreaValues(Book(), result.sheet, result.area, &ctx.why);
  else
    answer.value = IntersectedValue(Book(), place, result, &ctx.why);
  answer.notCalculated = ctx.why;
  if (!answer.notCalculated.empty()) answer.value = ErrorValue(xlerrNA);
  // A formula that gives an empty cell shows 0, as does each empty element.
  if (answer.value.Is(xltypeNil)) answer.value = NumberValue(0);
  for (Value& element : answer.value.elements)
    if (element.Is(xltypeNil)) element = NumberValue(0);
  return answer;
}

}  // namespace xllhost
