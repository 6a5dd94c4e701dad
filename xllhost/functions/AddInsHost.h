// The formula engine's host in xllhost: the names the loaded add-ins
// defined, and their functions called as a cell calls them.
#pragma once

#include "engine/EngineHost.h"

namespace xllhost {

// Answers from the host's state, whatever it holds when asked, to cells
// calculated on `threads` threads at once.
EngineHost& AddInsHost(int threads = 1);

}  // namespace xllhost
