#include "state/CallContext.h"

#include <algorithm>
#include <atomic>

#include "state/HostMemory.h"
#include "state/HostState.h"

namespace xllhost {
namespace {

// Since when each thread that ever called the add-in has waited for its
// code, read by the watchdog's thread while the others wait: each thread
// writes only its own slot, taken when it first calls.
struct alignas(64) Entered {
  std::atomic<ULONGLONG> since{0};
  std::atomic<DWORD> thread{0};
  std::atomic<const std::string*> what{nullptr};
};
constexpr size_t MostThreads = 4096;  // a thread past them goes untimed
Entered EnteredOn[MostThreads];
std::atomic<size_t> ThreadsEntered{0};
thread_local size_t Slot = MostThreads;
std::atomic<bool> Loading{false};

void BeginWaiting() {
  if (Slot == MostThreads) {
    Slot = std::min(ThreadsEntered++, MostThreads);
    if (Slot == MostThreads) return;
    EnteredOn[Slot].thread = GetCurrentThreadId();
    EnteredOn[Slot].what = &HostMemoryTaker();  // the thread's own, as long as it lives
  }
  EnteredOn[Slot].since = GetTickCount64();
}

void EndWaiting() {
  if (Slot != MostThreads) EnteredOn[Slot].since = 0;
}
// Each thread's own: Excel calls thread-safe functions on several at once.
thread_local const std::string* ThreadSafe = nullptr;
thread_local int EntriesOnThread = 0;  // of the entries the host called, those running on this thread

CRITICAL_SECTION& Lock() {
  static CRITICAL_SECTION* lock = [] {
    auto* section = new CRITICAL_SECTION;  // never destroyed, as the host's state
    // Held only while the host works for a call, so a thread that finds it
    // taken spins a little rather than sleep at once.
    InitializeCriticalSectionAndSpinCount(section, 4000);
    return section;
  }();
  return *lock;
}
thread_local int LocksHeld = 0;

}  // namespace

PassedControl::PassedControl() {
  if (EntriesOnThread++ == 0) BeginWaiting();
  ++State().entryDepth;
}

PassedControl::~PassedControl() {
  if (--EntriesOnThread == 0) EndWaiting();
  --State().entryDepth;
}

LoaderRunning::LoaderRunning() {
  State().inDllMain = true;
  Loading = true;
  BeginWaiting();
}

LoaderRunning::~LoaderRunning() {
  State().inDllMain = false;
  Loading = false;
  EndWaiting();
}

FunctionRunning::FunctionRunning(const std::string* threadSafe) : outer_(ThreadSafe) { ThreadSafe = threadSafe; }

FunctionRunning::~FunctionRunning() { ThreadSafe = outer_; }

const std::string* RunningThreadSafe() { return ThreadSafe; }

AddInRunning LongestRunning() {
  AddInRunning longest;
  const size_t threads = std::min(ThreadsEntered.load(), MostThreads);
  for (size_t i = 0; i < threads; ++i) {
    const ULONGLONG since = EnteredOn[i].since;
    if (since == 0 || (longest.since != 0 && since >= longest.since)) continue;
    longest = AddInRunning{since, EnteredOn[i].thread, EnteredOn[i].what};
  }
  return longest;
}

bool AddInLoading() { return Loading; }

bool ControlPassed() { return State().entryDepth != 0; }

const char* OutOfContext() {
  if (State().inDllMain) return "from DllMain";
  if (State().entryDepth == 0) return "outside any entry the host called";
  if (EntriesOnThread == 0) return "from a thread other than the one the host called";
  return nullptr;
}

HostLocked::HostLocked() {
  EnterCriticalSection(&Lock());
  ++LocksHeld;
}

HostLocked::~HostLocked() {
  --LocksHeld;
  LeaveCriticalSection(&Lock());
}

HostUnlocked::HostUnlocked() : held_(LocksHeld) {
  for (int i = 0; i < held_; ++i) LeaveCriticalSection(&Lock());
  LocksHeld = 0;
}

HostUnlocked::~HostUnlocked() {
  for (int i = 0; i < held_; ++i) EnterCriticalSection(&Lock());
  LocksHeld = held_;
}

}  // namespace xllhost
