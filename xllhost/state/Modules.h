// The add-in modules the host has loaded, how often, and the one way the
// host calls their entries: with control passed to the add-in.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "state/CallContext.h"
#include "state/FloatingPoint.h"

namespace xllhost {

// Loads the module, running its DllMain, where it must not call the host;
// null when the library cannot be loaded.
HMODULE LoadModule(const std::string& path);
// Gives back one load of the module; answers true when it was the last, so
// the module is gone.
bool ReleaseModule(HMODULE module);
bool IsLoadedModule(HMODULE module);
// The module whose code holds the address.
HMODULE ModuleAt(const void* address);
// Whether the module is still in the process, whoever holds it.
bool StaysMapped(HMODULE module);

// A DLL unregistered by name during an entry is unloaded once control is
// back with the host: its code may still be on the stack until then.
void UnloadWhenControlReturns(HMODULE module);
void UnloadPending();

// Runs `call` with control passed to the add-in, in Excel's floating-point
// environment, then checks that environment and unloads what waited for
// control to return. What the host printed so far is written out first: the
// add-in may crash, hang or end the process.
template <typename Call>
auto WithControl(Call call) {
  std::fflush(stdout);
  SetFloatingPoint(ExcelFloatingPoint);
  struct Returned {
    ~Returned() {
      CheckFloatingPointLeft();
      if (!ControlPassed()) UnloadPending();
    }
  } afterwards;
  PassedControl control;
  return call();
}

// Calls an entry of a loaded module; answers the result's default when the
// module does not export it or is no longer loaded.
template <typename Result, typename... Params, typename... Args>
Result CallEntry(HMODULE module, Result(WINAPI* entry)(Params...), Args... args) {
  if (entry == nullptr || !IsLoadedModule(module)) return Result();
  return WithControl([&] { return entry(args...); });
}
// The same for an entry the module exports under a name, taking no arguments.
int CallNamedEntry(HMODULE module, const char* name);

}  // namespace xllhost
