#include "functions/AsyncCalls.h"

#include <windows.h>

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "functions/Information.h"  // CellLabel
#include "functions/Invoke.h"
#include "state/CallContext.h"
#include "state/Calls.h"  // Fault
#include "state/HostPart.h"

namespace xllhost {
namespace {

// One call made. Its handle is a serial number, never given twice in a
// session, so that a handle is checked by its range alone, and a stale one
// is told from one never given.
struct AsyncCall {
  Place place;               // of the cell that made it
  std::string_view formula;  // the cell's, as written, which outlives the calculation
  DWORD caller = 0;          // the thread the call was made on
  bool answered = false;
  bool answeredThere = false;  // on that thread, before the function returned
  size_t nextOfCell = 0;       // the cell's next call, from 1; 0 for none
  Value answer;
};

std::string LabelOf(const AsyncCall& call) {
  return "cell " + CellLabel(call.place.sheet, call.place.row, call.place.column) + " " + std::string(call.formula);
}

// The calls a cell made, in the order its formula makes them, linked
// through the calls: a later calculation of the cell meets the same calls
// in the same order, as its arguments cannot have changed.
struct CellCalls {
  size_t first = 0, last = 0;  // from 1; 0 for none
  size_t next = 0;             // the call the calculation meets next, from 1
  bool started = false;        // the calculation has met a call
  bool waits = false;          // a call of this calculation awaits its answer
};

struct AsyncTable {
  std::vector<AsyncCall> calls;
  std::uintptr_t firstHandle = 1;  // of calls[0]
  std::vector<CellCalls> byEntry;                      // of the workbook's cells, by entry
  std::unordered_map<std::uint64_t, CellCalls> byCell;  // of any other, by place
  size_t awaited = 0;  // calls not yet answered
  bool canceled = false;
  double wait = 60;
};
AsyncTable& Pending() { return HostPart<AsyncTable>(); }

// The answers come on any thread: the table is theirs and the calculating
// thread's under this lock. Windows' own slim lock and condition variable,
// which wait without a round trip to the kernel when they can: an answer
// may come for every cell.
SRWLOCK guard = SRWLOCK_INIT;
CONDITION_VARIABLE answerCame = CONDITION_VARIABLE_INIT;

class Guarded {
 public:
  Guarded() { AcquireSRWLockExclusive(&guard); }
  ~Guarded() { ReleaseSRWLockExclusive(&guard); }
  Guarded(const Guarded&) = delete;
  Guarded& operator=(const Guarded&) = delete;
};

CellCalls& CallsOf(const CalculatedCell& cell) {
  AsyncTable& table = Pending();
  if (cell.entry >= 0) {
    if (static_cast<size_t>(cell.entry) >= table.byEntry.size()) table.byEntry.resize(static_cast<size_t>(cell.entry) + 1);
    return table.byEntry[static_cast<size_t>(cell.entry)];
  }
  const Place& place = cell.place;
  return table.byCell[(static_cast<std::uint64_t>(place.sheet) << 40) | (static_cast<std::uint64_t>(place.row) << 16) |
                      static_cast<std::uint64_t>(place.column)];
}

// Takes one answer; says why it cannot, for a handle that awaits none.
std::string TakeAnswer(const Value& handle, Value value) {
  if (!handle.Is(xltypeBigData)) return "a handle that is no binary data (" + Display(handle) + ")";
  AsyncTable& table = Pending();
  const auto serial = reinterpret_cast<std::uintptr_t>(handle.pointer);
  if (serial < table.firstHandle || serial - table.firstHandle >= table.calls.size())
    return serial != 0 && serial < table.firstHandle ? "the handle of a calculation that has ended"
                                                      : "a handle xllhost never gave out (" + Display(handle) + ")";
  AsyncCall& call = table.calls[serial - table.firstHandle];
  if (call.answered) return "the handle of " + LabelOf(call) + ", which was answered already";
  call.answer = std::move(value);
  call.answered = true;
  call.answeredThere = GetCurrentThreadId() == call.caller;
  --table.awaited;
  return std::string();
}

// A new call of the cell, awaiting its answer; answers its index.
size_t MakeCall(CellCalls& cell, const CalculatedCell& at) {
  AsyncTable& table = Pending();
  AsyncCall& made = table.calls.emplace_back();
  made.place = at.place;
  made.formula = at.formula;
  made.caller = GetCurrentThreadId();
  (cell.last == 0 ? cell.first : table.calls[cell.last - 1].nextOfCell) = table.calls.size();
  cell.last = table.calls.size();
  ++table.awaited;
  return table.calls.size() - 1;
}

}  // namespace

Value CallAsynchronous(const Registration& function, const std::vector<Value>& args, const CalculatedCell& cell) {
  size_t made = 0;
  CellCalls* calls = nullptr;
  {
    Guarded guarded;
    calls = &CallsOf(cell);
    if (calls->waits) return ErrorValue(xlerrGettingData);
    const size_t met = calls->started ? calls->next : calls->first;
    calls->started = true;
    if (met != 0) {
      const AsyncCall& call = Pending().calls[met - 1];
      calls->next = call.nextOfCell;
      calls->waits = !call.answered;
      return call.answered ? call.answer : ErrorValue(xlerrGettingData);
    }
    made = MakeCall(*calls, cell);
  }
  const std::uintptr_t handle = Pending().firstHandle + made;  // the table grows only on this thread
  const Value returned = Invoke(function, args, nullptr, handle);
  Guarded guarded;
  AsyncCall& call = Pending().calls[made];
  if (!call.answered && !(returned.Is(xltypeErr) && returned.err == xlerrGettingData)) {
    // Not called: an argument it cannot take shows as a cell's would.
    call.answer = returned;
    call.answered = call.answeredThere = true;
    --Pending().awaited;
  }
  // An answer from another thread is taken between rounds, whenever it
  // came, so that the cells are shown in the same order on every run.
  calls->waits = !call.answeredThere;
  calls->next = 0;
  return calls->waits ? ErrorValue(xlerrGettingData) : call.answer;
}

bool AwaitsAnswer(const CalculatedCell& cell) {
  Guarded guarded;
  CellCalls& calls = CallsOf(cell);
  calls.started = false;
  return std::exchange(calls.waits, false);
}

bool AwaitAnswers(double seconds) {
  std::vector<std::string> unanswered;
  {
    HostUnlocked unlocked;  // the answers come through the host's callbacks
    Guarded guarded;
    const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    for (ULONGLONG now = GetTickCount64(); Pending().awaited != 0 && now < until; now = GetTickCount64())
      SleepConditionVariableSRW(&answerCame, &guard, static_cast<DWORD>(until - now), 0);
    if (Pending().awaited == 0) return true;
    for (AsyncCall& call : Pending().calls)
      if (!call.answered) {
        call.answered = true;
        call.answer = ErrorValue(xlerrGettingData);
        unanswered.push_back(LabelOf(call));
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
  Guarded guarded;
  const AsyncTable& table = Pending();
  const bool canceled = table.canceled;
  AsyncTable next;
  next.firstHandle = table.firstHandle + table.calls.size();
  next.wait = table.wait;
  Pending() = std::move(next);
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
    // Read before the lock is taken: the calculating thread may be waiting for it.
    const bool row = handles.Is(xltypeMulti);
    std::vector<Value> answers;
    for (size_t i = 0; i < (row ? handles.elements.size() : 1); ++i)
      answers.push_back(AsCell(row ? values.elements[i] : values));
    Guarded guarded;
    for (size_t i = 0; i < answers.size(); ++i)
      if (std::string why = TakeAnswer(row ? handles.elements[i] : handles, std::move(answers[i])); !why.empty())
        wrong.push_back(std::move(why));
  }
  WakeAllConditionVariable(&answerCame);  // whoever waits: cheap when no one does
  if (!wrong.empty()) {
    HostLocked lock;  // the answer may come on any thread
    for (const std::string& why : wrong) Fault("xlAsyncReturn was given " + why + "; it answered FALSE");
  }
  return Success(BooleanValue(wrong.empty()));
}

}  // namespace xllhost
