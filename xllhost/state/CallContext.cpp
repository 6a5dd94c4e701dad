#include "CallContext.h"

namespace xllhost {
namespace {

int entryDepth = 0;      // add-in entries running, called by the host
DWORD entryThread = 0;   // the thread the host called them on
bool inDllMain = false;  // the loader is running an add-in's DllMain

}  // namespace

PassedControl::PassedControl() {
  if (entryDepth++ == 0) entryThread = GetCurrentThreadId();
}

PassedControl::~PassedControl() { --entryDepth; }

LoaderRunning::LoaderRunning() { inDllMain = true; }

LoaderRunning::~LoaderRunning() { inDllMain = false; }

bool ControlPassed() { return entryDepth != 0; }

const char* OutOfContext() {
  if (inDllMain) return "from DllMain";
  if (entryDepth == 0) return "outside any entry the host called";
  if (GetCurrentThreadId() != entryThread) return "from a thread other than the one the host called";
  return nullptr;
}

}  // namespace xllhost
