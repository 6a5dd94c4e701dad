// The built-ins that calculate only the arguments they answer: IF,
// IFERROR, IFNA, IFS and SWITCH, each with the function that says which
// argument to calculate next (Builtin::choose). CHOOSE is in
// lookup/RangeFunctions.h.
#pragma once

#include <vector>

#include "builtins/BuiltinCall.h"

namespace xllhost {

int ChooseIf(const std::vector<Value>& calculated, int last);
Value If(const BuiltinCall& call);
int ChooseIfError(const std::vector<Value>& calculated, int last);
Value IfError(const BuiltinCall& call);
int ChooseIfNa(const std::vector<Value>& calculated, int last);
Value IfNa(const BuiltinCall& call);
int ChooseIfs(const std::vector<Value>& calculated, int last);
Value Ifs(const BuiltinCall& call);  // IFS(condition1, value1, ...)
int ChooseSwitch(const std::vector<Value>& calculated, int last);
Value Switch(const BuiltinCall& call);  // SWITCH(expression, value1, result1, ..., [default])

}  // namespace xllhost
