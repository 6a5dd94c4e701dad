#include "native/Watchdog.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

#include "native/CrashReport.h"
#include "state/CallContext.h"

namespace xllhost {
namespace {

HANDLE Watcher;  // the watchdog's own
ULONGLONG Limit;
std::atomic<bool> Stopping{false};

// Where the suspended thread's next instruction lies: its module and the
// offset in it, and whether that module is Windows' own, where a thread
// that does not return waits: on a lock, an event or a sleep. The module is
// read from its image, never asked of the loader, whose lock a thread that
// hangs in DllMain or a TLS callback holds.
std::string WhereThreadIs(HANDLE thread) {
  CONTEXT context{};
  context.ContextFlags = CONTEXT_CONTROL;
  if (!GetThreadContext(thread, &context)) return "at an address Windows does not tell";
#if defined(_WIN64)
  const void* at = reinterpret_cast<const void*>(context.Rip);
#else
  const void* at = reinterpret_cast<const void*>(context.Eip);
#endif
  const char* module = ModuleName(at);
  char where[96];
  if (module == nullptr) {
    std::snprintf(where, sizeof where, "at 0x%p, in no module with a name", at);
    return where;
  }
  std::snprintf(where, sizeof where, "at %s+0x%llX", module,
                static_cast<unsigned long long>(static_cast<const char*>(at) - static_cast<const char*>(ImageBase(at))));
  bool system = false;
  for (const char* windows : {"ntdll.dll", "kernelbase.dll", "kernel32.dll", "win32u.dll"})
    system = system || lstrcmpiA(module, windows) == 0;
  return std::string(where) + (system ? ": it waits in Windows (on a lock, an event or a sleep)" : ": it runs its own code");
}

// Set once the watchdog's thread runs its own code. Windows starts a thread
// under the loader's lock; an add-in whose DllMain or TLS callback never
// returns holds that lock, and a watchdog not yet started would never start.
HANDLE Running;

DWORD WINAPI Watch(void*) {
  SetEvent(Running);
  while (!Stopping) {
    Sleep(50);
    const AddInRunning running = LongestRunning();
    if (running.since == 0 || GetTickCount64() - running.since < Limit) continue;
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT, FALSE, running.thread);
    if (thread == nullptr) continue;
    if (SuspendThread(thread) == static_cast<DWORD>(-1) || LongestRunning().since != running.since) {
      ResumeThread(thread);  // it returned meanwhile
      CloseHandle(thread);
      continue;
    }
    const std::string what = AddInLoading() ? std::string("the loader, running the add-in's DllMain or TLS callbacks,")
                                            : "the call of " + (running.what ? *running.what : "the add-in") + ",";
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.0f", static_cast<double>(Limit) / 1000);
    const std::string line = "did not return: " + what + " ran " + seconds + " s (--timeout) and did not return; "
                             "the add-in's thread is " + WhereThreadIs(thread);
    EndWithLastWords(line.c_str());
  }
  return 0;
}

}  // namespace

void StartWatchdog(double seconds) {
  Limit = static_cast<ULONGLONG>(seconds * 1000);
  Running = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  Watcher = CreateThread(nullptr, 0, Watch, nullptr, 0, nullptr);
  if (Watcher != nullptr && Running != nullptr) WaitForSingleObject(Running, INFINITE);
  if (Running != nullptr) CloseHandle(Running);
  Running = nullptr;
}

void StopWatchdog() {
  if (Watcher == nullptr) return;
  Stopping = true;
  WaitForSingleObject(Watcher, 1000);
  CloseHandle(Watcher);
  Watcher = nullptr;
}

}  // namespace xllhost
