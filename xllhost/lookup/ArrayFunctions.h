// The dynamic array functions, which answer arrays: SEQUENCE, FILTER,
// UNIQUE (SORT and SORTBY in Sorting.h), TAKE, DROP, HSTACK, VSTACK, CHOOSEROWS, CHOOSECOLS, TOROW and
// TOCOL; and ANCHORARRAY, the reference to the cells a formula's array
// spills into (A1#, as a file writes it), which a workbook holds as the
// formula's array block. Where Excel answers #CALC! (an empty array), which the C
// API has no code for, the cell is left not calculated.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Sequence(const BuiltinCall& call);    // SEQUENCE(rows, [columns], [start], [step])
Value Filter(const BuiltinCall& call);      // FILTER(array, include, [if_empty])
Value Unique(const BuiltinCall& call);      // UNIQUE(array, [by_col], [exactly_once])
Value Take(const BuiltinCall& call);        // TAKE(array, rows, [columns]): from the end below 0
Value Drop(const BuiltinCall& call);        // DROP(array, rows, [columns])
Value HStack(const BuiltinCall& call);      // arrays side by side, short ones filled with #N/A
Value VStack(const BuiltinCall& call);      // arrays one below another
Value ChooseRows(const BuiltinCall& call);  // CHOOSEROWS(array, row1, ...): from the end below 0
Value ChooseCols(const BuiltinCall& call);
Value ToRow(const BuiltinCall& call);  // TOROW(array, [ignore], [scan_by_column])
Value ToCol(const BuiltinCall& call);
Value AnchorArray(const BuiltinCall& call);

}  // namespace xllhost
