#include "AddIn.h"

#include <type_traits>

#include "HostState.h"

namespace xllhost {
namespace {

bool IsLoaded(const AddIn& addIn) { return addIn.module != nullptr && Host().loads.count(addIn.module) != 0; }

// Calls an entry of the add-in with control passed to it, or answers 0 when
// it does not export the entry or is no longer loaded.
template <typename Result, typename... Params, typename... Args>
Result CallEntry(const AddIn& addIn, Result(WINAPI* entry)(Params...), Args... args) {
  if (entry == nullptr || !IsLoaded(addIn)) return Result();
  PassedControl control;
  return entry(args...);
}

// The host copies the answer before anything else. An answer with
// xlbitXLFree holds memory the host handed out, which the host now releases;
// one with xlbitDLLFree belongs to the add-in and goes back through its
// xlAutoFree. A null answer shows #NUM!. Called while control is passed.
Value TakeAnswer(const AddIn& addIn, LPXLOPER answer) {
  if (answer == nullptr) return ErrorValue(xlerrNum);
  Value value = Capture(*answer);
  if ((answer->xltype & xlbitXLFree) != 0) ReleaseHostString(*answer, "a returned record with xlbitXLFree");
  if ((answer->xltype & xlbitDLLFree) != 0) {
    if (addIn.autoFree != nullptr) {
      addIn.autoFree(answer);  // control is still with the add-in that answered
    } else {
      Fault("an answer asks to be freed, but the add-in exports no xlAutoFree");
    }
  }
  return value;
}

// Gives back one load of the module. With the last the module is gone, and
// like the host, xllhost forgets its registrations: their addresses no longer
// hold its code.
void ReleaseOneLoad(HMODULE module) {
  State& host = Host();
  auto loaded = host.loads.find(module);
  if (loaded == host.loads.end()) return;
  host.inDllMain = true;
  FreeLibrary(module);
  host.inDllMain = false;
  if (--loaded->second != 0) return;
  host.loads.erase(loaded);
  ForgetModule(module);
}

}  // namespace

std::string BesideThisProgram(const char* file) {
  char path[MAX_PATH];
  std::string program(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  return program.substr(0, program.find_last_of("\\/") + 1) + file;
}

HMODULE LoadAddIn(const std::string& path) {
  State& host = Host();
  host.inDllMain = true;
  HMODULE module = LoadLibraryA(path.c_str());
  host.inDllMain = false;
  if (module != nullptr) ++host.loads[module];
  return module;
}

void UnloadAddIn(HMODULE module) {
  while (Host().loads.count(module) != 0) ReleaseOneLoad(module);
}

AddIn Load(const std::string& path) {
  AddIn addIn;
  addIn.path = path;
  addIn.module = LoadAddIn(path);
  if (addIn.module == nullptr) return addIn;
  auto entry = [&](auto& field, const char* name) {
    field = reinterpret_cast<std::remove_reference_t<decltype(field)>>(
        reinterpret_cast<void*>(GetProcAddress(addIn.module, name)));
  };
  entry(addIn.autoOpen, "xlAutoOpen");
  entry(addIn.autoClose, "xlAutoClose");
  entry(addIn.autoAdd, "xlAutoAdd");
  entry(addIn.autoRemove, "xlAutoRemove");
  entry(addIn.autoFree, "xlAutoFree");
  entry(addIn.addInManagerInfo, "xlAddInManagerInfo");
  entry(addIn.setExcel12EntryPt, "SetExcel12EntryPt");
  return addIn;
}

// A module the host loaded more than once stays, with its registrations.
void Unload(AddIn& addIn) {
  ReleaseOneLoad(addIn.module);
  addIn = AddIn{};
}

int Open(const AddIn& addIn) { return CallEntry(addIn, addIn.autoOpen); }

int Add(const AddIn& addIn) { return CallEntry(addIn, addIn.autoAdd); }

int Remove(const AddIn& addIn) { return CallEntry(addIn, addIn.autoRemove); }

int Close(const AddIn& addIn) { return CallEntry(addIn, addIn.autoClose); }

void HandOverExcel12(const AddIn& addIn) { CallEntry(addIn, addIn.setExcel12EntryPt, HostExcel12Entry()); }

Value AskAddInManager(const AddIn& addIn, const XLOPER& request) {
  if (addIn.addInManagerInfo == nullptr || !IsLoaded(addIn)) return ErrorValue(xlerrValue);
  XLOPER copy = request;
  PassedControl control;
  return TakeAnswer(addIn, addIn.addInManagerInfo(&copy));
}

std::vector<Registration> UnregisterLeftovers(const AddIn& addIn) {
  std::vector<Registration> leftovers;
  for (const Registration& r : Host().registrations)
    if (r.module == addIn.module) leftovers.push_back(r);
  ForgetModule(addIn.module);
  return leftovers;
}

bool IsFormulaCall(const std::string& formula, std::string* name) {
  if (formula.size() < 4 || formula[0] != '=' || formula.compare(formula.size() - 2, 2, "()") != 0) return false;
  std::string called = formula.substr(1, formula.size() - 3);
  if (!IsWorksheetName(called)) return false;
  if (name != nullptr) *name = called;
  return true;
}

Value Evaluate(const std::string& formula) {
  std::string name;
  if (!IsFormulaCall(formula, &name)) return ErrorValue(xlerrName);
  auto defined = Host().names.find(Upper(name));
  if (defined == Host().names.end()) return ErrorValue(xlerrName);
  if (defined->second.registerId == 0) return defined->second.value;
  Registration* registration = FindRegistration(defined->second.registerId);
  if (registration == nullptr) return ErrorValue(xlerrName);
  if (registration->typeText != "P") return ErrorValue(xlerrValue);
  AddIn owner;
  owner.module = registration->module;
  owner.autoFree = reinterpret_cast<void(WINAPI*)(LPXLOPER)>(
      reinterpret_cast<void*>(GetProcAddress(registration->module, "xlAutoFree")));
  auto procedure = reinterpret_cast<LPXLOPER(WINAPI*)()>(reinterpret_cast<void*>(registration->address));
  PassedControl control;
  return TakeAnswer(owner, procedure());
}

}  // namespace xllhost
