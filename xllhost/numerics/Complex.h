// The engineering built-ins of complex numbers, each written as a text
// "x+yi" or "x+yj" (or a number, which is real): COMPLEX, IMREAL,
// IMAGINARY, IMABS, IMARGUMENT, IMCONJUGATE, IMSUM, IMSUB, IMPRODUCT,
// IMDIV, IMPOWER, IMSQRT, IMEXP, IMLN, IMLOG10, IMLOG2, and the
// trigonometric and hyperbolic IMSIN ... IMCSCH. Each part of an answer is
// written as Excel writes a number in a cell, to 15 significant digits.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Complex(const BuiltinCall& call);  // COMPLEX(real, imaginary, [suffix "i" or "j"])
Value ImReal(const BuiltinCall& call);
Value Imaginary(const BuiltinCall& call);
Value ImAbs(const BuiltinCall& call);
Value ImArgument(const BuiltinCall& call);  // in radians; of 0, #DIV/0!
Value ImConjugate(const BuiltinCall& call);
Value ImSum(const BuiltinCall& call);      // any number of complex numbers, ranges cell by cell
Value ImProduct(const BuiltinCall& call);  // any number of complex numbers, ranges cell by cell
Value ImSub(const BuiltinCall& call);
Value ImDiv(const BuiltinCall& call);
Value ImPower(const BuiltinCall& call);  // by its polar form, as Excel: IMPOWER("2+3i",3) is "-46+9.00000000000001i"
Value ImSqrt(const BuiltinCall& call);
Value ImExp(const BuiltinCall& call);
Value ImLn(const BuiltinCall& call);
Value ImLog10(const BuiltinCall& call);
Value ImLog2(const BuiltinCall& call);
Value ImSin(const BuiltinCall& call);
Value ImCos(const BuiltinCall& call);
Value ImTan(const BuiltinCall& call);
Value ImCot(const BuiltinCall& call);
Value ImSec(const BuiltinCall& call);
Value ImCsc(const BuiltinCall& call);
Value ImSinh(const BuiltinCall& call);
Value ImCosh(const BuiltinCall& call);
Value ImSech(const BuiltinCall& call);
Value ImCsch(const BuiltinCall& call);

}  // namespace xllhost
