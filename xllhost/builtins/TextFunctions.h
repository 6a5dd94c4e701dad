// The built-ins of texts: LEN, CONCATENATE, CODE, CHAR, FIND.
#pragma once

#include "BuiltinCall.h"

namespace xllhost {

Value Len(const BuiltinCall& call);
Value Concatenate(const BuiltinCall& call);
Value Code(const BuiltinCall& call);
Value Char(const BuiltinCall& call);
Value Find(const BuiltinCall& call);
}  // namespace xllhost
