// The plan's cells calculated on one thread or several: which thread
// calculates each, and when, with every cell after those it needs and every
// answer reported in the plan's order.
#pragma once

#include <functional>

#include "engine/Evaluation.h"
#include "engine/Plan.h"

namespace xllhost {

// Calculates cell `e` on `thread` (see CalculationSteps) and shows its answer in the workbook.
using CalculateCell = std::function<Evaluated(int e, int thread)>;
// Reports cell `e`'s answer, on the calling thread, in the plan's order.
using ReportCell = std::function<void(int e, const Evaluated& answer, int thread)>;

// The plan's recalculated cells, each reported in the plan's order. With
// more than one thread, its thread-safe cells are calculated on `threads`
// threads at once, the calling one among them, as soon as the cells they
// need are; the others in their turn, on the calling thread. A thread-safe
// cell calculated ahead of its turn is reported in its turn.
void Schedule(const Plan& plan, int threads, const CalculateCell& calculate, const ReportCell& report);

}  // namespace xllhost
