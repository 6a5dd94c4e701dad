// xlCoerce's conversions: a value converted to one of the types an add-in
// asks for. They build without Windows; the host function is Worksheet's
// CoerceReferences.
#pragma once

#include <cstdint>

#include "records/Values.h"

namespace xllhost {

// Coerces a value as xlCoerce does to one of the types of the mask (0: any
// value type); answers false when it cannot.
bool CoerceValue(const Value& source, std::uint32_t mask, Interface via, Value* result);

}  // namespace xllhost
