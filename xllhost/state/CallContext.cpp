#include "state/CallContext.h"

#include <algorithm>
#include <atomic>
#include <utility>

#include "records/ThreadStorage.h"
#include "state/HostMemory.h"
#include "state/HostPart.h"

namespace xllhost {
namespace {

// Entries of the add-in running, on any thread, as the host called them.
struct Entries {
  int depth = 0;           // add-in entries running, called by the host
  bool inDllMain = false;  // the loader is running an add-in's DllMain
};
Entries& Running() { return HostPart<Entries>(); }

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
std::atomic<bool> Loading{false};

// What each thread keeps of its calls, as Excel calls thread-safe functions
// on several at once: one record, looked up once by a call.
struct OnThread {
  size_t slot = MostThreads;                // its own in EnteredOn, taken when it first calls
  const std::string* threadSafe = nullptr;  // the thread-safe function running, if one is
  const std::string* worksheetOnly = nullptr;  // the function without # running, if one is
  int entries = 0;                          // of the entries the host called, those running here
  int locksHeld = 0;
};
OnThread& Mine() { return ThreadOwn<OnThread>(); }

void BeginWaiting(OnThread& mine) {
  if (mine.slot == MostThreads) {
    mine.slot = std::min(ThreadsEntered++, MostThreads);
    if (mine.slot == MostThreads) return;
    EnteredOn[mine.slot].thread = GetCurrentThreadId();
    EnteredOn[mine.slot].what = &HostMemoryTaker();  // the thread's own, as long as it lives
  }
  EnteredOn[mine.slot].since = GetTickCount64();
}

void EndWaiting(const OnThread& mine) {
  if (mine.slot != MostThreads) EnteredOn[mine.slot].since = 0;
}

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

}  // namespace

PassedControl::PassedControl() {
  OnThread& mine = Mine();
  if (mine.entries++ == 0) BeginWaiting(mine);
  ++Running().depth;
}

PassedControl::~PassedControl() {
  OnThread& mine = Mine();
  if (--mine.entries == 0) EndWaiting(mine);
  --Running().depth;
}

LoaderRunning::LoaderRunning() {
  Running().inDllMain = true;
  Loading = true;
  BeginWaiting(Mine());
}

LoaderRunning::~LoaderRunning() {
  Running().inDllMain = false;
  Loading = false;
  EndWaiting(Mine());
}

FunctionRunning::FunctionRunning(const std::string* threadSafe, const std::string* worksheetOnly)
    : outer_(std::exchange(Mine().threadSafe, threadSafe)),
      outerWorksheetOnly_(std::exchange(Mine().worksheetOnly, worksheetOnly)) {}

FunctionRunning::~FunctionRunning() {
  Mine().threadSafe = outer_;
  Mine().worksheetOnly = outerWorksheetOnly_;
}

const std::string* RunningThreadSafe() { return Mine().threadSafe; }

const std::string* RunningWorksheetOnly() { return Mine().worksheetOnly; }

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

const std::string* RunningHere() {
  const DWORD me = GetCurrentThreadId();
  const size_t threads = std::min(ThreadsEntered.load(), MostThreads);
  for (size_t i = 0; i < threads; ++i)
    if (EnteredOn[i].thread == me) return EnteredOn[i].since != 0 ? EnteredOn[i].what.load() : nullptr;
  return nullptr;
}

bool AddInLoading() { return Loading; }

bool ControlPassed() { return Running().depth != 0; }

const char* OutOfContext() {
  if (Running().inDllMain) return "from DllMain";
  if (Running().depth == 0) return "outside any entry the host called";
  if (Mine().entries == 0) return "from a thread other than the one the host called";
  return nullptr;
}

HostLocked::HostLocked() {
  EnterCriticalSection(&Lock());
  ++Mine().locksHeld;
}

HostLocked::~HostLocked() {
  --Mine().locksHeld;
  LeaveCriticalSection(&Lock());
}

HostUnlocked::HostUnlocked() : held_(std::exchange(Mine().locksHeld, 0)) {
  for (int i = 0; i < held_; ++i) LeaveCriticalSection(&Lock());
}

HostUnlocked::~HostUnlocked() {
  for (int i = 0; i < held_; ++i) EnterCriticalSection(&Lock());
  Mine().locksHeld = held_;
}

}  // namespace xllhost
