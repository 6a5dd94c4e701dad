#include "functions/AsyncCalls.h"

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "functions/Information.h"  // CallerCellName
#include "functions/Invoke.h"
#include "state/CallContext.h"
#include "state/Calls.h"  // Fault
#include "state/HostPart.h"

namespace xllhost {
namespace {

// One call made. The handle given out is the address of its record, which
// stays put until the calculation is over.
struct AsyncCall {
  std::string label;  // the cell and its formula, for a problem that names it
  DWORD caller = 0;   // the thread the call was made on
  bool answered = false;
  bool answeredThere = false;  // on that thread, before the function returned
  Value answer = ErrorValue(xlerrGettingData);
};

// The calls a cell made, in the order its formula makes them: a later
// calculation of the cell meets the same calls in the same order, as its
// arguments cannot have changed.
struct CellCalls {
  std::vector<AsyncCall*> calls;
  size_t next = 0;     // the call the calculation meets next
  bool waits = false;  // a call of this calculation awaits its answer
};

struct AsyncTable {
  std::deque<AsyncCall> calls;
  std::unordered_map<const void*, AsyncCall*> byHandle;
  std::unordered_map<std::uint64_t, CellCalls> byCell;
  size_t awaited = 0;  // calls not yet answered
  bool canceled = false;
  double wait = 60;
};
AsyncTable& Pending() { return HostPart<AsyncTable>(); }

// The answers come on any thread: the table is theirs and the calculating
// thread's under this lock. Never destroyed, as the host's parts are not.
std::mutex& Guard() {
  static std::mutex* const guard = new std::mutex;
  return *guard;
}
std::condition_variable& AnswerCame() {
  static std::condition_variable* const answered = new std::condition_variable;
  return *answered;
}

std::uint64_t KeyOf(const Place& place) {
  return (static_cast<std::uint64_t>(place.sheet) << 40) | (static_cast<std::uint64_t>(place.row) << 16) |
         static_cast<std::uint64_t>(place.column);
}

// Takes one answer; says why it cannot, for a handle that awaits none.
std::string TakeAnswer(const Value& handle, const Value& value) {
  if (!handle.Is(xltypeBigData)) return "a handle that is no binary data (" + Display(handle) + ")";
  AsyncTable& table = Pending();
  const auto found = table.byHandle.find(handle.pointer);
  if (found == table.byHandle.end()) return "a handle no asynchronous call awaits (" + Display(handle) + ")";
  AsyncCall& call = *found->second;
  if (call.answered) return "the handle of " + call.label + ", which was answered already";
  call.answer = value;
  call.answered = true;
  call.answeredThere = GetCurrentThreadId() == call.caller;
  --table.awaited;
  return std::string();
}

}  // namespace

Value CallAsynchronous(const Registration& function, const std::vector<Value>& args, const CalculatedCell& cell) {
  AsyncCall* made = nullptr;
  CellCalls* calls = nullptr;
  {
    std::lock_guard<std::mutex> lock(Guard());
    calls = &Pending().byCell[KeyOf(cell.place)];
    if (calls->waits) return ErrorValue(xlerrGettingData);
    if (calls->next < calls->calls.size()) {
      const AsyncCall& met = *calls->calls[calls->next++];
      calls->waits = !met.answered;
      return met.answer;
    }
    made = &Pending().calls.emplace_back();
    made->label = CallerCellName();
    made->caller = GetCurrentThreadId();
    Pending().byHandle.emplace(made, made);
    calls->calls.push_back(made);
    ++calls->next;
    ++Pending().awaited;
  }
  const Value returned = Invoke(function, args, nullptr, reinterpret_cast<std::uintptr_t>(made));
  std::lock_guard<std::mutex> lock(Guard());
  if (!made->answered && !(returned.Is(xltypeErr) && returned.err == xlerrGettingData)) {
    // Not called: an argument it cannot take shows as a cell's would.
    made->answer = returned;
    made->answered = made->answeredThere = true;
    --Pending().awaited;
  }
  // An answer from another thread is taken between rounds, whenever it
  // came, so that the cells are shown in the same order on every run.
  calls->waits = !made->answeredThere;
  return calls->waits ? ErrorValue(xlerrGettingData) : made->answer;
}

bool AwaitsAnswer(const CalculatedCell& cell) {
  std::lock_guard<std::mutex> lock(Guard());
  const auto found = Pending().byCell.find(KeyOf(cell.place));
  if (found == Pending().byCell.end()) return false;
  found->second.next = 0;
  return std::exchange(found->second.waits, false);
}

bool AwaitAnswers(double seconds) {
  std::vector<std::string> unanswered;
  {
    HostUnlocked unlocked;  // the answers come through the host's callbacks
    std::unique_lock<std::mutex> lock(Guard());
    if (AnswerCame().wait_for(lock, std::chrono::duration<double>(seconds), [] { return Pending().awaited == 0; }))
      return true;
    for (AsyncCall& call : Pending().calls)
      if (!call.answered) {
        call.answered = true;
        unanswered.push_back(call.label);
      }
    Pending().awaited = 0;
    Pending().canceled = true;
  }
  for (const std::string& label : unanswered)
    Fault(label + ": its asynchronous call was not answered within " + Display(NumberValue(seconds)) +
          " s (--timeout); Excel shows #GETTING_DATA until xlAsyncReturn answers its handle");
  return false;
}

bool EndAsynchronousCalls() {
  std::lock_guard<std::mutex> lock(Guard());
  const bool canceled = Pending().canceled;
  const double wait = Pending().wait;
  Pending() = AsyncTable{};
  Pending().wait = wait;
  return !canceled;
}

void SetAnswerWait(double seconds) { Pending().wait = seconds; }
double AnswerWait() { return Pending().wait; }

Answer AsyncReturn(const Request& request) {
  if (request.args.size() != 2) return Fail(xlretInvCount);
  const Value& handles = request.args[0];
  const Value& values = request.args[1];
  std::vector<std::string> wrong;
  if (handles.Is(xltypeMulti) != values.Is(xltypeMulti) || handles.elements.size() != values.elements.size()) {
    wrong.push_back(std::to_string(handles.elements.size()) + " handles with " + std::to_string(values.elements.size()) +
                    " values, where xlasyncreturn.md pairs each handle with the value in its place");
  } else {
    std::lock_guard<std::mutex> lock(Guard());
    const bool row = handles.Is(xltypeMulti);
    for (size_t i = 0; i < (row ? handles.elements.size() : 1); ++i)
      if (std::string why = TakeAnswer(row ? handles.elements[i] : handles, AsCell(row ? values.elements[i] : values));
          !why.empty())
        wrong.push_back(std::move(why));
  }
  AnswerCame().notify_all();
  for (const std::string& why : wrong) Fault("xlAsyncReturn was given " + why + "; it answered FALSE");
  return Success(BooleanValue(wrong.empty()));
}

}  // namespace xllhost
