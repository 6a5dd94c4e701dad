// The built-ins of one or two values, each taken element by element over
// an array, and the logical ones: ABS, SQRT, EXP, LN, INT, PI, LOG, LOG10,
// POWER, SIGN, ROUND, ROUNDUP, ROUNDDOWN, TRUNC, MOD, QUOTIENT, ISEVEN,
// ISODD, FACT, COMBIN, COMBINA, PERMUT, PERMUTATIONA, FACTDOUBLE, SQRTPI,
// NOT, ISERROR, ISNUMBER, ISTEXT, NA, TRUE, FALSE.
// Rounding to a multiple is in Rounding.h, IF and its kin in
// Conditionals.h.
#pragma once

#include <functional>

#include "builtins/BuiltinCall.h"

namespace xllhost {

// A function of one number, element by element over an array.
Value Numeric(const BuiltinCall& call, size_t i, const std::function<Value(double)>& f);
// A function of two numbers, element by element; the second may be absent.
Value Numeric2(const BuiltinCall& call, double absent, const std::function<Value(double, double)>& f);
// A function of the first `count` numbers, at most MostNumeric, element by
// element; an absent one is NaN.
constexpr size_t MostNumeric = 6;
Value NumericN(const BuiltinCall& call, size_t count, const std::function<Value(const double*)>& f);
// A number rounded to `digits` places (left of the point when below 0),
// halves away from zero, as ROUND rounds.
double RoundToDigits(double n, double digits);

Value Abs(const BuiltinCall& call);
Value Sqrt(const BuiltinCall& call);
Value Exp(const BuiltinCall& call);
Value Ln(const BuiltinCall& call);
Value Int(const BuiltinCall& call);
Value Pi(const BuiltinCall& call);
Value Log(const BuiltinCall& call);
Value Log10(const BuiltinCall& call);
Value Sign(const BuiltinCall& call);
Value Power(const BuiltinCall& call);
Value Round(const BuiltinCall& call);
Value RoundUp(const BuiltinCall& call);
Value RoundDown(const BuiltinCall& call);  // TRUNC too: its digits default to 0
Value Mod(const BuiltinCall& call);
Value Quotient(const BuiltinCall& call);
Value IsEven(const BuiltinCall& call);
Value IsOdd(const BuiltinCall& call);
Value Fact(const BuiltinCall& call);
Value Combin(const BuiltinCall& call);
Value Combina(const BuiltinCall& call);
Value Permut(const BuiltinCall& call);
Value PermutationA(const BuiltinCall& call);
Value FactDouble(const BuiltinCall& call);
Value SqrtPi(const BuiltinCall& call);  // the square root of n pi
// The ways to choose k of n (whole, 0 <= k <= n); NaN past a double.
double Ways(double n, double k);
Value Not(const BuiltinCall& call);
Value IsError(const BuiltinCall& call);
Value IsNa(const BuiltinCall& call);
Value IsBlank(const BuiltinCall& call);  // of an empty cell, not of an empty text
Value IsNumber(const BuiltinCall& call);
Value IsText(const BuiltinCall& call);
Value Na(const BuiltinCall& call);
Value True(const BuiltinCall& call);
Value False(const BuiltinCall& call);
}  // namespace xllhost
