#include "AddIn.h"

#include <algorithm>
#include <type_traits>
#include <utility>

#include "Formula.h"
#include "HostState.h"
#include "Invoke.h"

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
  entry(addIn.addInManagerInfo, "xlAddInManagerInfo");
  entry(addIn.addInManagerInfo12, "xlAddInManagerInfo12");
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
  if ((addIn.addInManagerInfo == nullptr && addIn.addInManagerInfo12 == nullptr) || !IsLoaded(addIn))
    return ErrorValue(xlerrValue);
  PassedControl control;
  if (addIn.addInManagerInfo12 != nullptr) {
    XLOPER12 wide{};
    wide.xltype = request.xltype;
    if (request.xltype == xltypeInt)
      wide.val.w = request.val.w;
    else
      wide.val.num = request.val.num;
    return TakeAnswer(addIn.module, addIn.addInManagerInfo12(&wide));
  }
  XLOPER copy = request;
  return TakeAnswer(addIn.module, addIn.addInManagerInfo(&copy));
}

std::vector<Registration> UnregisterLeftovers(const AddIn& addIn) {
  std::vector<Registration> leftovers;
  for (const Registration& r : Host().registrations)
    if (r.module == addIn.module) leftovers.push_back(r);
  ForgetModule(addIn.module);
  return leftovers;
}

bool IsFormulaCall(const std::string& formula, std::string* name) {
  Formula parsed;
  std::string why;
  if (!ParseFormula(formula, &parsed, &why) || !parsed.isCall) return false;
  if (name != nullptr) *name = parsed.name;
  return true;
}

namespace {

// What a cell shows for a formula already read.
Value Calculate(const Formula& formula, int row) {
  if (!formula.isCall) return formula.literal;
  auto defined = Host().names.find(Upper(formula.name));
  if (defined == Host().names.end()) return ErrorValue(xlerrName);
  if (defined->second.registerId == 0) return formula.args.empty() ? defined->second.value : ErrorValue(xlerrValue);
  Registration* registration = FindRegistration(defined->second.registerId);
  if (registration == nullptr) return ErrorValue(xlerrName);
  Registration called = *registration;  // the function may unregister itself
  PassedControl control;
  int outerCell = std::exchange(Host().callerCell, row);
  Value value = Invoke(called, formula.args);
  Host().callerCell = outerCell;
  return value;
}

}  // namespace

Value Evaluate(const std::string& text, int row) {
  Formula formula;
  std::string why;
  return ParseFormula(text, &formula, &why) ? Calculate(formula, row) : ErrorValue(xlerrName);
}

// xlfEvaluate: what a cell holding the text as its formula shows; a text
// without "=" is read as if it had one. A text xllhost cannot read fails.
Answer EvaluateText(const Request& request) {
  if (request.args.size() != 1) return Fail(xlretInvCount);
  if (!request.args[0].Is(xltypeStr)) return Fail(xlretInvXloper);
  std::string text = request.args[0].text;
  if (text.empty() || text[0] != '=') text.insert(0, "=");
  Formula formula;
  std::string why;
  if (!ParseFormula(text, &formula, &why)) return Fail(xlretFailed);
  return Success(Calculate(formula, std::max(Host().callerCell, 0)));
}

}  // namespace xllhost
