#include "functions/AddInsHost.h"

#include <optional>

#include "functions/AsyncCalls.h"
#include "functions/Information.h"
#include "functions/Invoke.h"
#include "functions/Registrations.h"
#include "state/CallContext.h"
#include "state/HostPart.h"
#include "state/Modules.h"

namespace xllhost {
namespace {

struct ThreadSafeCalls {
  bool keep = false;
  std::vector<ThreadSafeCall> calls;
};
ThreadSafeCalls& KeptCalls() { return HostPart<ThreadSafeCalls>(); }

// With `Shared`, the host's state is shared by the threads that calculate
// cells: each asks it holding the host's lock, which Invoke lets go while
// the add-in's code runs. Without, one thread asks, and takes no lock.
template <bool Shared>
class Host final : public EngineHost {
 public:
  AddInName Lookup(const std::string& name) const override {
    std::optional<HostLocked> lock;
    if (Shared) lock.emplace();
    AddInName answer;
    if (const DefinedName* defined = FindName(name)) {
      if (defined->registerId == 0) {
        answer.kind = AddInName::Kind::Value;
        answer.value = defined->value;
      } else if (const Registration* registration = FindRegistration(defined->registerId)) {
        answer.kind = AddInName::Kind::Function;
        answer.function = AddInFunction{&registration->signature, registration->functionText, registration->id};
      } else {
        answer.kind = AddInName::Kind::Retired;
      }
    } else if (WasFunctionName(name)) {
      // A function an add-in registered and took back is a name no longer defined.
      answer.kind = AddInName::Kind::Retired;
    }
    return answer;
  }

  Value Call(const AddInFunction& function, const std::vector<Value>& args, const CalculatedCell& cell) override {
    std::optional<HostLocked> lock;
    if (Shared) lock.emplace();
    const std::shared_ptr<const Registration> held = HoldRegistration(function.id);
    if (held == nullptr) return ErrorValue(xlerrName);
    const Registration& called = *held;
    CalculatingCell calculating(cell.place, cell.area, cell.formula);
    if (called.signature.Asynchronous()) return WithControl([&] { return CallAsynchronous(called, args, cell); });
    Value answer = WithControl([&] { return Invoke(called, args); });
    if (KeptCalls().keep && called.signature.ThreadSafe()) Keep(called, args, cell, answer);
    return answer;
  }

  bool AwaitsAnswer(const CalculatedCell& cell) override { return xllhost::AwaitsAnswer(cell); }
  void AwaitAnswers() override { xllhost::AwaitAnswers(AnswerWait()); }

 private:
  // A few calls of each function are enough to check it from several threads.
  static void Keep(const Registration& function, const std::vector<Value>& args, const CalculatedCell& cell,
                   const Value& answer) {
    constexpr size_t Kept = 4;
    std::vector<ThreadSafeCall>& kept = KeptCalls().calls;
    size_t already = 0;
    for (const ThreadSafeCall& call : kept) already += call.id == function.id;
    if (already < Kept) kept.push_back(ThreadSafeCall{function.id, args, cell.place, cell.area, std::string(cell.formula), answer});
  }
};

}  // namespace

void KeepThreadSafeCalls(bool keep) { KeptCalls().keep = keep; }

const std::vector<ThreadSafeCall>& ThreadSafeCallsKept() { return KeptCalls().calls; }

EngineHost& AddInsHost(int threads) {
  static Host<false> alone;
  static Host<true> shared;
  if (threads > 1) return shared;
  return alone;
}

}  // namespace xllhost
