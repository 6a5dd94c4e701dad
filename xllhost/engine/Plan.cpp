#include "engine/Plan.h"

#include <algorithm>

#include "catalog/BuiltinIndex.h"
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
  bool asynchronous = false;
};

void ReadCalls(const EngineHost& host, const Expr& expr, Calls& calls) {
  if (expr.kind == ExprKind::Name) calls.threadSafe = false;
  if (expr.kind == ExprKind::Call) {
    const AddInName called = host.Lookup(expr.called);
    if (called.kind == AddInName::Kind::Function) {
      calls.addIn = true;
      calls.asynchronous = calls.asynchronous || called.function.signature->Asynchronous();
      calls.threadSafe = calls.threadSafe && called.function.signature->ThreadSafe() && !calls.asynchronous;
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

namespace {

// The walk that orders the cells: depth first over each cell's precedents,
// on a stack of its own (a chain of cells may be longer than any thread's
// stack), each frame's precedents after those of the frame below it.
class Planner {
 public:
  Planner(Workbook& book, const EngineHost& host, bool onlyAddInCells, KeepNeeds keep)
      : book_(book), host_(host), formulas_(book.Formulas()), onlyAddInCells_(onlyAddInCells), keep_(keep) {
    const size_t n = formulas_.size();
    plan_.recalculate.assign(n, false);
    plan_.roles.assign(n, CellRole{});
    plan_.threadSafe.assign(n, false);
    if (keep != KeepNeeds::None) plan_.needsOf.assign(n, Plan::Span{});
    state_.assign(n, 0);
    position_.assign(n, -1);
  }

  Plan Make() {
    for (size_t start = 0; start < formulas_.size(); ++start) {
      if (state_[start] != 0) continue;
      Push(static_cast<int>(start));
      while (!stack_.empty()) {
        Frame& top = stack_.back();
        if (top.next == top.end) {
          Order(top);
          continue;
        }
        const int p = precedents_[top.next++];
        if (state_[static_cast<size_t>(p)] == 0) Push(p);
        else if (state_[static_cast<size_t>(p)] == 1) Circular(p);
      }
    }
    for (const auto& [e, why] : plan_.circular) plan_.threadSafe[static_cast<size_t>(e)] = false;
    return std::move(plan_);
  }

 private:
  struct Frame {
    int entry;
    size_t first, end, next;  // in precedents_
  };

  // Whether the entry's formula calls an add-in, and only thread-safe ones.
  Calls CallsOf(const SharedFormula* formula) {
    auto known = callsOf_.find(formula);
    if (known == callsOf_.end()) {
      Calls read;
      ReadCalls(host_, formula->formula.root, read);
      read.addIn = read.addIn || formula->formula.callsAddInWritten;
      known = callsOf_.emplace(formula, read).first;
    }
    return known->second;
  }

  void Push(int e) {
    const FormulaCell& entry = formulas_[static_cast<size_t>(e)];
    const Cell& cell = book_.Sheets()[static_cast<size_t>(entry.sheet)].cells[entry.cell];
    Frame frame{e, precedents_.size(), 0, precedents_.size()};
    bool& calls = plan_.roles[static_cast<size_t>(e)].callsAddIn;
    if (cell.formula != nullptr) {
      Precedents(book_, cell.formula->formula.root, PlaceOf(book_, entry), 0, precedents_);
      const Calls read = CallsOf(cell.formula);
      calls = read.addIn;
      plan_.threadSafe[static_cast<size_t>(e)] = read.addIn && read.threadSafe;
      plan_.asynchronous = plan_.asynchronous || read.asynchronous;
    } else {
      calls = CallsAddIn(book_, host_, entry);
    }
    frame.end = precedents_.size();
    if (calls)
      for (size_t i = frame.first; i < frame.end; ++i) plan_.roles[static_cast<size_t>(precedents_[i])].readByAddIn = true;
    state_[static_cast<size_t>(e)] = 1;
    position_[static_cast<size_t>(e)] = static_cast<int>(stack_.size());
    stack_.push_back(frame);
  }

  // A precedent still being ordered closes a circle: each of its cells is on it.
  void Circular(int p) {
    const size_t from = static_cast<size_t>(position_[static_cast<size_t>(p)]);
    std::string path;
    for (size_t i = from; i < stack_.size(); ++i)
      path += Where(book_, formulas_[static_cast<size_t>(stack_[i].entry)]) + " -> ";
    path += Where(book_, formulas_[static_cast<size_t>(p)]);
    for (size_t i = from; i < stack_.size(); ++i) plan_.circular.emplace(stack_[i].entry, "a circular reference: " + path);
  }

  // Every precedent of the top frame is ordered: so is its cell.
  void Order(const Frame& top) {
    const size_t e = static_cast<size_t>(top.entry);
    bool recalculate = !onlyAddInCells_ || plan_.roles[e].callsAddIn;
    const size_t needsFirst = plan_.needs.size();
    const bool keep = keep_ == KeepNeeds::OfAll || (keep_ == KeepNeeds::OfThreadSafe && plan_.threadSafe[e]);
    for (size_t i = top.first; i < top.end; ++i) {
      const size_t p = static_cast<size_t>(precedents_[i]);
      recalculate = recalculate || plan_.recalculate[p];
      if (keep && plan_.recalculate[p] && p != e) plan_.needs.push_back(static_cast<int>(p));
    }
    if (keep_ != KeepNeeds::None) plan_.needsOf[e] = Plan::Span{needsFirst, plan_.needs.size()};
    plan_.recalculate[e] = recalculate;
    if (recalculate) MarkUncalculated(book_, formulas_[e]);  // while the cell is at hand
    state_[e] = 2;
    plan_.order.push_back(top.entry);
    precedents_.resize(top.first);
    stack_.pop_back();
  }

  Workbook& book_;
  const EngineHost& host_;
  const std::vector<FormulaCell>& formulas_;
  const bool onlyAddInCells_;
  const KeepNeeds keep_;
  Plan plan_;
  std::vector<char> state_;  // 0 not seen, 1 being ordered, 2 ordered
  std::map<const SharedFormula*, Calls> callsOf_;  // of each shared formula, read once
  std::vector<int> position_;                      // on the stack, of those being ordered
  std::vector<Frame> stack_;
  std::vector<int> precedents_;
};

}  // namespace

Plan MakePlan(Workbook& book, const EngineHost& host, bool onlyAddInCells, KeepNeeds keep) {
  return Planner(book, host, onlyAddInCells, keep).Make();
}

}  // namespace xllhost
