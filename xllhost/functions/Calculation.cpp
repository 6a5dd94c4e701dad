#include "Calculation.h"

#include <algorithm>
#include <map>

#include "HostState.h"
#include "Information.h"
#include "Invoke.h"
#include "Modules.h"
#include "Registrations.h"
#include "Scratch.h"

namespace xllhost {

bool IsAddInFunction(const std::string& name) {
  const DefinedName* defined = FindName(name);
  return defined != nullptr && defined->registerId != 0 && FindRegistration(defined->registerId) != nullptr;
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

// The sheet a reference names, as the formula at `place` sees it; -1 for none.
int SheetNamed(const std::string& sheet, const Place& place) {
  return sheet.empty() ? place.sheet : Book().FindSheet(sheet);
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
  const int scope = expr.sheet.empty() ? ctx.place.sheet : Book().FindSheet(expr.sheet);
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
      const Area area = Resolve(expr, ctx.place.row, ctx.place.column);
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

// The formula cells a formula refers to, directly or through names.
void Precedents(const Workbook& book, const Expr& expr, const Place& place, int depth, std::vector<int>& out) {
  if (expr.kind == ExprKind::Reference) {
    const int sheet = SheetNamed(expr.sheet, place);
    if (sheet < 0) return;
    Area area = Resolve(expr, place.row, place.column);
    area.firstRow = std::max(area.firstRow, 0);
    area.firstColumn = std::max(area.firstColumn, 0);
    book.ForEachIn(sheet, area, [&](const Cell& cell) {
      if (cell.entry >= 0)
        out.push_back(cell.entry);
      else if (cell.block >= 0)
        out.push_back(book.Blocks()[static_cast<size_t>(cell.block)].entry);
    });
  } else if (expr.kind == ExprKind::Name && depth < MaxNesting) {
    const int scope = expr.sheet.empty() ? place.sheet : book.FindSheet(expr.sheet);
    if (const DefinedNameEntry* entry = scope < 0 ? nullptr : book.FindName(expr.name, scope))
      Precedents(book, entry->formula.root, place, depth + 1, out);
  }
  for (const Expr& operand : expr.operands) Precedents(book, operand, place, depth, out);
}

Place PlaceOf(const Workbook& book, const FormulaCell& entry) {
  const Cell& cell = book.Sheets()[static_cast<size_t>(entry.sheet)].cells[entry.cell];
  return Place{entry.sheet, entry.row, entry.column, cell.block >= 0};
}

Area AreaOf(const Workbook& book, const FormulaCell& entry) {
  const Cell& cell = book.Sheets()[static_cast<size_t>(entry.sheet)].cells[entry.cell];
  if (cell.block >= 0) return book.Blocks()[static_cast<size_t>(cell.block)].area;
  return Area{entry.row, entry.row, entry.column, entry.column};
}

std::string Label(const Workbook& book, const FormulaCell& entry) {
  return book.Sheets()[static_cast<size_t>(entry.sheet)].name + "!" + CellName(entry.row, entry.column);
}

// The order of calculation, each cell after those it refers to, and which
// cells are calculated. A cell on a circular reference gets why it is not.
struct Plan {
  std::vector<int> order;
  std::vector<bool> recalculate, callsAddIn;
  std::map<int, std::string> circular;
};

void MarkUncalculated(Workbook& book, const FormulaCell& entry);

Plan MakePlan(Workbook& book, bool onlyAddInCells) {
  const auto& formulas = book.Formulas();
  const size_t n = formulas.size();
  Plan plan;
  plan.recalculate.assign(n, false);
  plan.callsAddIn.assign(n, false);
  std::vector<char> state(n, 0);  // 0 not seen, 1 being ordered, 2 ordered
  std::map<const SharedFormula*, bool> callsAddIn;  // of each shared formula, asked once
  std::vector<int> position(n, -1);
  // The frames of the walk, and their precedents, each frame's after the
  // one below it in one vector.
  struct Frame {
    int entry;
    size_t first, end, next;  // in `precedents`
  };
  std::vector<Frame> stack;
  std::vector<int> precedents;
  auto push = [&](int e) {
    const FormulaCell& entry = formulas[static_cast<size_t>(e)];
    const Cell& cell = book.Sheets()[static_cast<size_t>(entry.sheet)].cells[entry.cell];
    Frame frame{e, precedents.size(), 0, precedents.size()};
    if (cell.formula != nullptr) {
      Precedents(book, cell.formula->formula.root, PlaceOf(book, entry), 0, precedents);
      auto known = callsAddIn.find(cell.formula);
      if (known == callsAddIn.end()) {
        bool calls = false;
        for (const std::string& name : cell.formula->formula.calls) calls = calls || IsAddInFunction(name);
        known = callsAddIn.emplace(cell.formula, calls).first;
      }
      plan.callsAddIn[static_cast<size_t>(e)] = known->second;
    } else {
      // A formula xllhost cannot read calls an add-in when Excel wrote _xll. in it.
      plan.callsAddIn[static_cast<size_t>(e)] = Upper(std::string(entry.text)).find("_XLL.") != std::string::npos;
    }
    frame.end = precedents.size();
    state[static_cast<size_t>(e)] = 1;
    position[static_cast<size_t>(e)] = static_cast<int>(stack.size());
    stack.push_back(frame);
  };
  for (size_t start = 0; start < n; ++start) {
    if (state[start] != 0) continue;
    push(static_cast<int>(start));
    while (!stack.empty()) {
      Frame& top = stack.back();
      const size_t e = static_cast<size_t>(top.entry);
      if (top.next < top.end) {
        const int p = precedents[top.next++];
        if (state[static_cast<size_t>(p)] == 0) {
          push(p);
        } else if (state[static_cast<size_t>(p)] == 1) {
          std::string path;
          for (size_t i = static_cast<size_t>(position[static_cast<size_t>(p)]); i < stack.size(); ++i)
            path += Label(book, formulas[static_cast<size_t>(stack[i].entry)]) + " -> ";
          path += Label(book, formulas[static_cast<size_t>(p)]);
          for (size_t i = static_cast<size_t>(position[static_cast<size_t>(p)]); i < stack.size(); ++i)
            plan.circular.emplace(stack[i].entry, "a circular reference: " + path);
        }
        continue;
      }
      bool recalculate = !onlyAddInCells || plan.callsAddIn[e];
      for (size_t i = top.first; i < top.end; ++i)
        recalculate = recalculate || plan.recalculate[static_cast<size_t>(precedents[i])];
      plan.recalculate[e] = recalculate;
      if (recalculate) MarkUncalculated(book, formulas[e]);  // while the cell is at hand
      state[e] = 2;
      plan.order.push_back(top.entry);
      precedents.resize(top.first);
      stack.pop_back();
    }
  }
  return plan;
}

// Sets what a formula cell, or each cell of its array block, shows.
void Show(Workbook& book, const FormulaCell& entry, const Value& value) {
  std::vector<Cell>& cells = book.Sheets()[static_cast<size_t>(entry.sheet)].cells;
  Cell& cell = cells[entry.cell];
  const Value one = value.Is(xltypeMulti) ? (value.elements.empty() ? ErrorValue(xlerrValue) : value.elements[0]) : value;
  if (cell.block < 0) {
    cell.value = one;
    cell.uncalculated = false;
    return;
  }
  // An array formula's answer laid over its block; cells it does not reach
  // show #N/A, and a single value fills the block.
  const Area area = book.Blocks()[static_cast<size_t>(cell.block)].area;
  for (int row = area.firstRow; row <= area.lastRow; ++row)
    for (int column = area.firstColumn; column <= area.lastColumn; ++column) {
      Cell* target = book.Find(entry.sheet, row, column);
      if (target == nullptr) continue;
      const int r = row - area.firstRow, c = column - area.firstColumn;
      if (!value.Is(xltypeMulti)) {
        target->value = value;
      } else {
        const int vr = value.rows == 1 ? 0 : r, vc = value.columns == 1 ? 0 : c;
        target->value = vr < value.rows && vc < value.columns
                            ? value.elements[static_cast<size_t>(vr * value.columns + vc)]
                            : ErrorValue(xlerrNA);
      }
      target->uncalculated = false;
    }
}

void MarkUncalculated(Workbook& book, const FormulaCell& entry) {
  std::vector<Cell>& cells = book.Sheets()[static_cast<size_t>(entry.sheet)].cells;
  const Cell& cell = cells[entry.cell];
  if (cell.block < 0) {
    cells[entry.cell].uncalculated = true;
    return;
  }
  book.ForEachIn(entry.sheet, book.Blocks()[static_cast<size_t>(cell.block)].area,
                 [&](const Cell& target) { const_cast<Cell&>(target).uncalculated = true; });
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

void CalculateBook(bool onlyAddInCells, const CalculationSteps& steps) {
  Workbook& book = Book();
  const Plan plan = MakePlan(book, onlyAddInCells);
  const auto& formulas = book.Formulas();
  for (int e : plan.order) {
    if (!plan.recalculate[static_cast<size_t>(e)]) continue;
    const FormulaCell& entry = formulas[static_cast<size_t>(e)];
    const Cell& cell = book.Sheets()[static_cast<size_t>(entry.sheet)].cells[entry.cell];
    if (steps.before) steps.before(entry);
    Evaluated answer;
    if (const auto circular = plan.circular.find(e); circular != plan.circular.end()) {
      answer.value = ErrorValue(xlerrNA);
      answer.notCalculated = circular->second;
    } else if (cell.formula == nullptr) {
      std::string why;
      Formula unread;
      ParseFormula(std::string(entry.text), entry.row, entry.column, &unread, &why);
      answer.value = ErrorValue(xlerrNA);
      answer.notCalculated = "xllhost cannot read the formula: " + why;
    } else {
      answer = EvaluateFormula(cell.formula->formula, entry.text, PlaceOf(book, entry), AreaOf(book, entry),
                               entry.saved != nullptr);
    }
    if (answer.notCalculated.empty()) Show(book, entry, answer.value);
    if (steps.after) steps.after(entry, answer, plan.callsAddIn[static_cast<size_t>(e)]);
  }
}

}  // namespace xllhost
