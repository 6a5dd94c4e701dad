// What Excel tells an add-in about the workbook and its sheets: GET.DOCUMENT
// (xlfGetDocument) and GET.WORKBOOK (xlfGetWorkbook), answered from the
// session's workbook.
#pragma once

#include "records/HostAnswer.h"

namespace xllhost {

// The types a host without windows can answer truthfully: names, the path,
// the sheet's type, the used rows and columns, and the calculation
// settings; any other is named and leaves the session unjudged.
Answer GetDocument(const Request& request);
// The sheets' names, the selected one, and how many there are.
Answer GetWorkbook(const Request& request);

}  // namespace xllhost
