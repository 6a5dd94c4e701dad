#include "Calls.h"

#include <utility>

namespace xllhost {
namespace {

struct Seen {
  std::vector<HostCall> calls;
  std::vector<std::string> faults;
  std::vector<std::string> unusable;
  std::function<void(const HostCall&)> listener;
};

Seen& Everything() {
  static Seen seen;
  return seen;
}

void (*lateFault)(const char* text) = nullptr;  // a plain pointer: it outlives every static object

}  // namespace

const std::vector<HostCall>& Calls() { return Everything().calls; }

void ClearCalls() { Everything().calls.clear(); }

std::vector<int> CallNumbers() {
  std::vector<int> numbers;
  for (const HostCall& call : Everything().calls) numbers.push_back(call.xlfn);
  return numbers;
}

void OnCall(std::function<void(const HostCall&)> listener) { Everything().listener = std::move(listener); }

bool Listening() { return static_cast<bool>(Everything().listener); }

void Record(HostCall call, bool keep) {
  if (Everything().listener) Everything().listener(call);
  if (keep) Everything().calls.push_back(std::move(call));
}

void Fault(const std::string& text) {
  if (lateFault != nullptr) return lateFault(text.c_str());
  Everything().faults.push_back(text);
}

void AfterVerdict(void (*report)(const char* text)) { lateFault = report; }

const std::vector<std::string>& Faults() { return Everything().faults; }

void Unusable(const std::string& text) { Everything().unusable.push_back(text); }

const std::vector<std::string>& UnusableInput() { return Everything().unusable; }

void ForgetSeen() {
  Everything().calls.clear();
  Everything().faults.clear();
  Everything().unusable.clear();
}

}  // namespace xllhost
