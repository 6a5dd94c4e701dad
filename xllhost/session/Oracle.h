// A workbook Excel calculated, recalculated with the add-ins: each cell that
// calls an add-in's function compared with the value Excel saved for it.
#pragma once

#include "SessionSteps.h"

namespace xllhost {

// Recalculates the workbook in the host's state: the formula cells that
// call a loaded add-in's function, and those that depend on one; every other
// cell keeps what Excel saved. Prints a line per add-in cell and a count;
// each cell that differs from Excel is a problem. Writes options.report
// (JSON) and options.junit (JUnit XML) when given.
void CompareWorkbook(const SessionOptions& options);

// Whether a value equals what Excel saved: numbers to 15 significant digits,
// or within the relative `tolerance` when it is not 0; texts, Booleans and
// errors exactly; arrays element by element.
bool SameAsSaved(const Value& value, const Value& saved, double tolerance);

}  // namespace xllhost
