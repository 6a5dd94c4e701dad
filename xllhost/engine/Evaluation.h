// A formula evaluated where it stands: references read from the workbook,
// built-in functions from their table, and the add-ins' registered
// functions called through the host with arguments as their type texts ask.
#pragma once

#include <string>

#include "engine/EngineHost.h"
#include "workbook/Workbook.h"

namespace xllhost {

// What a formula shows, or why it is not calculated.
struct Evaluated {
  Value value;  // an array formula's whole answer; a cell's whole array
  std::string notCalculated;
};

// The formula standing in `cell`, as written there. `fromExcel`: Excel
// calculated it, so a function neither registered nor in the table is one of
// Excel's that xllhost lacks, not a name nobody defined (#NAME?).
Evaluated EvaluateFormula(const Workbook& book, EngineHost& host, const Formula& formula, const CalculatedCell& cell,
                          bool fromExcel);

// The sheet a reference or a name written with `sheet` (empty for none)
// names, as the formula at `place` sees it; -1 for none.
int SheetNamed(const Workbook& book, const std::string& sheet, const Place& place);

}  // namespace xllhost
