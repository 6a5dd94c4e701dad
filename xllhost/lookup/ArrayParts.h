// What the dynamic array functions share: their arguments read, and the
// lines of an array picked.
#pragma once

#include <vector>

#include "builtins/BuiltinCall.h"

namespace xllhost {

// Argument `i` taken whole, `absent` when it is not given. An array of
// them is left not calculated.
bool Whole(const BuiltinCall& c, size_t i, double absent, double* n, Value* error);
// Argument `i` as a flag, FALSE when it is not given.
bool Flag(const BuiltinCall& c, size_t i, bool* flag, Value* error);
// The lines (rows, or columns `across`) of a grid given by their indexes,
// as an array.
Value Lines(const Grid& grid, const std::vector<int>& picked, bool across);
// The first `n` of `count` lines (the last when n < 0), or without them
// (`drop`); none is -1.
std::vector<int> Kept(int count, double n, bool drop);

}  // namespace xllhost
