// Excel's operators, and the conversions operators and built-in functions
// share: a value taken as a number, a text or a Boolean, as a formula takes
// it, and an operation over arrays element by element.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "formulas/Operator.h"
#include "records/Values.h"

namespace xllhost {

// A number as a formula answers it: an infinite or invalid one is #NUM!.
Value FiniteNumber(double number);

// A value taken as a number, a text or a Boolean; each answers false with
// the error the formula then shows (an error stays itself, an array or what
// does not convert is #VALUE!).
bool AsNumber(const Value& value, double* number, Value* error);
bool AsText(const Value& value, std::string* text, Value* error);
bool AsBoolean(const Value& value, bool* boolean, Value* error);

// Applies `scalar` to each element of the arrays among the values, a single
// value standing for every element, as Excel's array arithmetic does; an
// element beyond a smaller array is #N/A.
Value ElementWise(const std::vector<Value>& values, const std::function<Value(const std::vector<Value>&)>& scalar);

// +, -, *, / or ^ on two values taken as numbers.
Value Arithmetic(Operator op, const Value& left, const Value& right);

// How two values order as Excel compares them: below 0, 0 or above 0.
// Numbers come before texts, texts before Booleans; an empty cell is 0, ""
// or FALSE as the other side asks; texts ignore case. Neither is an error.
int Order(Value left, Value right);
// Whether both are numbers, both texts, both Booleans or both errors: the
// values the lookups and criteria compare at all.
bool SameKind(const Value& a, const Value& b);
// Of the same kind and equal by Order: as SWITCH, the lookups and UNIQUE
// match values (texts without case). An empty cell equals nothing.
bool Equal(const Value& a, const Value& b);

// An operator applied as Excel applies it; arrays element by element.
Value Operate(Operator op, const Value& left, const Value& right);
Value Negate(const Value& value);
Value Percent(const Value& value);

}  // namespace xllhost
