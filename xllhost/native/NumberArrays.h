// Arrays of numbers as add-ins take and answer them: an FP or FP12 (K,
// K%), its counts before its numbers, and an O or O% array, its counts
// passed apart from its numbers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/Values.h"

namespace xllhost {

// An FP (or, `wide`, an FP12) in a buffer of doubles: the counts where the
// first number would be, then the numbers, row by row. A single value is a
// 1 x 1 array. Each element must be a number, or convert to one; otherwise
// answers false, and the cell shows #VALUE!.
bool PrepareFp(const Value& given, bool wide, std::vector<double>& buffer);

// The numbers of an O or O% argument, converted as an FP's are, and its
// counts apart: `counts32` for O%, `counts16` for O, whose counts must fit
// its unsigned shorts.
bool PrepareCounted(const Value& given, bool wide, std::vector<double>& numbers, std::int32_t counts32[2],
                    std::uint16_t counts16[2]);

// The numbers of an FP (or, `wide`, an FP12) at the address as an array; an
// array with no element, or with more than `most` or than readable memory
// holds, shows #VALUE!, and `what` says why.
Value FloatArray(const void* array, bool wide, size_t most, std::string* what);

// The first rows x columns of the numbers as an array; counts of no element,
// or of more numbers than there are, show #VALUE!, and `what` says why.
Value CountedArray(const std::vector<double>& numbers, long long rows, long long columns, std::string* what);

}  // namespace xllhost
