#include "state/Calls.h"

#include <utility>

#include "state/HostPart.h"

namespace xllhost {
namespace {
struct Seen {
  std::vector<HostCall> calls;
  std::vector<std::string> faults;
  std::vector<std::string> unusable;
  bool unanswerable = false;
  size_t faultsBeforeUnanswerable = 0;
  std::function<void(const HostCall&)> listener;
  std::function<void(const std::string&)> unusableListener;
  void (*lateFault)(const char* text) = nullptr;  // after the verdict: reported at once
};
Seen& SeenSoFar() { return HostPart<Seen>(); }
}  // namespace

const std::vector<HostCall>& Calls() { return SeenSoFar().calls; }

void ClearCalls() { SeenSoFar().calls.clear(); }

std::vector<int> CallNumbers() {
  std::vector<int> numbers;
  for (const HostCall& call : SeenSoFar().calls) numbers.push_back(call.xlfn);
  return numbers;
}

void OnCall(std::function<void(const HostCall&)> listener) { SeenSoFar().listener = std::move(listener); }

std::function<void(const HostCall&)> StopListening() { return std::exchange(SeenSoFar().listener, nullptr); }

bool Listening() { return static_cast<bool>(SeenSoFar().listener); }

void Record(HostCall call, bool keep) {
  if (SeenSoFar().listener) SeenSoFar().listener(call);
  if (keep) SeenSoFar().calls.push_back(std::move(call));
}

void Fault(const std::string& text) {
  if (SeenSoFar().lateFault != nullptr) return SeenSoFar().lateFault(text.c_str());
  SeenSoFar().faults.push_back(text);
}

void AfterVerdict(void (*report)(const char* text)) { SeenSoFar().lateFault = report; }

const std::vector<std::string>& Faults() { return SeenSoFar().faults; }

void Unusable(const std::string& text) {
  SeenSoFar().unusable.push_back(text);
  if (SeenSoFar().unusableListener) SeenSoFar().unusableListener(text);
}

void Unanswerable(const std::string& text) {
  if (!SeenSoFar().unanswerable) SeenSoFar().faultsBeforeUnanswerable = SeenSoFar().faults.size();
  SeenSoFar().unanswerable = true;
  Unusable(text);
}

bool UnanswerableSeen() { return SeenSoFar().unanswerable; }

size_t FaultsBeforeUnanswerable() { return SeenSoFar().faultsBeforeUnanswerable; }

void OnUnusable(std::function<void(const std::string&)> listener) {
  SeenSoFar().unusableListener = std::move(listener);
}

const std::vector<std::string>& UnusableInput() { return SeenSoFar().unusable; }

void ForgetSeen() {
  SeenSoFar().calls.clear();
  SeenSoFar().faults.clear();
  SeenSoFar().unusable.clear();
}

}  // namespace xllhost
