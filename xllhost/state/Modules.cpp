#include "state/Modules.h"

#include <cstdio>

#include "records/Values.h"
#include "state/HostState.h"

namespace xllhost {
HMODULE LoadModule(const std::string& path) {
  HMODULE module;
  std::fflush(stdout);  // the loader runs the add-in's code, which may crash or hang
  {
    LoaderRunning loader;
    module = LoadLibraryW(ToWide(path).c_str());
  }
  if (module != nullptr) ++State().loads[module];
  return module;
}

bool ReleaseModule(HMODULE module) {
  auto& loads = State().loads;
  auto loaded = loads.find(module);
  if (loaded == loads.end()) return false;
  {
    LoaderRunning loader;
    FreeLibrary(module);
  }
  if (--loaded->second != 0) return false;
  loads.erase(loaded);
  return true;
}

bool IsLoadedModule(HMODULE module) { return module != nullptr && State().loads.count(module) != 0; }

bool StaysMapped(HMODULE module) {
  HMODULE found = nullptr;
  return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(module), &found) &&
         found == module;
}

void UnloadWhenControlReturns(HMODULE module) { State().unloadWhenControlReturns.insert(module); }

void UnloadPending() {
  std::set<HMODULE>& pending = State().unloadWhenControlReturns;
  while (!pending.empty()) {
    HMODULE module = *pending.begin();
    pending.erase(pending.begin());
    while (IsLoadedModule(module)) ReleaseModule(module);
  }
}

int CallNamedEntry(HMODULE module, const char* name) {
  auto entry = reinterpret_cast<int(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return CallEntry(module, entry);
}

}  // namespace xllhost
