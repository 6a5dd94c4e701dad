// Registered procedures and the worksheet names that call them: xlfRegister,
// xlfRegisterId, xlfUnregister and xlfSetName.
#include <algorithm>
#include <cctype>

#include "HostState.h"

namespace xllhost {
namespace {

bool IsString(const XLOPER& record) { return (record.xltype & ~xlbitXLFree) == xltypeStr && record.val.str != nullptr; }

bool IsNumber(const XLOPER& record) { return record.xltype == xltypeNum || record.xltype == xltypeInt; }

double NumberOf(const XLOPER& record) { return record.xltype == xltypeInt ? record.val.w : record.val.num; }

bool IsWorksheetName(const std::string& name) {
  if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_')) return false;
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; });
}

Registration* FindRegistration(HMODULE module, const std::string& procedure) {
  for (Registration& r : Host().registrations)
    if (r.module == module && Upper(r.procedure) == Upper(procedure)) return &r;
  return nullptr;
}

// module path, procedure and optional type text, as xlfRegister and
// xlfRegisterId take them; on success the module and procedure are found.
struct Target {
  int code = xlretSuccess;
  HMODULE module = nullptr;
  std::string procedure;
  std::string typeText;
  FARPROC address = nullptr;
};

Target FindTarget(int count, LPXLOPER opers[]) {
  Target target;
  if (!IsString(*opers[0]) || !IsString(*opers[1]) || (count >= 3 && !IsString(*opers[2]))) {
    target.code = xlretInvXloper;
    return target;
  }
  target.module = GetModuleHandleA(CountedText(opers[0]->val.str).c_str());
  target.procedure = CountedText(opers[1]->val.str);
  if (count >= 3) target.typeText = CountedText(opers[2]->val.str);
  if (target.module != nullptr) target.address = GetProcAddress(target.module, target.procedure.c_str());
  if (target.address == nullptr) target.code = xlretFailed;
  return target;
}

Registration& AddRegistration(const Target& target) {
  Registration* existing = FindRegistration(target.module, target.procedure);
  if (existing == nullptr) {
    Registration registration;
    // Ids are large and irregular, as the host's are, so that a stale or
    // invented number never passes for one.
    registration.id = 327680.0 + 4099.0 * ++Host().nextRegisterId;
    Host().registrations.push_back(registration);
    existing = &Host().registrations.back();
  }
  existing->module = target.module;
  existing->procedure = target.procedure;
  existing->typeText = target.typeText;
  existing->address = target.address;
  return *existing;
}

}  // namespace

Registration* FindRegistration(double id) {
  for (Registration& r : Host().registrations)
    if (r.id == id) return &r;
  return nullptr;
}

Answer Register(int count, LPXLOPER opers[]) {
  if (count < 3) return Fail(xlretInvCount);
  for (int i = 3; i < count; ++i)
    if (opers[i]->xltype != xltypeMissing && opers[i]->xltype != xltypeNil && !IsString(*opers[i]))
      return Fail(xlretInvXloper);
  Target target = FindTarget(count, opers);
  if (target.code != xlretSuccess) return Fail(target.code);
  std::string functionText = count >= 4 && IsString(*opers[3]) ? CountedText(opers[3]->val.str) : "";
  if (!functionText.empty() && !IsWorksheetName(functionText)) return Fail(xlretFailed);
  Registration& registration = AddRegistration(target);
  registration.functionText = functionText;
  if (!functionText.empty()) Host().names[Upper(functionText)] = DefinedName{registration.id, Value{}};
  return Number(registration.id);
}

// Like the host, answers the id of an existing registration and registers the
// procedure (without a worksheet name) when it is not registered yet.
Answer RegisterId(int count, LPXLOPER opers[]) {
  if (count < 2 || count > 3) return Fail(xlretInvCount);
  Target target = FindTarget(count, opers);
  if (target.code != xlretSuccess) return Fail(target.code);
  if (Registration* existing = FindRegistration(target.module, target.procedure)) return Number(existing->id);
  if (target.typeText.empty()) return Fail(xlretFailed);
  return Number(AddRegistration(target).id);
}

Answer Unregister(int count, LPXLOPER opers[]) {
  if (count != 1) return Fail(xlretInvCount);
  if (!IsNumber(*opers[0])) return Fail(xlretInvXloper);
  double id = NumberOf(*opers[0]);
  auto& all = Host().registrations;
  auto it = std::find_if(all.begin(), all.end(), [id](const Registration& r) { return r.id == id; });
  if (it == all.end()) return Boolean(false);
  all.erase(it);
  return Boolean(true);
}

// With a name alone the name is deleted; with a value it is defined.
Answer SetName(int count, LPXLOPER opers[]) {
  if (count < 1 || count > 2) return Fail(xlretInvCount);
  if (!IsString(*opers[0])) return Fail(xlretInvXloper);
  std::string name = CountedText(opers[0]->val.str);
  if (!IsWorksheetName(name)) return Fail(xlretFailed);
  if (count == 1 || opers[1]->xltype == xltypeMissing) {
    Host().names.erase(Upper(name));
  } else {
    Host().names[Upper(name)] = DefinedName{0, Capture(*opers[1])};
  }
  return Boolean(true);
}

void ForgetModule(HMODULE module) {
  State& state = Host();
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

const std::vector<Registration>& Registrations() { return Host().registrations; }

bool IsDefinedName(const std::string& name) { return Host().names.count(Upper(name)) != 0; }

}  // namespace xllhost
