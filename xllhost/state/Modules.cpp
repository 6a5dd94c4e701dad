#include "state/Modules.h"

#include <cstdio>
#include <map>
#include <set>

#include "records/Values.h"
#include "state/HostPart.h"

namespace xllhost {
namespace {
struct Loaded {
  std::map<HMODULE, int> loads;                // and how often
  std::set<HMODULE> unloadWhenControlReturns;  // unregistered by name during an entry
};
Loaded& Modules() { return HostPart<Loaded>(); }
}  // namespace

HMODULE ModuleAt(const void* address) {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     static_cast<LPCSTR>(address), &module);
  return module;
}

HMODULE LoadModule(const std::string& path) {
  HMODULE module;
  std::fflush(stdout);  // the loader runs the add-in's code, which may crash or hang
  {
    LoaderRunning loader;
    module = LoadLibraryW(ToWide(path).c_str());
  }
  if (module != nullptr) ++Modules().loads[module];
  return module;
}

bool ReleaseModule(HMODULE module) {
  auto& loads = Modules().loads;
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

bool IsLoadedModule(HMODULE module) { return module != nullptr && Modules().loads.count(module) != 0; }

bool StaysMapped(HMODULE module) { return module != nullptr && ModuleAt(module) == module; }

void UnloadWhenControlReturns(HMODULE module) { Modules().unloadWhenControlReturns.insert(module); }

void UnloadPending() {
  std::set<HMODULE>& pending = Modules().unloadWhenControlReturns;
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
