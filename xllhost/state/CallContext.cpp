#include "state/CallContext.h"

#include <atomic>

#include "state/HostState.h"

namespace xllhost {
namespace {

// Read by the watchdog's thread while the host's waits for the add-in.
std::atomic<ULONGLONG> RunningSince{0};
std::atomic<bool> Loading{false};
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
  // The watchdog times the latest call a thread began: on several threads
  // at once, a hang shows once the others are done.
  if (EntriesOnThread++ == 0) RunningSince = GetTickCount64();
  if (State().entryDepth++ == 0) State().entryThread = GetCurrentThreadId();
}

PassedControl::~PassedControl() {
  --EntriesOnThread;
  if (--State().entryDepth == 0) RunningSince = 0;
}

LoaderRunning::LoaderRunning() {
  State().inDllMain = true;
  Loading = true;
  RunningSince = GetTickCount64();
}

LoaderRunning::~LoaderRunning() {
  State().inDllMain = false;
  Loading = false;
  RunningSince = 0;
}

FunctionRunning::FunctionRunning(const std::string* threadSafe) : outer_(ThreadSafe) { ThreadSafe = threadSafe; }

FunctionRunning::~FunctionRunning() { ThreadSafe = outer_; }

const std::string* RunningThreadSafe() { return ThreadSafe; }

ULONGLONG AddInRunningSince() { return RunningSince; }

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
