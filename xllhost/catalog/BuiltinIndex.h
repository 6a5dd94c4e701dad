// A row of the built-ins' table found by a formula's name for it or by an
// add-in's number.
#pragma once

#include <string>

#include "catalog/Builtins.h"

namespace xllhost {

// Null when the table has no row of the name (upper case) or number
// (NoNumber is none).
const Builtin* FindBuiltin(const std::string& name);
const Builtin* FindBuiltin(int xlfn);

}  // namespace xllhost
