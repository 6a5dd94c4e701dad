// The lookups beyond VLOOKUP, HLOOKUP and MATCH: LOOKUP, XLOOKUP and
// XMATCH, and ADDRESS and AREAS.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value LookupOf(const BuiltinCall& call);  // LOOKUP(key, keys, [results]), or LOOKUP(key, array)
Value XLookup(const BuiltinCall& call);   // XLOOKUP(key, keys, results, [if_not_found], [match], [search])
Value XMatch(const BuiltinCall& call);    // XMATCH(key, keys, [match], [search])
Value Address(const BuiltinCall& call);   // ADDRESS(row, column, [abs], [a1], [sheet])
Value Areas(const BuiltinCall& call);

}  // namespace xllhost
