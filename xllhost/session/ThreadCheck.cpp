#include "session/ThreadCheck.h"

#include <windows.h>

#include <atomic>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "functions/AddInsHost.h"
#include "functions/Information.h"
#include "functions/Invoke.h"
#include "functions/Registrations.h"
#include "records/ThreadStorage.h"
#include "session/Transcript.h"
#include "state/Behaviour.h"
#include "state/CallContext.h"
#include "state/Calls.h"
#include "state/Modules.h"

namespace xllhost {
namespace {

// More threads than the machine's two cores, so that the system switches
// between them too, and enough rounds that a race in a function of a few
// microseconds shows in the fixtures on every run.
constexpr int Threads = 4;
constexpr int Rounds = 250;

struct Worker {
  const Registration* function = nullptr;
  const std::vector<const ThreadSafeCall*>* calls = nullptr;
  std::atomic<int>* starting = nullptr;
  std::atomic<int>* running = nullptr;
  std::string differs;                // the first answer unlike the one alone
  std::set<std::uintptr_t> answers;  // the addresses of the records it answered
  long made = 0;
};

// Counts the thread in, and waits until every thread has come.
void Meet(std::atomic<int>& coming) {
  for (--coming; coming > 0;) SwitchToThread();
}

DWORD WINAPI Work(void* parameter) {
  Worker& worker = *static_cast<Worker*>(parameter);
  // The threads start together, so that their calls overlap.
  Meet(*worker.starting);
  for (int round = 0; round < Rounds; ++round)
    for (const ThreadSafeCall* call : *worker.calls) {
      HostLocked lock;
      CalculatingCell cell(call->place, call->area, call->formula);
      std::uintptr_t at = 0;
      const Value answer = WithControl([&] { return Invoke(*worker.function, call->args, &at); });
      ++worker.made;
      if (at != 0) worker.answers.insert(at);
      if (worker.differs.empty() && Shown(answer) != Shown(call->answer))
        worker.differs = "answered " + Shown(answer) + " for cell " +
                         CellLabel(call->place.sheet, call->place.row, call->place.column) + " " + call->formula +
                         ", where it answers " + Shown(call->answer) + " alone";
    }
  // No thread ends before all are done: an ended thread's storage may be
  // handed to another's thread-local answer, which would then share its
  // address without ever being answered at the same time.
  Meet(*worker.running);
  ReleaseThreadStorage();
  return 0;
}

void Check(const Registration& function, const std::vector<const ThreadSafeCall*>& calls) {
  std::atomic<int> starting{Threads}, running{Threads};
  std::vector<Worker> workers(Threads);
  std::vector<HANDLE> threads;
  for (Worker& worker : workers) {
    worker.function = &function;
    worker.calls = &calls;
    worker.starting = &starting;
    worker.running = &running;
    threads.push_back(CreateThread(nullptr, 0, Work, &worker, 0, nullptr));
  }
  WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, INFINITE);
  for (HANDLE thread : threads) CloseHandle(thread);

  const std::string& name = function.functionText;
  long made = 0;
  std::string differs;
  std::map<std::uintptr_t, int> sharing;  // an address answered, and on how many threads
  for (const Worker& worker : workers) {
    made += worker.made;
    if (differs.empty()) differs = worker.differs;
    for (std::uintptr_t at : worker.answers) ++sharing[at];
  }
  bool shared = false;
  for (const auto& [at, threadsAnswering] : sharing) {
    if (threadsAnswering < 2 || shared) continue;
    char address[32];
    std::snprintf(address, sizeof address, "0x%llX", static_cast<unsigned long long>(at));
    Problem(name + " is registered thread-safe ($) but answers the same record, at " + address + ", on " +
            std::to_string(threadsAnswering) + " threads at once: a static answer, which one thread may overwrite "
            "while Excel reads another's");
    shared = true;
  }
  if (!differs.empty())
    Problem(name + " is registered thread-safe ($) but is not: called from " + std::to_string(Threads) +
            " threads at once, it " + differs);
  if (!shared && differs.empty())
    Say("  ", name, ": ", std::to_string(made), " calls from ", std::to_string(Threads),
        " threads at once, every answer as alone\n");
}

}  // namespace

void CheckThreads() {
  // The calls of each function, in the order the calculation first called them.
  std::vector<double> order;
  std::map<double, std::vector<const ThreadSafeCall*>> calls;
  for (const ThreadSafeCall& call : ThreadSafeCallsKept()) {
    if (calls.count(call.id) == 0) order.push_back(call.id);
    calls[call.id].push_back(&call);
  }
  Say("xllhost checks the functions registered thread-safe: each call again from ", std::to_string(Threads),
      " threads at once, ", std::to_string(Rounds), " times\n");
  if (order.empty()) Say("  no cell called one\n");
  // The calls the check makes are not transcribed: there are thousands.
  Behaviour& behaviour = Behave();
  const bool recorded = behaviour.recordCalls;
  behaviour.recordCalls = false;
  auto listener = StopListening();
  for (double id : order) {
    if (const std::shared_ptr<const Registration> function = HoldRegistration(id)) Check(*function, calls[id]);
  }
  OnCall(std::move(listener));
  behaviour.recordCalls = recorded;
}

}  // namespace xllhost
