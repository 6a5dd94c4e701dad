// The dynamic array functions that order an array's lines: SORT and SORTBY.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Sort(const BuiltinCall& call);    // SORT(array, [sort_index], [sort_order], [by_col])
Value SortBy(const BuiltinCall& call);  // SORTBY(array, by_array1, [sort_order1], ...)

}  // namespace xllhost
