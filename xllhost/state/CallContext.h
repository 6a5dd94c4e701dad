// When the host accepts a call: only while it has passed control to an add-in
// (one of the add-in's entries, called by the host, is running), only on the
// thread it called that entry on, and never while an add-in's DllMain runs.
#pragma once

#include <windows.h>

#include <string>

namespace xllhost {

// While one lives, the host has passed control to an add-in on this thread,
// as it has while one of the add-in's entries runs. Excel accepts C API calls
// only then: a call from DllMain, from a thread the add-in created, or from
// outside any entry fails with xlretFailed and is reported as a fault.
// xllhost holds one around every entry it calls; a test that calls the host
// as an add-in would holds one too.
class PassedControl {
 public:
  PassedControl();
  ~PassedControl();
  PassedControl(const PassedControl&) = delete;
  PassedControl& operator=(const PassedControl&) = delete;
};

// While one lives, the loader runs an add-in's DllMain.
class LoaderRunning {
 public:
  LoaderRunning();
  ~LoaderRunning();
  LoaderRunning(const LoaderRunning&) = delete;
  LoaderRunning& operator=(const LoaderRunning&) = delete;
};

// While one lives, an add-in's function runs on this thread, the innermost
// running there: `threadSafe` names it when it is registered thread-safe
// ($), and the calls Excel refuses such a function are refused; null when it
// is not. `worksheetOnly` names it when it is registered without # (a
// worksheet function, not a macro-sheet equivalent). The names must outlive it.
class FunctionRunning {
 public:
  explicit FunctionRunning(const std::string* threadSafe, const std::string* worksheetOnly = nullptr);
  ~FunctionRunning();
  FunctionRunning(const FunctionRunning&) = delete;
  FunctionRunning& operator=(const FunctionRunning&) = delete;

 private:
  const std::string* outer_;
  const std::string* outerWorksheetOnly_;
};

// The thread-safe function running on this thread, or null when the
// innermost function running is none.
const std::string* RunningThreadSafe();
// The same for a function registered without #.
const std::string* RunningWorksheetOnly();

// Whether any entry the host called is still running.
bool ControlPassed();

// The call into the add-in's code (an entry, a function or the loader)
// that has run longest, of those running on any thread: since when
// (GetTickCount64; 0 when none runs), on which thread, and what it was
// charged to (ChargeHostMemoryTo), which lives as long as that thread. Any
// thread may ask.
struct AddInRunning {
  ULONGLONG since = 0;
  DWORD thread = 0;
  const std::string* what = nullptr;
};
AddInRunning LongestRunning();
// What the call into the add-in's code running on this thread was charged
// to, or null when none runs here. Allocates nothing: a crash report asks.
const std::string* RunningHere();
// Whether what runs is the loader: DllMain and TLS callbacks.
bool AddInLoading();

// Why a call into the host comes at a time Excel refuses it, or null when the
// host has passed control to the add-in on the calling thread.
const char* OutOfContext();

// The host does its own work on one thread at a time, though an add-in's
// functions may run on several at once (the thread check): each holds the
// host's lock while the host works for it, and lets it go while the add-in's
// code runs. While one lives, this thread holds the lock; they nest.
class HostLocked {
 public:
  HostLocked();
  ~HostLocked();
  HostLocked(const HostLocked&) = delete;
  HostLocked& operator=(const HostLocked&) = delete;
};

// While one lives, the add-in's code runs: a thread that holds the host's
// lock lets it go wholly, and takes it again afterwards. On a thread that
// does not hold it, it does nothing.
class HostUnlocked {
 public:
  HostUnlocked();
  ~HostUnlocked();
  HostUnlocked(const HostUnlocked&) = delete;
  HostUnlocked& operator=(const HostUnlocked&) = delete;

 private:
  int held_;
};

}  // namespace xllhost
