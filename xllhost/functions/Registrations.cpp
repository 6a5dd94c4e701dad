// Registered procedures and the worksheet names that call them: xlfRegister,
// xlfRegisterId, xlfUnregister and xlfSetName.
#include <algorithm>
#include <cctype>

#include "functions/Registrations.h"

#include <map>
#include <memory>
#include <set>

#include "formulas/Formula.h"
#include "functions/AutoRegister.h"
#include "functions/Invoke.h"
#include "functions/RegisterArguments.h"
#include "state/Calls.h"
#include "state/HostPart.h"
#include "state/Modules.h"

namespace xllhost {
namespace {

struct RegistrationTable {
  // Each registration is shared with the calls running it, and replaced,
  // never changed, once made: a function may register or unregister
  // functions, itself included, while it runs.
  std::vector<std::shared_ptr<const Registration>> registrations;
  std::map<std::string, DefinedName> names;  // keys upper-cased: names ignore case
  std::set<std::string> functionNames;       // every name a registration defined, upper-cased
  double registered = 0;                     // registrations made, for the next register ID
};
RegistrationTable& Table() { return HostPart<RegistrationTable>(); }

// One procedure is one registration, whether named by its export name or
// its ordinal: the address tells.
std::shared_ptr<const Registration>* RegistrationAt(HMODULE module, FARPROC address) {
  for (auto& r : Table().registrations)
    if (r->module == module && r->address == address) return &r;
  return nullptr;
}

// The table's own, so that finding one costs no count of its owners.
std::shared_ptr<const Registration>* RegistrationWithId(double id) {
  for (auto& r : Table().registrations)
    if (r->id == id) return &r;
  return nullptr;
}

// A registration that exists gains a use; a new one starts with one.
const Registration& AddRegistration(const Target& target, const std::string& functionText = "") {
  auto* existing = RegistrationAt(target.module, target.address);
  auto registration = existing != nullptr ? std::make_shared<Registration>(**existing) : std::make_shared<Registration>();
  if (existing == nullptr) {
    // Ids are large and irregular, as the host's are, so that a stale or
    // invented number never passes for one.
    registration->id = 327680.0 + 4099.0 * ++Table().registered;
    registration->module = target.module;
    registration->procedure = target.procedure;
    registration->address = target.address;
    existing = &Table().registrations.emplace_back();
  }
  registration->typeText = target.typeText;
  registration->signature = target.signature;
  if (!functionText.empty()) registration->functionText = functionText;
  ++registration->uses;
  *existing = registration;
  return *registration;
}

// Unregisters every function of a DLL the host loaded, after calling its
// xlAutoClose, and unloads it once control is back with the host. A DLL whose
// xlAutoClose is already running is not closed again: asking that from
// xlAutoClose itself would otherwise recurse until the stack overflows.
Answer UnregisterDll(const std::string& name) {
  static std::set<HMODULE> closing;  // DLLs whose xlAutoClose is running
  HMODULE module = GetModuleHandleW(ToWide(name).c_str());
  if (!IsLoadedModule(module)) return Success(BooleanValue(false));
  if (closing.insert(module).second) {
    CallNamedEntry(module, "xlAutoClose");
    closing.erase(module);
  }
  ForgetModule(module);
  UnloadWhenControlReturns(module);
  return Success(BooleanValue(true));
}

// A registration Excel refuses answers #VALUE! with the success code
// (xlfregister-form-1.md; xlretFailed is for command-equivalent functions,
// excel4-excel12.md), and is the add-in's problem.
Answer Refused(const char* function, const std::string& why) {
  Answer answer = Success(ErrorValue(xlerrValue));
  answer.refused = std::string(function) + " " + why + ": Excel answers #VALUE!";
  return answer;
}

}  // namespace


const Registration* FindRegistration(double id) {
  const auto* held = RegistrationWithId(id);
  return held != nullptr ? held->get() : nullptr;
}

std::shared_ptr<const Registration> HoldRegistration(double id) {
  const auto* held = RegistrationWithId(id);
  return held != nullptr ? *held : nullptr;
}

Answer Register(const Request& request) {
  bool countedNul = false;
  const std::vector<Value> args = UpToNul(request.args, &countedNul);
  if (args.size() < 2) return Fail(xlretInvCount);
  for (size_t i = 3; i < args.size(); ++i)
    if (!IsOptionalArgument(i, args[i])) return Fail(xlretInvXloper);
  Target target = FindTarget(args);
  if (!target.refused.empty()) return Refused("xlfRegister", target.refused);
  if (target.code != xlretSuccess) return Fail(target.code, target.unusable);
  if (OmitsTypeText(args) && !IsCommand(args)) return RegisterThroughDll(target.module, target.procedure);
  // Excel does not take a macro-sheet equivalent (#) as thread-safe ($):
  // registering one as both fails (xlfregister-form-1.md).
  if (target.signature.markers.find('#') != std::string::npos && target.signature.ThreadSafe())
    return Refused("xlfRegister", "of a function both a macro-sheet equivalent (#) and thread-safe ($)");
  std::string functionText = args.size() >= 4 && IsString(args[3]) ? args[3].text : "";
  // A formula reads a name before "(" as a function's, so a function text
  // needs only a name's characters ("As12" names a function, not a cell).
  if (!functionText.empty() && (functionText.size() > MaxNameLength || !IsNameText(functionText)))
    return Refused("xlfRegister", "of the function text \"" + functionText + "\", which is no name");
  const Registration& registration = AddRegistration(target, functionText);
  if (!functionText.empty()) {
    Table().names[Upper(functionText)] = DefinedName{registration.id, Value{}, functionText};
    Table().functionNames.insert(Upper(functionText));
  }
  Answer answer = Success(NumberValue(registration.id));
  if (countedNul) answer.note = "the type text's count includes its terminating NUL, which Excel accepts";
  return answer;
}

// Like the host, answers the id of an existing registration, adding no use,
// and registers the procedure (without a worksheet name) when it is not
// registered yet.
Answer RegisterId(const Request& request) {
  const std::vector<Value> args = UpToNul(request.args);
  if (args.size() < 2 || args.size() > 3) return Fail(xlretInvCount);
  if (OmitsTypeText(args) && args.size() == 3) return Fail(xlretInvXloper);
  Target target = FindTarget(args);
  if (!target.refused.empty()) return Refused("xlfRegisterId", target.refused);
  if (target.code != xlretSuccess) return Fail(target.code, target.unusable);
  if (const auto* existing = RegistrationAt(target.module, target.address))
    return Success(NumberValue((*existing)->id));
  if (target.typeText.empty()) return Fail(xlretFailed);
  return Success(NumberValue(AddRegistration(target).id));
}

// A register ID takes one use away; the function stays callable until none
// is left. A text names a whole DLL to unregister and unload.
Answer Unregister(const Request& request) {
  if (request.args.size() != 1) return Fail(xlretInvCount);
  const Value& what = request.args[0];
  if (IsString(what)) return UnregisterDll(what.text);
  if (!IsNumber(what)) return Fail(xlretInvXloper);
  auto* held = RegistrationWithId(NumberOf(what));
  if (held == nullptr) return Success(BooleanValue(false));
  if ((*held)->uses == 1) {
    auto& all = Table().registrations;
    all.erase(all.begin() + (held - all.data()));
  } else {
    auto fewer = std::make_shared<Registration>(**held);
    --fewer->uses;
    *held = fewer;
  }
  return Success(BooleanValue(true));
}

// With a name alone the name is deleted; with a value it is defined. In
// Excel a deleted function name stays listed in the Function Wizard (a known
// issue of Excel's); xllhost has no Function Wizard, so deleting is all.
Answer SetName(const Request& request) {
  const std::vector<Value>& args = request.args;
  if (args.empty() || args.size() > 2) return Fail(xlretInvCount);
  if (!IsString(args[0])) return Fail(xlretInvXloper);
  const std::string& name = args[0].text;
  if (!IsWorksheetName(name)) return Fail(xlretFailed);
  if (args.size() == 1 || args[1].xltype == xltypeMissing) {
    Table().names.erase(Upper(name));
  } else {
    Table().names[Upper(name)] = DefinedName{0, args[1], name};
  }
  return Success(BooleanValue(true));
}

void ForgetModule(HMODULE module) {
  RegistrationTable& state = Table();
  for (auto it = state.registrations.begin(); it != state.registrations.end();) {
    if ((*it)->module != module) {
      ++it;
      continue;
    }
    for (auto name = state.names.begin(); name != state.names.end();)
      name = name->second.registerId == (*it)->id ? state.names.erase(name) : std::next(name);
    it = state.registrations.erase(it);
  }
}

std::vector<const Registration*> Registrations() {
  std::vector<const Registration*> all;
  for (const auto& r : Table().registrations) all.push_back(r.get());
  return all;
}

bool WasFunctionName(const std::string& upperName) { return Table().functionNames.count(upperName) != 0; }

bool IsDefinedName(const std::string& name) { return Table().names.count(Upper(name)) != 0; }

const DefinedName* FindName(const std::string& name) {
  auto defined = Table().names.find(Upper(name));
  return defined == Table().names.end() ? nullptr : &defined->second;
}
std::vector<const DefinedName*> HiddenNames() {
  std::vector<const DefinedName*> names;
  for (const auto& [key, name] : Table().names) names.push_back(&name);
  return names;
}

}  // namespace xllhost
