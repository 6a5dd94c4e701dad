// xlCoerce: a value converted to one of the types an add-in asks for.
#pragma once

#include <cstdint>

#include "HostAnswer.h"

namespace xllhost {

Answer Coerce(const Request& request);

// Coerces a value as xlCoerce does to one of the types of the mask (0: any
// value type); answers false when it cannot.
bool CoerceValue(const Value& source, std::uint32_t mask, Interface via, Value* result);

}  // namespace xllhost
