// How the host behaves where hosts may differ. Tests change these.
#pragma once

#include <set>

#include "state/HostPart.h"

namespace xllhost {

struct Behaviour {
  bool freeClearsPointer = true;        // xlFree sets a released string pointer to null
  bool failureWritesValueError = true;  // a failed call leaves #VALUE! in the result record
  std::set<int> failing;                // function numbers that answer xlretFailed
  bool recordCalls = true;              // keep every call for Calls(); off for benchmarks
};

inline Behaviour& Behave() { return HostPart<Behaviour>(); }

}  // namespace xllhost
