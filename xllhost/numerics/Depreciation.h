// The depreciation built-ins, each taken element by element over arrays:
// SLN, SYD, DDB and DB.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Sln(const BuiltinCall& call);  // SLN(cost, salvage, life)
Value Syd(const BuiltinCall& call);  // SYD(cost, salvage, life, per)
Value Ddb(const BuiltinCall& call);  // DDB(cost, salvage, life, period, [factor])
Value Db(const BuiltinCall& call);   // DB(cost, salvage, life, period, [month])

}  // namespace xllhost
