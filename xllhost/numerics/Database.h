// The database functions: an aggregate over one field (column) of the
// records (rows below the labels) of a database that meet criteria: a
// range whose first row names fields and whose rows below each hold
// conditions, all of a row to be met, any row sufficing.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value DSum(const BuiltinCall& call);
Value DAverage(const BuiltinCall& call);
Value DCount(const BuiltinCall& call);   // the numbers; every record met, without a field
Value DCountA(const BuiltinCall& call);  // the cells not empty; every record met, without a field
Value DMax(const BuiltinCall& call);
Value DMin(const BuiltinCall& call);
Value DProduct(const BuiltinCall& call);
Value DStDev(const BuiltinCall& call);
Value DStDevP(const BuiltinCall& call);
Value DVar(const BuiltinCall& call);
Value DVarP(const BuiltinCall& call);
Value DGet(const BuiltinCall& call);  // the one record's value: none is #VALUE!, more #NUM!

}  // namespace xllhost
