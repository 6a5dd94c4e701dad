// What Excel refuses a function registered thread-safe ($), which it may call
// on several threads at once, and the code it answers instead.
#pragma once

#include <vector>

#include "records/Values.h"

namespace xllhost {

// The code Excel answers a function registered thread-safe that makes this
// call; 0 when it allows the call.
int RefusedThreadSafe(int xlfn, const std::vector<Value>& args);

}  // namespace xllhost
