// The built-ins of rectangles and arrays: ROWS, COLUMNS, INDEX, TRANSPOSE,
// VLOOKUP, HLOOKUP.
#pragma once

#include "BuiltinCall.h"

namespace xllhost {

Value Rows(const BuiltinCall& call);
Value Columns(const BuiltinCall& call);
Value Index(const BuiltinCall& call);
Value Transpose(const BuiltinCall& call);
Value VLookup(const BuiltinCall& call);
Value HLookup(const BuiltinCall& call);
}  // namespace xllhost
