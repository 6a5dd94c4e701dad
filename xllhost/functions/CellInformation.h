// What Excel tells an add-in about a cell, a name and the text of a
// reference: GET.CELL (xlfGetCell), GET.NAME (xlfGetName), GET.DEF
// (xlfGetDef) and TEXTREF (xlfTextref), answered from the session's
// workbook.
#pragma once

#include "records/HostAnswer.h"

namespace xllhost {

// The types a host without a selection or formats can answer truthfully:
// where the cell stands, what it holds and its formula. A reference is
// needed: xllhost has no active cell.
Answer GetCell(const Request& request);
// A name's definition as text, "=..." : the workbook's names and those the
// add-ins define.
Answer GetNameDefinition(const Request& request);
// The name a definition has: the workbook's, or the add-ins' hidden ones.
Answer GetDef(const Request& request);
// The reference a text names, in R1C1 form or, with a1 TRUE, in A1 form.
Answer Textref(const Request& request);

}  // namespace xllhost
