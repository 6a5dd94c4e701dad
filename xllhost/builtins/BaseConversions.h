// The engineering built-ins that write a whole number in another base:
// DEC2BIN, DEC2OCT, DEC2HEX, BIN2DEC, BIN2OCT, BIN2HEX, OCT2DEC, OCT2BIN,
// OCT2HEX, HEX2DEC, HEX2BIN, HEX2OCT, and BASE and DECIMAL in any radix
// from 2 to 36. Binary, octal and hexadecimal numbers are at most ten
// digits, a negative one in ten digits of two's complement.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

// Each takes the number, and, unless it writes a decimal, the fewest
// digits to write ("places").
Value Dec2Bin(const BuiltinCall& call);
Value Dec2Oct(const BuiltinCall& call);
Value Dec2Hex(const BuiltinCall& call);
Value Bin2Dec(const BuiltinCall& call);
Value Bin2Oct(const BuiltinCall& call);
Value Bin2Hex(const BuiltinCall& call);
Value Oct2Dec(const BuiltinCall& call);
Value Oct2Bin(const BuiltinCall& call);
Value Oct2Hex(const BuiltinCall& call);
Value Hex2Dec(const BuiltinCall& call);
Value Hex2Bin(const BuiltinCall& call);
Value Hex2Oct(const BuiltinCall& call);
Value Base(const BuiltinCall& call);     // BASE(number, radix, [min_length])
Value Decimal(const BuiltinCall& call);  // DECIMAL(text, radix)

}  // namespace xllhost
