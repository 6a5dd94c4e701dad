// The built-ins that change, search or write a text: SUBSTITUTE, REPLACE,
// SEARCH, EXACT, CLEAN, PROPER, TEXT, TEXTBEFORE, TEXTAFTER. Each takes its
// arguments element by element over arrays.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Substitute(const BuiltinCall& call);  // SUBSTITUTE(text, old, new, [instance])
Value Replace(const BuiltinCall& call);     // REPLACE(text, start, count, new)
Value Search(const BuiltinCall& call);      // SEARCH(find, within, [start]), with wildcards
Value Exact(const BuiltinCall& call);
Value Clean(const BuiltinCall& call);
Value Proper(const BuiltinCall& call);
Value TextFormatted(const BuiltinCall& call);  // TEXT(value, format), in Excel's number format codes
// TEXTBEFORE(text, delimiter, [instance], [match_mode], [match_end], [if_not_found]), and TEXTAFTER
Value TextBefore(const BuiltinCall& call);
Value TextAfter(const BuiltinCall& call);

}  // namespace xllhost
