// Registered procedures and the worksheet names that call them: xlfRegister,
// xlfRegisterId, xlfUnregister and xlfSetName.
#include <algorithm>
#include <cctype>

#include "functions/Registrations.h"

#include <map>
#include <set>

#include "formulas/Formula.h"
#include "functions/AutoRegister.h"
#include "functions/Invoke.h"
#include "state/Calls.h"
#include "state/HostState.h"
#include "state/Modules.h"

namespace xllhost {
namespace {

bool IsString(const Value& value) { return value.Is(xltypeStr) && value.pointer != nullptr; }

bool IsNumber(const Value& value) { return value.xltype == xltypeNum || value.xltype == xltypeInt; }

double NumberOf(const Value& value) { return value.xltype == xltypeInt ? value.integer : value.num; }

// One procedure is one registration, whether named by its export name or
// its ordinal: the address tells.
Registration* RegistrationAt(HMODULE module, FARPROC address) {
  for (Registration& r : State().registrations)
    if (r.module == module && r.address == address) return &r;
  return nullptr;
}

// The module path, the procedure (an export name, or a number for its
// ordinal) and the optional type text, as xlfRegister and xlfRegisterId take
// them; on success the module and the procedure are found.
struct Target {
  int code = xlretSuccess;
  std::string unusable;  // a type text xllhost does not understand
  HMODULE module = nullptr;
  std::string procedure;
  std::string typeText;
  Signature signature;
  FARPROC address = nullptr;
};

bool OmitsTypeText(const std::vector<Value>& args) {
  return args.size() < 3 || args[2].Is(xltypeMissing) || args[2].Is(xltypeNil);
}

// A type text xllhost does not understand is refused, never guessed at.
Target FindTarget(const std::vector<Value>& args) {
  Target target;
  const Value& procedure = args[1];
  if (!IsString(args[0]) || !(IsString(procedure) || IsNumber(procedure)) ||
      (args.size() >= 3 && !IsString(args[2]) && !OmitsTypeText(args))) {
    target.code = xlretInvXloper;
    return target;
  }
  target.module = GetModuleHandleW(ToWide(args[0].text).c_str());
  if (!OmitsTypeText(args)) {
    target.typeText = args[2].text;
    std::string why;
    if (!ParseTypeText(target.typeText, &target.signature, &why)) {
      target.unusable = why;
      target.code = xlretInvXloper;
      return target;
    }
  }
  if (IsString(procedure)) {
    target.procedure = procedure.text;
    if (target.module != nullptr) target.address = GetProcAddress(target.module, target.procedure.c_str());
  } else {
    double ordinal = NumberOf(procedure);
    target.procedure = "#" + std::to_string(static_cast<long long>(ordinal));
    if (target.module != nullptr && ordinal >= 1 && ordinal <= 0xFFFF && ordinal == static_cast<WORD>(ordinal))
      target.address = GetProcAddress(target.module, MAKEINTRESOURCEA(static_cast<WORD>(ordinal)));
  }
  if (target.address == nullptr) target.code = xlretFailed;
  return target;
}

// The arguments with each text that counts its terminating NUL taken up to
// it, as Excel takes it: add-ins built on some frameworks count the NUL
// ("QQQQQ\0", "Math\0"), and workbooks Excel saved with them show it
// accepts that. `typeText` is set when the type text was one.
std::vector<Value> UpToNul(const std::vector<Value>& args, bool* typeText = nullptr) {
  std::vector<Value> taken = args;
  for (size_t i = 0; i < taken.size(); ++i) {
    if (!IsString(taken[i]) || !CountsItsNul(taken[i].text)) continue;
    taken[i].text.pop_back();
    if (typeText != nullptr && i == 2) *typeText = true;
  }
  return taken;
}

// A registration that exists gains a use; a new one starts with one.
Registration& AddRegistration(const Target& target) {
  Registration* existing = RegistrationAt(target.module, target.address);
  if (existing == nullptr) {
    Registration registration;
    // Ids are large and irregular, as the host's are, so that a stale or
    // invented number never passes for one.
    registration.id = 327680.0 + 4099.0 * ++State().registered;
    registration.module = target.module;
    registration.procedure = target.procedure;
    registration.address = target.address;
    State().registrations.push_back(registration);
    existing = &State().registrations.back();
  }
  existing->typeText = target.typeText;
  existing->signature = target.signature;
  ++existing->uses;
  return *existing;
}

// Positions of xlfRegister's arguments that may be numbers as well as text.
constexpr int MacroTypeArgument = 5;
constexpr int CategoryArgument = 6;

// A command (macro type 2) takes no arguments, so its type text may be
// omitted without asking the add-in's xlAutoRegister (xlfregister-form-1.md:
// the type text is optional); add-ins of some C++ libraries register every
// command so and export no xlAutoRegister.
bool IsCommand(const std::vector<Value>& args) {
  return args.size() > MacroTypeArgument && IsNumber(args[MacroTypeArgument]) && NumberOf(args[MacroTypeArgument]) == 2;
}

// The arguments after the type text are optional: missing, nil or text, and
// the macro type and the category may also be numbers.
bool IsOptionalArgument(size_t index, const Value& value) {
  if (value.xltype == xltypeMissing || value.xltype == xltypeNil || IsString(value)) return true;
  return (index == MacroTypeArgument || index == CategoryArgument) && IsNumber(value);
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

}  // namespace


Registration* FindRegistration(double id) {
  for (Registration& r : State().registrations)
    if (r.id == id) return &r;
  return nullptr;
}

Answer Register(const Request& request) {
  bool countedNul = false;
  const std::vector<Value> args = UpToNul(request.args, &countedNul);
  if (args.size() < 2) return Fail(xlretInvCount);
  for (size_t i = 3; i < args.size(); ++i)
    if (!IsOptionalArgument(i, args[i])) return Fail(xlretInvXloper);
  Target target = FindTarget(args);
  if (target.code != xlretSuccess) return Fail(target.code, target.unusable);
  if (OmitsTypeText(args) && !IsCommand(args)) return RegisterThroughDll(target.module, target.procedure);
  // Excel does not take a macro-sheet equivalent (#) as thread-safe ($):
  // registering one as both fails (xlfregister-form-1.md).
  if (target.signature.markers.find('#') != std::string::npos && target.signature.ThreadSafe()) {
    Answer refused = Fail(xlretFailed);
    refused.note = "a function cannot be both a macro-sheet equivalent (#) and thread-safe ($): Excel refuses it";
    return refused;
  }
  std::string functionText = args.size() >= 4 && IsString(args[3]) ? args[3].text : "";
  // A formula reads a name before "(" as a function's, so a function text
  // needs only a name's characters ("As12" names a function, not a cell).
  if (!functionText.empty() && (functionText.size() > MaxNameLength || !IsNameText(functionText)))
    return Fail(xlretFailed);
  Registration& registration = AddRegistration(target);
  if (!functionText.empty()) {
    registration.functionText = functionText;
    State().names[Upper(functionText)] = DefinedName{registration.id, Value{}};
    State().functionNames.insert(Upper(functionText));
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
  if (target.code != xlretSuccess) return Fail(target.code, target.unusable);
  if (Registration* existing = RegistrationAt(target.module, target.address))
    return Success(NumberValue(existing->id));
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
  double id = NumberOf(what);
  auto& all = State().registrations;
  auto it = std::find_if(all.begin(), all.end(), [id](const Registration& r) { return r.id == id; });
  if (it == all.end()) return Success(BooleanValue(false));
  if (--it->uses == 0) all.erase(it);
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
    State().names.erase(Upper(name));
  } else {
    State().names[Upper(name)] = DefinedName{0, args[1]};
  }
  return Success(BooleanValue(true));
}

void ForgetModule(HMODULE module) {
  HostState& state = State();
  for (auto it = state.registrations.begin(); it != state.registrations.end();) {
    if (it->module != module) {
      ++it;
      continue;
    }
    for (auto name = state.names.begin(); name != state.names.end();)
      name = name->second.registerId == it->id ? state.names.erase(name) : std::next(name);
    it = state.registrations.erase(it);
  }
}

const std::vector<Registration>& Registrations() { return State().registrations; }

bool IsDefinedName(const std::string& name) { return State().names.count(Upper(name)) != 0; }

const DefinedName* FindName(const std::string& name) {
  auto defined = State().names.find(Upper(name));
  return defined == State().names.end() ? nullptr : &defined->second;
}
}  // namespace xllhost
