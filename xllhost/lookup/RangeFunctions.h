// The built-ins of lookup and reference: ROWS, COLUMNS, INDEX, TRANSPOSE,
// VLOOKUP, HLOOKUP, MATCH, ROW, COLUMN, and OFFSET, INDIRECT and CHOOSE,
// which answer references (xltypeRef) that a formula reads as references.
#pragma once

#include <vector>

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Rows(const BuiltinCall& call);
Value Columns(const BuiltinCall& call);
Value Index(const BuiltinCall& call);
Value Transpose(const BuiltinCall& call);
Value VLookup(const BuiltinCall& call);
Value HLookup(const BuiltinCall& call);
Value Match(const BuiltinCall& call);
Value Row(const BuiltinCall& call);
Value Column(const BuiltinCall& call);
Value Offset(const BuiltinCall& call);
Value Indirect(const BuiltinCall& call);
// CHOOSE, and the one argument it calculates: the one its index picks.
int ChooseIndexed(const std::vector<Value>& calculated, int last);
Value Choose(const BuiltinCall& call);
}  // namespace xllhost
