// Whether a formula cell has been calculated, and its value, while cells are
// calculated on several threads: a thread may show a cell's answer while a
// callback on another reads that cell. Once a calculation has begun, a
// cell's `state` and its value are read and written only through these.
#pragma once

#include "workbook/Workbook.h"

namespace xllhost {

// Marks the cell as one the calculation under way has yet to reach; done
// on one thread, before the cells are calculated.
void MarkToCalculate(Cell& cell);

// Shows the calculated value in the cell, and marks it calculated.
void ShowAnswer(Cell& cell, const Value& value);

// Whether the calculation under way has yet to reach the cell.
bool Uncalculated(const Cell& cell);

// A copy of what the cell holds now, calculated or not, never half written.
Value ValueNow(const Cell& cell);

}  // namespace xllhost
