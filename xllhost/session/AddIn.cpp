#include "session/AddIn.h"

#include <algorithm>
#include <type_traits>
#include <utility>

#include "callbacks/Callbacks.h"
#include "functions/Invoke.h"
#include "native/CrashReport.h"
#include "records/Values.h"
#include "state/Modules.h"

namespace xllhost {
namespace {

// Gives back one load of the module. With the last the module is gone, and
// like the host, xllhost forgets its registrations: their addresses no longer
// hold its code.
void ReleaseOneLoad(HMODULE module) {
  if (ReleaseModule(module)) ForgetModule(module);
}

}  // namespace

std::string BesideThisProgram(const char* file) {
  wchar_t path[MAX_PATH];
  const std::string program = FromWide(std::wstring(path, GetModuleFileNameW(nullptr, path, MAX_PATH)));
  return program.substr(0, program.find_last_of("\\/") + 1) + file;
}

AddIn Load(const std::string& path) {
  AddIn addIn;
  addIn.path = path;
  addIn.module = LoadModule(path);
  if (addIn.module == nullptr) {
    addIn.loadError = GetLastError();
    return addIn;
  }
  RememberImage(addIn.module, path.c_str());
  // Each entry with the bytes of its arguments, which a stdcall decoration names.
  auto entry = [&](auto& field, const char* name, int argumentBytes) {
    field = reinterpret_cast<std::remove_reference_t<decltype(field)>>(
        reinterpret_cast<void*>(GetProcAddress(addIn.module, name)));
    if (field != nullptr) return;
    for (const char* prefix : {"_", ""}) {
      std::string decorated = prefix + std::string(name) + "@" + std::to_string(argumentBytes);
      if (GetProcAddress(addIn.module, decorated.c_str()) != nullptr) {
        addIn.decoratedOnly.push_back({name, decorated});
        return;
      }
    }
  };
  entry(addIn.autoOpen, "xlAutoOpen", 0);
  entry(addIn.autoClose, "xlAutoClose", 0);
  entry(addIn.autoAdd, "xlAutoAdd", 0);
  entry(addIn.autoRemove, "xlAutoRemove", 0);
  entry(addIn.addInManagerInfo, "xlAddInManagerInfo", 4);
  entry(addIn.addInManagerInfo12, "xlAddInManagerInfo12", 4);
  entry(addIn.setExcel12EntryPt, "SetExcel12EntryPt", 4);
  return addIn;
}

// A module the host loaded more than once stays, with its registrations.
void Unload(AddIn& addIn) {
  ReleaseOneLoad(addIn.module);
  addIn = AddIn{};
}

int Open(const AddIn& addIn) { return CallEntry(addIn.module, addIn.autoOpen); }

int Add(const AddIn& addIn) { return CallEntry(addIn.module, addIn.autoAdd); }

int Remove(const AddIn& addIn) { return CallEntry(addIn.module, addIn.autoRemove); }

int Close(const AddIn& addIn) { return CallEntry(addIn.module, addIn.autoClose); }

namespace {

template <typename Entry>
FARPROC Procedure(Entry entry) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(entry));
}

template <typename Record, typename Entry>
Value AskThrough(HMODULE module, Entry entry, const char* name, Record& request) {
  return TakeAnswer(module, reinterpret_cast<Record*>(CallWithPointer(Procedure(entry), name, &request)));
}

}  // namespace

void HandOverExcel12(const AddIn& addIn) {
  if (addIn.setExcel12EntryPt == nullptr || !IsLoadedModule(addIn.module)) return;
  WithControl([&] {
    CallWithPointer(Procedure(addIn.setExcel12EntryPt), "SetExcel12EntryPt",
                    reinterpret_cast<const void*>(HostExcel12Entry()));
  });
}

Value AskAddInManager(const AddIn& addIn, const XLOPER& request) {
  if ((addIn.addInManagerInfo == nullptr && addIn.addInManagerInfo12 == nullptr) || !IsLoadedModule(addIn.module))
    return ErrorValue(xlerrValue);
  return WithControl([&] {
    if (addIn.addInManagerInfo12 != nullptr) {
      XLOPER12 wide{};
      wide.xltype = request.xltype;
      if (request.xltype == xltypeInt)
        wide.val.w = request.val.w;
      else
        wide.val.num = request.val.num;
      return AskThrough(addIn.module, addIn.addInManagerInfo12, "xlAddInManagerInfo12", wide);
    }
    XLOPER copy = request;
    return AskThrough(addIn.module, addIn.addInManagerInfo, "xlAddInManagerInfo", copy);
  });
}

std::vector<Registration> UnregisterLeftovers(const AddIn& addIn) {
  std::vector<Registration> leftovers;
  for (const Registration* r : Registrations())
    if (r->module == addIn.module) leftovers.push_back(*r);
  ForgetModule(addIn.module);
  return leftovers;
}

}  // namespace xllhost
