#include "engine/Calculation.h"

#include "engine/Schedule.h"
#include "workbook/CellState.h"

namespace xllhost {
namespace {

// Sets what a formula cell, or each cell of its array block, shows.
void Show(Workbook& book, const FormulaCell& entry, const Value& value) {
  std::vector<Cell>& cells = book.Sheets()[static_cast<size_t>(entry.sheet)].cells;
  Cell& cell = cells[entry.cell];
  if (cell.block < 0) {
    if (!value.Is(xltypeMulti))
      ShowAnswer(cell, value);
    else
      ShowAnswer(cell, value.elements.empty() ? ErrorValue(xlerrValue) : value.elements[0]);
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
        ShowAnswer(*target, value);
      } else {
        const int vr = value.rows == 1 ? 0 : r, vc = value.columns == 1 ? 0 : c;
        ShowAnswer(*target, vr < value.rows && vc < value.columns
                                ? value.elements[static_cast<size_t>(vr * value.columns + vc)]
                                : ErrorValue(xlerrNA));
      }
    }
}

// Calculates one formula cell and shows its answer. It reads only the cells
// it needs, which are calculated, and writes only its own, so cells that do
// not need each other may be calculated at once.
Evaluated CalculateEntry(Workbook& book, EngineHost& host, const Plan& plan, int e) {
  const FormulaCell& entry = book.Formulas()[static_cast<size_t>(e)];
  const Cell& cell = book.Sheets()[static_cast<size_t>(entry.sheet)].cells[entry.cell];
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
                             CalculatedCell{PlaceOf(book, entry), AreaOf(book, entry), entry.text, e},
                             entry.saved != nullptr);
  }
  if (answer.notCalculated.empty()) Show(book, entry, answer.value);
  return answer;
}

// A workbook whose cells call asynchronous functions, calculated in rounds
// on the calling thread: a cell that awaits an answer, or needs a cell that
// does, is calculated again in the next round, which starts once the
// answers have come. Each round every cell awaiting makes progress, as the
// calls answered before show their answers; a cell still awaiting after
// the last round is not calculated.
void CalculateInRounds(Workbook& book, EngineHost& host, const Plan& plan, const CalculationSteps& steps) {
  constexpr int Rounds = 10000;
  const auto& formulas = book.Formulas();
  std::vector<int> round;
  for (int e : plan.order)
    if (plan.recalculate[static_cast<size_t>(e)]) round.push_back(e);
  std::vector<bool> awaiting(plan.recalculate.size(), false);
  for (int turn = 1; !round.empty(); ++turn) {
    std::vector<int> next;
    for (int e : round) {
      const FormulaCell& entry = formulas[static_cast<size_t>(e)];
      const Plan::Span needs = plan.needsOf[static_cast<size_t>(e)];
      bool waits = false;
      for (size_t i = needs.first; i < needs.end && !waits; ++i) waits = awaiting[static_cast<size_t>(plan.needs[i])];
      Evaluated answer;
      if (!waits) {
        if (steps.before) steps.before(entry, 0);
        answer = CalculateEntry(book, host, plan, e);
        waits = host.AwaitsAnswer(CalculatedCell{PlaceOf(book, entry), AreaOf(book, entry), entry.text, e});
      }
      awaiting[static_cast<size_t>(e)] = waits && turn < Rounds;
      if (awaiting[static_cast<size_t>(e)]) {
        next.push_back(e);
        continue;
      }
      if (waits) answer.notCalculated = "it still awaits an asynchronous answer after " + std::to_string(Rounds) + " rounds";
      if (steps.after) steps.after(entry, answer, plan.roles[static_cast<size_t>(e)], 0);
    }
    if (!next.empty()) host.AwaitAnswers();
    round = std::move(next);
  }
}

}  // namespace

std::string AddInFunctionOf(const Workbook& book, const EngineHost& host, const FormulaCell& entry) {
  const Cell& cell = book.Sheets()[static_cast<size_t>(entry.sheet)].cells[entry.cell];
  if (cell.formula != nullptr)
    for (const std::string& name : cell.formula->formula.calls)
      if (AddInName called = host.Lookup(name); called.kind == AddInName::Kind::Function)
        return std::string(called.function.text);
  return std::string();
}

void CalculateBook(Workbook& book, EngineHost& host, bool onlyAddInCells, const CalculationSteps& steps,
                   int threads) {
  Plan plan = MakePlan(book, host, onlyAddInCells, threads > 1 ? KeepNeeds::OfThreadSafe : KeepNeeds::None);
  if (plan.asynchronous) {
    plan = MakePlan(book, host, onlyAddInCells, KeepNeeds::OfAll);
    CalculateInRounds(book, host, plan, steps);
    return;
  }
  const auto& formulas = book.Formulas();
  Schedule(
      plan, threads,
      [&](int e, int thread) {
        if (steps.before) steps.before(formulas[static_cast<size_t>(e)], thread);
        return CalculateEntry(book, host, plan, e);
      },
      [&](int e, const Evaluated& answer, int thread) {
        if (steps.after) steps.after(formulas[static_cast<size_t>(e)], answer, plan.roles[static_cast<size_t>(e)], thread);
      });
}

}  // namespace xllhost
