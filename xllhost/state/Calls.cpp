#include "state/Calls.h"

#include <utility>

#include "state/HostState.h"

namespace xllhost {
const std::vector<HostCall>& Calls() { return State().calls; }

void ClearCalls() { State().calls.clear(); }

std::vector<int> CallNumbers() {
  std::vector<int> numbers;
  for (const HostCall& call : State().calls) numbers.push_back(call.xlfn);
  return numbers;
}

void OnCall(std::function<void(const HostCall&)> listener) { State().listener = std::move(listener); }

bool Listening() { return static_cast<bool>(State().listener); }

void Record(HostCall call, bool keep) {
  if (State().listener) State().listener(call);
  if (keep) State().calls.push_back(std::move(call));
}

void Fault(const std::string& text) {
  if (State().lateFault != nullptr) return State().lateFault(text.c_str());
  State().faults.push_back(text);
}

void AfterVerdict(void (*report)(const char* text)) { State().lateFault = report; }

const std::vector<std::string>& Faults() { return State().faults; }

void Unusable(const std::string& text) {
  State().unusable.push_back(text);
  if (State().unusableListener) State().unusableListener(text);
}

void OnUnusable(std::function<void(const std::string&)> listener) {
  State().unusableListener = std::move(listener);
}

const std::vector<std::string>& UnusableInput() { return State().unusable; }

void ForgetSeen() {
  State().calls.clear();
  State().faults.clear();
  State().unusable.clear();
}

}  // namespace xllhost
