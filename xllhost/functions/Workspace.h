// What Excel tells an add-in about its workspace, and what an add-in shows
// the user: xlfGetWorkspace, xlcMessage, xlcAlert and xlfVolatile.
#pragma once

#include "records/HostAnswer.h"

namespace xllhost {

// An information function's type_num: a number, taken whole, or an integer.
bool InformationType(const Value& value, int* type);
// The answer to a type of an information function xllhost cannot answer
// truthfully: #N/A, and the session is not judged, naming it.
Answer NotModelled(const char* function, int type);

// The types add-ins ask at start-up, and the registered procedures (44).
Answer GetWorkspace(const Request& request);
// The status bar's text, shown in the transcript.
Answer Message(const Request& request);
// The alert, shown in the transcript; the user presses OK.
Answer Alert(const Request& request);
// xllhost calculates every cell once, so volatility changes nothing here.
Answer Volatile(const Request& request);

}  // namespace xllhost
