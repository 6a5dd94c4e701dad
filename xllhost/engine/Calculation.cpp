#include "engine/Calculation.h"

#include <algorithm>
#include <map>

namespace xllhost {
namespace {

// The formula cells a formula refers to, directly or through names.
void Precedents(const Workbook& book, const Expr& expr, const Place& place, int depth, std::vector<int>& out) {
  if (expr.kind == ExprKind::Reference) {
    const int sheet = SheetNamed(book, expr.sheet, place);
    if (sheet < 0) return;
    Area area = Resolve(expr.first, expr.last, place.row, place.column);
    area.firstRow = std::max(area.firstRow, 0);
    area.firstColumn = std::max(area.firstColumn, 0);
    book.ForEachIn(sheet, area, [&](const Cell& cell) {
      if (cell.entry >= 0)
        out.push_back(cell.entry);
      else if (cell.block >= 0)
        out.push_back(book.Blocks()[static_cast<size_t>(cell.block)].entry);
    });
  } else if (expr.kind == ExprKind::Name && depth < MaxNesting) {
    const int scope = SheetNamed(book, expr.sheet, place);
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

// The order of calculation, each cell after those it refers to, and which
// cells are calculated. A cell on a circular reference gets why it is not.
struct Plan {
  std::vector<int> order;
  std::vector<bool> recalculate;
  std::vector<CellRole> roles;
  std::map<int, std::string> circular;
};

void MarkUncalculated(Workbook& book, const FormulaCell& entry);

Plan MakePlan(Workbook& book, const EngineHost& host, bool onlyAddInCells) {
  const auto& formulas = book.Formulas();
  const size_t n = formulas.size();
  Plan plan;
  plan.recalculate.assign(n, false);
  plan.roles.assign(n, CellRole{});
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
    bool& calls = plan.roles[static_cast<size_t>(e)].callsAddIn;
    if (cell.formula != nullptr) {
      Precedents(book, cell.formula->formula.root, PlaceOf(book, entry), 0, precedents);
      auto known = callsAddIn.find(cell.formula);
      if (known == callsAddIn.end()) known = callsAddIn.emplace(cell.formula, CallsAddIn(book, host, entry)).first;
      calls = known->second;
    } else {
      calls = CallsAddIn(book, host, entry);
    }
    frame.end = precedents.size();
    if (calls)
      for (size_t i = frame.first; i < frame.end; ++i) plan.roles[static_cast<size_t>(precedents[i])].readByAddIn = true;
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
            path += Where(book, formulas[static_cast<size_t>(stack[i].entry)]) + " -> ";
          path += Where(book, formulas[static_cast<size_t>(p)]);
          for (size_t i = static_cast<size_t>(position[static_cast<size_t>(p)]); i < stack.size(); ++i)
            plan.circular.emplace(stack[i].entry, "a circular reference: " + path);
        }
        continue;
      }
      bool recalculate = !onlyAddInCells || plan.roles[e].callsAddIn;
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
                 [](Cell& target) { target.uncalculated = true; });
}

// The first function of a loaded add-in the cell's formula calls; of kind
// None when it calls none.
AddInName FirstAddInFunction(const EngineHost& host, const Cell& cell) {
  if (cell.formula != nullptr)
    for (const std::string& name : cell.formula->formula.calls)
      if (AddInName called = host.Lookup(name); called.kind == AddInName::Kind::Function) return called;
  return AddInName{};
}

}  // namespace

bool CallsAddIn(const Workbook& book, const EngineHost& host, const FormulaCell& entry) {
  const Cell& cell = book.Sheets()[static_cast<size_t>(entry.sheet)].cells[entry.cell];
  // A formula xllhost cannot read calls an add-in when Excel wrote _xll. in it.
  if (cell.formula == nullptr) return Upper(std::string(entry.text)).find("_XLL.") != std::string::npos;
  return cell.formula->formula.callsAddInWritten ||
         FirstAddInFunction(host, cell).kind == AddInName::Kind::Function;
}

std::string Where(const Workbook& book, const FormulaCell& entry) {
  return book.Where(entry.sheet, entry.row, entry.column);
}

std::string AddInFunctionOf(const Workbook& book, const EngineHost& host, const FormulaCell& entry) {
  return std::string(FirstAddInFunction(host, book.Sheets()[static_cast<size_t>(entry.sheet)].cells[entry.cell]).function.text);
}

void CalculateBook(Workbook& book, EngineHost& host, bool onlyAddInCells, const CalculationSteps& steps) {
  const Plan plan = MakePlan(book, host, onlyAddInCells);
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
      const std::string* why = book.Unread(static_cast<size_t>(e));
      answer.value = ErrorValue(xlerrNA);
      answer.notCalculated = "xllhost cannot read the formula: " + (why != nullptr ? *why : std::string());
    } else {
      answer = EvaluateFormula(book, host, cell.formula->formula,
                               CalculatedCell{PlaceOf(book, entry), AreaOf(book, entry), entry.text},
                               entry.saved != nullptr);
    }
    if (answer.notCalculated.empty()) Show(book, entry, answer.value);
    if (steps.after) steps.after(entry, answer, plan.roles[static_cast<size_t>(e)]);
  }
}

}  // namespace xllhost
