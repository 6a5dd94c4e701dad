// A value compared with what Excel saved for it: the rule by which a cell
// of a workbook Excel calculated is judged the same here.
#pragma once

#include <string>

#include "records/Values.h"

namespace xllhost {

// Why a value is not what Excel saved, or empty when it is: numbers to 15
// significant digits, or within the relative `tolerance` when it is not 0;
// texts, Booleans and errors exactly; arrays element by element.
std::string Difference(const Value& value, const Value& saved, double tolerance);

}  // namespace xllhost
