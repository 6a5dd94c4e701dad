#include "HostState.h"

namespace xllhost {

const std::vector<HostCall>& Calls() { return Host().calls; }

void ClearCalls() { Host().calls.clear(); }

std::vector<int> CallNumbers() {
  std::vector<int> numbers;
  for (const HostCall& call : Host().calls) numbers.push_back(call.xlfn);
  return numbers;
}

void OnCall(std::function<void(const HostCall&)> listener) { Host().listener = std::move(listener); }

const std::vector<std::string>& Faults() { return Host().faults; }

}  // namespace xllhost
