#include "AddIn.h"

#include <type_traits>

#include "HostState.h"

namespace xllhost {
namespace {

// Answers handed back with xlbitDLLFree belong to the add-in: the host copies
// them and hands them back through xlAutoFree. A null answer shows #NUM!.
Value TakeAnswer(LPXLOPER answer, void(WINAPI* autoFree)(LPXLOPER)) {
  if (answer == nullptr) return ErrorValue(xlerrNum);
  Value value = Capture(*answer);
  if ((answer->xltype & xlbitDLLFree) != 0) {
    if (autoFree != nullptr) {
      autoFree(answer);
    } else {
      Fault("an answer asks to be freed, but the add-in exports no xlAutoFree");
    }
  }
  return value;
}

}  // namespace

std::string BesideThisProgram(const char* file) {
  char path[MAX_PATH];
  std::string program(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  return program.substr(0, program.find_last_of("\\/") + 1) + file;
}

AddIn Load(const std::string& path) {
  AddIn addIn;
  addIn.path = path;
  addIn.module = LoadLibraryA(path.c_str());
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

// Their addresses no longer hold the module's code once it is gone.
void Unload(AddIn& addIn) {
  if (addIn.module == nullptr) return;
  FreeLibrary(addIn.module);
  if (GetModuleHandleA(addIn.path.c_str()) == nullptr) ForgetModule(addIn.module);
  addIn = AddIn{};
}

int Open(const AddIn& addIn) { return addIn.autoOpen != nullptr ? addIn.autoOpen() : 0; }

int Remove(const AddIn& addIn) { return addIn.autoRemove != nullptr ? addIn.autoRemove() : 0; }

void HandOverExcel12(const AddIn& addIn) {
  if (addIn.setExcel12EntryPt != nullptr) addIn.setExcel12EntryPt(HostExcel12Entry());
}

Value AskAddInManager(const AddIn& addIn, const XLOPER& request) {
  if (addIn.addInManagerInfo == nullptr) return ErrorValue(xlerrValue);
  XLOPER copy = request;
  return TakeAnswer(addIn.addInManagerInfo(&copy), addIn.autoFree);
}

Value Evaluate(const std::string& formula) {
  // Only =NAME() is understood: a call of a function without arguments.
  if (formula.size() < 4 || formula[0] != '=' || formula.compare(formula.size() - 2, 2, "()") != 0)
    return ErrorValue(xlerrName);
  std::string name = formula.substr(1, formula.size() - 3);
  auto defined = Host().names.find(Upper(name));
  if (defined == Host().names.end()) return ErrorValue(xlerrName);
  if (defined->second.registerId == 0) return defined->second.value;
  Registration* registration = FindRegistration(defined->second.registerId);
  if (registration == nullptr) return ErrorValue(xlerrName);
  if (registration->typeText != "P") return ErrorValue(xlerrValue);
  auto procedure = reinterpret_cast<LPXLOPER(WINAPI*)()>(reinterpret_cast<void*>(registration->address));
  auto autoFree = reinterpret_cast<void(WINAPI*)(LPXLOPER)>(
      reinterpret_cast<void*>(GetProcAddress(registration->module, "xlAutoFree")));
  return TakeAnswer(procedure(), autoFree);
}

}  // namespace xllhost
