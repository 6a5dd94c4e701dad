// TEXTSPLIT(text, col_delimiter, [row_delimiter], [ignore_empty],
// [match_mode], [pad_with]): a text split into rows and columns.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

// Each delimiter a text or an array of texts; with ignore_empty, empty
// pieces (and rows) are left out; match_mode 1 matches without case (ASCII
// texts only); short rows are padded with pad_with, #N/A when absent.
Value TextSplit(const BuiltinCall& call);

}  // namespace xllhost
