// Calculating the workbook: its formula cells calculated in the order their
// references require (Plan.h), each evaluated where it stands
// (Evaluation.h), on one thread or several (Schedule.h).
#pragma once

#include <functional>
#include <string>

#include "engine/Evaluation.h"
#include "engine/Plan.h"
#include "workbook/Workbook.h"

namespace xllhost {

// What calculating the workbook does with each formula cell it calculates.
// `thread` is 0 for a cell calculated in its turn on the calling thread.
// With several threads, a thread-safe cell may be calculated ahead of its
// turn, on the thread `thread`: 1 is the calling thread, 2 and on the
// calculation threads. `before` runs on the thread that calculates the cell,
// and what the cell's calculation says is best held until `after`, which
// runs on the calling thread, in the order one thread calculates in.
struct CalculationSteps {
  std::function<void(const FormulaCell& cell, int thread)> before;
  // `answer`: what the formula answered, whole.
  std::function<void(const FormulaCell& cell, const Evaluated& answer, const CellRole& role, int thread)> after;
};

// The first function of a loaded add-in the cell calls, as it registered
// it; empty when it calls none.
std::string AddInFunctionOf(const Workbook& book, const EngineHost& host, const FormulaCell& entry);

// Calculates the workbook's formula cells, each after the cells it refers
// to; a circular reference's cells are not calculated, and neither is a cell
// that needs one. With `onlyAddInCells`, only the cells that call an
// add-in's function or depend on one are; the rest keep what Excel saved.
// With `threads` above 1, the thread-safe cells are calculated on that many
// threads at once, and the host must answer Lookup and Call on any of them.
void CalculateBook(Workbook& book, EngineHost& host, bool onlyAddInCells, const CalculationSteps& steps,
                   int threads = 1);

}  // namespace xllhost
