// The depreciation built-ins, each taken element by element over arrays:
// SLN, SYD, DDB, DB and VDB.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Sln(const BuiltinCall& call);  // SLN(cost, salvage, life)
Value Syd(const BuiltinCall& call);  // SYD(cost, salvage, life, per)
Value Ddb(const BuiltinCall& call);  // DDB(cost, salvage, life, period, [factor])
Value Db(const BuiltinCall& call);   // DB(cost, salvage, life, period, [month])
Value Vdb(const BuiltinCall& call);  // VDB(cost, salvage, life, start, end, [factor], [no_switch])

}  // namespace xllhost
