#include "CallContext.h"

#include "HostState.h"

namespace xllhost {
PassedControl::PassedControl() {
  if (State().entryDepth++ == 0) State().entryThread = GetCurrentThreadId();
}

PassedControl::~PassedControl() { --State().entryDepth; }

LoaderRunning::LoaderRunning() { State().inDllMain = true; }

LoaderRunning::~LoaderRunning() { State().inDllMain = false; }

bool ControlPassed() { return State().entryDepth != 0; }

const char* OutOfContext() {
  if (State().inDllMain) return "from DllMain";
  if (State().entryDepth == 0) return "outside any entry the host called";
  if (GetCurrentThreadId() != State().entryThread) return "from a thread other than the one the host called";
  return nullptr;
}

}  // namespace xllhost
