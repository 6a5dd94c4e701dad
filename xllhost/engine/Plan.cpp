#include "engine/Plan.h"

#include <algorithm>

#include "builtins/Builtins.h"
#include "engine/Evaluation.h"
#include "workbook/CellState.h"

namespace xllhost {
namespace {

// Excel's built-in functions that it calculates only on its main thread
// (multithreaded-recalculation-in-excel.md). CELL and ADDRESS are so only in
// some uses; a cell calling them stays on the main thread whatever it asks.
constexpr const char* MainThreadBuiltins[] = {
    "PHONETIC",      "CELL",    "INDIRECT",          "GETPIVOTDATA",    "CUBEMEMBER",
    "CUBEVALUE",     "CUBESET", "CUBEMEMBERPROPERTY", "CUBERANKEDMEMBER", "CUBEKPIMEMBER",
    "CUBESETCOUNT",  "ADDRESS", "ERROR.TYPE",        "HYPERLINK"};

// What a formula's calls make of its cell: whether it calls an add-in's
// function, and whether every call may run on a calculation thread. A
// defined name's formula is calculated on the main thread, as Excel does.
struct Calls {
  bool addIn = false;
  bool threadSafe = true;
};

void ReadCalls(const EngineHost& host, const Expr& expr, Calls& calls) {
  if (expr.kind == ExprKind::Name) calls.threadSafe = false;
  if (expr.kind == ExprKind::Call) {
    const AddInName called = host.Lookup(expr.called);
    if (called.kind == AddInName::Kind::Function) {
      calls.addIn = true;
      calls.threadSafe = calls.threadSafe && called.function.signature->ThreadSafe();
    } else if (expr.addIn || FindBuiltin(expr.called) == nullptr ||
               std::any_of(std::begin(MainThreadBuiltins), std::end(MainThreadBuiltins),
                           [&](const char* name) { return expr.called == name; })) {
      calls.threadSafe = false;  // neither registered thread-safe nor one of Excel's that are
    }
  }
  for (const Expr& operand : expr.operands) ReadCalls(host, operand, calls);
}

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

void MarkUncalculated(Workbook& book, const FormulaCell& entry) {
  std::vector<Cell>& cells = book.Sheets()[static_cast<size_t>(entry.sheet)].cells;
  const Cell& cell = cells[entry.cell];
  if (cell.block < 0) {
    MarkToCalculate(cells[entry.cell]);
    return;
  }
  book.ForEachIn(entry.sheet, book.Blocks()[static_cast<size_t>(cell.block)].area,
                 [](Cell& target) { MarkToCalculate(target); });
}

}  // namespace

std::string Where(const Workbook& book, const FormulaCell& entry) {
  return book.Where(entry.sheet, entry.row, entry.column);
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

bool CallsAddIn(const Workbook& book, const EngineHost& host, const FormulaCell& entry) {
  const Cell& cell = book.Sheets()[static_cast<size_t>(entry.sheet)].cells[entry.cell];
  // A formula xllhost cannot read calls an add-in when Excel wrote _xll. in it.
  if (cell.formula == nullptr) return Upper(std::string(entry.text)).find("_XLL.") != std::string::npos;
  if (cell.formula->formula.callsAddInWritten) return true;
  Calls calls;
  ReadCalls(host, cell.formula->formula.root, calls);
  return calls.addIn;
}

Plan MakePlan(Workbook& book, const EngineHost& host, bool onlyAddInCells, bool keepNeeds) {
  const auto& formulas = book.Formulas();
  const size_t n = formulas.size();
  Plan plan;
  plan.recalculate.assign(n, false);
  plan.roles.assign(n, CellRole{});
  plan.threadSafe.assign(n, false);
  if (keepNeeds) plan.needsOf.assign(n, Plan::Span{});
  std::vector<char> state(n, 0);  // 0 not seen, 1 being ordered, 2 ordered
  std::map<const SharedFormula*, Calls> callsOf;  // of each shared formula, read once
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
      auto known = callsOf.find(cell.formula);
      if (known == callsOf.end()) {
        Calls read;
        ReadCalls(host, cell.formula->formula.root, read);
        read.addIn = read.addIn || cell.formula->formula.callsAddInWritten;
        known = callsOf.emplace(cell.formula, read).first;
      }
      calls = known->second.addIn;
      plan.threadSafe[static_cast<size_t>(e)] = known->second.addIn && known->second.threadSafe;
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
      const size_t needsFirst = plan.needs.size();
      for (size_t i = top.first; i < top.end; ++i) {
        const size_t p = static_cast<size_t>(precedents[i]);
        recalculate = recalculate || plan.recalculate[p];
        if (keepNeeds && plan.threadSafe[e] && plan.recalculate[p] && p != e) plan.needs.push_back(static_cast<int>(p));
      }
      if (keepNeeds) plan.needsOf[e] = Plan::Span{needsFirst, plan.needs.size()};
      plan.recalculate[e] = recalculate;
      if (recalculate) MarkUncalculated(book, formulas[e]);  // while the cell is at hand
      state[e] = 2;
      plan.order.push_back(top.entry);
      precedents.resize(top.first);
      stack.pop_back();
    }
  }
  for (const auto& [e, why] : plan.circular) plan.threadSafe[static_cast<size_t>(e)] = false;
  return plan;
}

}  // namespace xllhost
