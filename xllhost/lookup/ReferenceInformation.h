// What a reference is, and the formula behind it: ISREF, ISFORMULA,
// FORMULATEXT, SHEET and SHEETS; and HYPERLINK, what a link shows. Sheets are counted among those the
// workbook holds, in their order.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value IsRef(const BuiltinCall& call);
Value IsFormula(const BuiltinCall& call);    // of the reference's first cell
Value FormulaText(const BuiltinCall& call);  // the first cell's formula as Excel shows it; none, #N/A
Value SheetNumber(const BuiltinCall& call);  // SHEET([value]): a reference's sheet, or a sheet's name, from 1
Value SheetCount(const BuiltinCall& call);   // SHEETS([reference]): 1 for a reference, all without one
Value Hyperlink(const BuiltinCall& call);    // HYPERLINK(link_location, [friendly_name])

}  // namespace xllhost
