// When the host accepts a call: only while it has passed control to an add-in
// (one of the add-in's entries, called by the host, is running) and only on
// the thread it called that entry on.
#include "HostState.h"

namespace xllhost {

PassedControl::PassedControl() {
  State& host = Host();
  if (host.entryDepth++ == 0) host.entryThread = GetCurrentThreadId();
}

// A DLL unregistered by name during an entry is unloaded once control is
// back with the host: its code may still be on the stack until then.
PassedControl::~PassedControl() {
  State& host = Host();
  if (--host.entryDepth != 0) return;
  std::set<HMODULE> modules;
  modules.swap(host.unloadWhenControlReturns);
  for (HMODULE module : modules) UnloadAddIn(module);
}

const char* OutOfContext() {
  const State& host = Host();
  if (host.inDllMain) return "from DllMain";
  if (host.entryDepth == 0) return "outside any entry the host called";
  if (GetCurrentThreadId() != host.entryThread) return "from a thread other than the one the host called";
  return nullptr;
}

}  // namespace xllhost
