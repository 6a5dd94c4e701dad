// How the host behaves where hosts may differ: the one piece of state that
// several of its units share. State used by one unit is that unit's own.
#pragma once

#include <windows.h>

#include <set>

namespace xllhost {

// Tests change these.
struct Behaviour {
  bool freeClearsPointer = true;        // xlFree sets a released string pointer to null
  bool failureWritesValueError = true;  // a failed call leaves #VALUE! in the result record
  std::set<int> failing;                // function numbers that answer xlretFailed
  bool recordCalls = true;              // keep every call for Calls(); off for benchmarks
};
Behaviour& Behave();

// The module whose code holds the address.
HMODULE ModuleAt(const void* address);

}  // namespace xllhost
