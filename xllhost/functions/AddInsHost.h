// The formula engine's host in xllhost: the names the loaded add-ins
// defined, and their functions called as a cell calls them.
#pragma once

#include <string>
#include <vector>

#include "engine/EngineHost.h"

namespace xllhost {

// Answers from the host's state, whatever it holds when asked, to cells
// calculated on `threads` threads at once.
EngineHost& AddInsHost(int threads = 1);

// A call of a function registered thread-safe ($), kept for the thread
// check: what it was given, the cell it was made for and what that showed.
struct ThreadSafeCall {
  double id = 0;
  std::vector<Value> args;
  Place place;
  Area area;
  std::string formula;
  Value answer;
};
// While `keep`, the first calls of each thread-safe function are kept.
void KeepThreadSafeCalls(bool keep);
const std::vector<ThreadSafeCall>& ThreadSafeCallsKept();

}  // namespace xllhost
