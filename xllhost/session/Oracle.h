// A workbook Excel calculated, recalculated with the add-ins: each cell that
// calls an add-in's function compared with the value Excel saved for it.
#pragma once

#include "session/SessionSteps.h"

namespace xllhost {

// Before a session with a workbook: where its reports go. From then on a
// crash writes them with the verdicts reached, the cell the session ended
// in, and the other add-in cells not calculated.
void PrepareWorkbookReports(const SessionOptions& options);

// Recalculates the workbook in the host's state: the formula cells that
// call a loaded add-in's function or one written with _xll., and those that
// depend on one, or with options.allCells every formula cell; every other
// cell keeps what Excel saved. Prints a line per cell judged (an add-in
// cell, or with allCells any) and a count; each cell that differs from Excel
// is a problem, and a workbook with no cell to judge is input xllhost
// cannot judge.
void CompareWorkbook(const SessionOptions& options);

// The workbook's every formula cell recalculated and compared, with no
// add-in loaded: the engine's own check against Excel. Answers the status.
int CompareWorkbookAlone(const SessionOptions& options);

// After the verdict: writes options.report (JSON) and options.junit (JUnit
// XML) of the last CompareWorkbook, with every problem of the session and
// the exit status. Answers the status, or 2 for a clean session whose
// reports could not be written.
int WriteWorkbookReports(int status);


}  // namespace xllhost
