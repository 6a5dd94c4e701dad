// A formula evaluated where it stands: references read from the workbook,
// built-in functions from their table, and the add-ins' registered
// functions called with arguments as their type texts ask.
#pragma once

#include <string>
#include <string_view>

#include "Builtins.h"
#include "HostState.h"
#include "Workbook.h"

namespace xllhost {

// What a formula shows, or why it is not calculated.
struct Evaluated {
  Value value;  // an array formula's whole answer; a cell's whole array
  std::string notCalculated;
};

// The formula standing at `place`, as written in `text`, filling `area`
// (its cell, or its array block). `fromExcel`: Excel calculated it, so a
// function neither registered nor in the table is one of Excel's that
// xllhost lacks, not a name nobody defined (#NAME?).
Evaluated EvaluateFormula(const Formula& formula, std::string_view text, const Place& place, const Area& area,
                          bool fromExcel);

// The registration of the add-ins' function of that name (upper case,
// without _xll.), or null when none registered it.
const Registration* AddInFunction(const std::string& name);

// The sheet a reference or a name written with `sheet` (empty for none)
// names, as the formula at `place` sees it; -1 for none.
int SheetNamed(const std::string& sheet, const Place& place);

}  // namespace xllhost
