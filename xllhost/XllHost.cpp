#include "XllHost.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

namespace xllhost {
namespace {

struct DefinedName {
  double registerId = 0;  // the registration the name calls; 0 for a plain value
  Value value;
};

struct State {
  Behaviour behaviour;
  std::vector<HostCall> calls;
  std::vector<std::string> faults;
  std::vector<Registration> registrations;
  std::map<std::string, DefinedName> names;  // keys upper-cased: names ignore case
  std::set<const char*> outstanding;         // host strings handed out, not yet given back
  std::set<const char*> released;            // host strings given back, not yet reused
  double nextRegisterId = 0;
  std::function<void(const HostCall&)> listener;
};

State& Host() {
  static State state;
  return state;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool IsString(const XLOPER& record) { return (record.xltype & ~xlbitXLFree) == xltypeStr && record.val.str != nullptr; }

bool IsNumber(const XLOPER& record) { return record.xltype == xltypeNum || record.xltype == xltypeInt; }

double NumberOf(const XLOPER& record) { return record.xltype == xltypeInt ? record.val.w : record.val.num; }

void SetError(XLOPER& record, std::uint16_t err) {
  record.val.err = err;
  record.xltype = xltypeErr;
}

void SetNumber(XLOPER& record, double number) {
  record.val.num = number;
  record.xltype = xltypeNum;
}

void SetBool(XLOPER& record, bool value) {
  record.val.xbool = value ? 1 : 0;
  record.xltype = xltypeBool;
}

// A host-owned counted string; the add-in must give it back with xlFree.
char* NewHostString(const std::string& text) {
  char* counted = static_cast<char*>(std::malloc(text.size() + 1));
  counted[0] = static_cast<char>(text.size());
  std::memcpy(counted + 1, text.data(), text.size());
  Host().outstanding.insert(counted);
  Host().released.erase(counted);
  return counted;
}

HMODULE ModuleAt(const void* address) {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     static_cast<LPCSTR>(address), &module);
  return module;
}

std::string ModulePath(HMODULE module) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
  return std::string(path, length);
}

bool IsWorksheetName(const std::string& name) {
  if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_')) return false;
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; });
}

Registration* FindRegistration(double id) {
  for (Registration& r : Host().registrations)
    if (r.id == id) return &r;
  return nullptr;
}

Registration* FindRegistration(HMODULE module, const std::string& procedure) {
  for (Registration& r : Host().registrations)
    if (r.module == module && Upper(r.procedure) == Upper(procedure)) return &r;
  return nullptr;
}

// The answer of one host function: a result code, and the value for the
// result record when the call succeeds.
struct Answer {
  int code = xlretSuccess;
  XLOPER value{};
};

Answer Fail(int code) {
  Answer answer;
  answer.code = code;
  return answer;
}

Answer Number(double number) {
  Answer answer;
  SetNumber(answer.value, number);
  return answer;
}

Answer Boolean(bool value) {
  Answer answer;
  SetBool(answer.value, value);
  return answer;
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

Answer GetName(int count, HMODULE caller) {
  if (count != 0) return Fail(xlretInvCount);
  if (caller == nullptr) return Fail(xlretFailed);
  std::string path = ModulePath(caller);
  if (path.empty() || path.size() > 255) return Fail(xlretFailed);
  Answer answer;
  answer.value.val.str = NewHostString(path);
  answer.value.xltype = xltypeStr;
  return answer;
}

// Gives back the host strings the records hold. A string that is no longer
// outstanding is reported, not released: releasing it would corrupt the heap.
Answer Free(int count, LPXLOPER opers[]) {
  for (int i = 0; i < count; ++i) {
    XLOPER& record = *opers[i];
    if ((record.xltype & ~xlbitXLFree) != xltypeStr || record.val.str == nullptr) continue;
    const char* counted = record.val.str;
    if (Host().outstanding.erase(counted) == 1) {
      std::free(record.val.str);
      Host().released.insert(counted);
      if (Host().behaviour.freeClearsPointer) record.val.str = nullptr;
    } else if (Host().released.count(counted) != 0) {
      Host().faults.push_back("xlFree: a host string was given back twice");
    } else {
      Host().faults.push_back("xlFree: given back a string the host never handed out");
    }
  }
  return Answer{};
}

Answer Dispatch(int xlfn, int count, LPXLOPER opers[], const void* caller) {
  if (Host().behaviour.failing.count(xlfn) != 0) return Fail(xlretFailed);
  switch (xlfn) {
    case xlfRegister: return Register(count, opers);
    case xlfRegisterId: return RegisterId(count, opers);
    case xlfUnregister: return Unregister(count, opers);
    case xlfSetName: return SetName(count, opers);
    case xlGetName: return GetName(count, ModuleAt(caller));
    case xlFree: return Free(count, opers);
    default: return Fail(xlretInvXlfn);
  }
}

int WINAPI HostExcel12(int, int, void**, void*) { return xlretFailed; }

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  HMODULE module = ModuleAt(record.ExceptionAddress);
  std::fprintf(stderr, "xllhost: crash: exception 0x%08lX at %p in %s\n", record.ExceptionCode, record.ExceptionAddress,
               module != nullptr ? ModulePath(module).c_str() : "unknown code");
  std::fflush(stdout);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

std::string CountedText(const char* counted) {
  return std::string(counted + 1, static_cast<unsigned char>(counted[0]));
}

std::string BesideThisProgram(const char* file) {
  char path[MAX_PATH];
  std::string program(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  return program.substr(0, program.find_last_of("\\/") + 1) + file;
}

Value Capture(const XLOPER& record) {
  Value value;
  value.xltype = record.xltype;
  switch (record.xltype & ~(xlbitXLFree | xlbitDLLFree)) {
    case xltypeNum: value.num = record.val.num; break;
    case xltypeStr:
      value.pointer = record.val.str;
      if (record.val.str != nullptr) value.text = CountedText(record.val.str);
      break;
    case xltypeBool: value.boolean = record.val.xbool != 0; break;
    case xltypeErr: value.err = record.val.err; break;
    case xltypeInt: value.w = record.val.w; break;
    default: break;
  }
  return value;
}

std::string Display(const Value& value) {
  char buffer[64];
  switch (value.xltype & ~(xlbitXLFree | xlbitDLLFree)) {
    case xltypeNum: std::snprintf(buffer, sizeof buffer, "%.15g", value.num); return buffer;
    case xltypeStr: return value.text;
    case xltypeBool: return value.boolean ? "TRUE" : "FALSE";
    case xltypeInt: return std::to_string(value.w);
    case xltypeNil:
    case xltypeMissing: return "";
    case xltypeErr:
      switch (value.err) {
        case xlerrNull: return "#NULL!";
        case xlerrDiv0: return "#DIV/0!";
        case xlerrValue: return "#VALUE!";
        case xlerrRef: return "#REF!";
        case xlerrName: return "#NAME?";
        case xlerrNum: return "#NUM!";
        case xlerrNA: return "#N/A";
        default: std::snprintf(buffer, sizeof buffer, "#ERR%u", value.err); return buffer;
      }
    default: std::snprintf(buffer, sizeof buffer, "<type 0x%04X>", value.xltype); return buffer;
  }
}

std::string FunctionName(int xlfn) {
  switch (xlfn) {
    case xlfSetName: return "xlfSetName";
    case xlfRegister: return "xlfRegister";
    case xlfUnregister: return "xlfUnregister";
    case xlfRegisterId: return "xlfRegisterId";
    case xlFree: return "xlFree";
    case xlGetName: return "xlGetName";
    default: return "function " + std::to_string(xlfn);
  }
}

int HandleExcel4v(void* caller, int xlfn, LPXLOPER operRes, int count, LPXLOPER opers[]) {
  const bool record = Host().behaviour.recordCalls || Host().listener;
  HostCall call;
  call.xlfn = xlfn;
  call.count = count;
  call.arrayWasNull = opers == nullptr;
  call.hadResult = operRes != nullptr;
  call.resultPointer = operRes;
  call.caller = record ? ModuleAt(caller) : nullptr;

  Answer answer;
  if (count < 0 || count > 255 || (count > 0 && opers == nullptr)) {
    answer = Fail(xlretInvCount);
  } else {
    bool nullRecord = false;
    for (int i = 0; i < count; ++i) {
      nullRecord = nullRecord || opers[i] == nullptr;
      if (!record) continue;
      call.pointers.push_back(opers[i]);
      call.args.push_back(opers[i] != nullptr ? Capture(*opers[i]) : Value{});
    }
    answer = nullRecord ? Fail(xlretInvXloper) : Dispatch(xlfn, count, opers, caller);
  }

  if (operRes != nullptr) {
    if (answer.code == xlretSuccess) {
      *operRes = answer.value;
    } else if (Host().behaviour.failureWritesValueError) {
      SetError(*operRes, xlerrValue);
    }
    call.result = Capture(*operRes);
  } else if (answer.code == xlretSuccess && answer.value.xltype == xltypeStr) {
    // Nobody receives the string: it goes straight back.
    Host().outstanding.erase(answer.value.val.str);
    std::free(answer.value.val.str);
  }
  call.returnCode = answer.code;
  if (Host().listener) Host().listener(call);
  if (Host().behaviour.recordCalls) Host().calls.push_back(std::move(call));
  return answer.code;
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

// Like the host, forgets the module's registrations and the names that call
// them once the module is gone: their addresses no longer hold its code.
void Unload(AddIn& addIn) {
  if (addIn.module == nullptr) return;
  FreeLibrary(addIn.module);
  if (GetModuleHandleA(addIn.path.c_str()) == nullptr) {
    State& state = Host();
    for (auto it = state.registrations.begin(); it != state.registrations.end();) {
      if (it->module != addIn.module) {
        ++it;
        continue;
      }
      for (auto name = state.names.begin(); name != state.names.end();)
        name = name->second.registerId == it->id ? state.names.erase(name) : std::next(name);
      it = state.registrations.erase(it);
    }
  }
  addIn = AddIn{};
}

int Open(const AddIn& addIn) { return addIn.autoOpen != nullptr ? addIn.autoOpen() : 0; }

int Remove(const AddIn& addIn) { return addIn.autoRemove != nullptr ? addIn.autoRemove() : 0; }

void HandOverExcel12(const AddIn& addIn) {
  if (addIn.setExcel12EntryPt != nullptr) addIn.setExcel12EntryPt(HostExcel12Entry());
}

FARPROC HostExcel12Entry() { return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&HostExcel12)); }

FARPROC ExportedMdCallBack12() { return GetProcAddress(GetModuleHandleA(nullptr), "MdCallBack12"); }

// Answers handed back with xlbitDLLFree belong to the add-in: the host copies
// them and hands them back through xlAutoFree.
static Value TakeAnswer(LPXLOPER answer, void(WINAPI* autoFree)(LPXLOPER)) {
  if (answer == nullptr) {
    Value none;
    none.xltype = xltypeErr;
    none.err = xlerrNum;
    return none;
  }
  Value value = Capture(*answer);
  if ((answer->xltype & xlbitDLLFree) != 0) {
    if (autoFree != nullptr) {
      autoFree(answer);
    } else {
      Host().faults.push_back("an answer asks to be freed, but the add-in exports no xlAutoFree");
    }
  }
  return value;
}

Value AskAddInManager(const AddIn& addIn, const XLOPER& request) {
  if (addIn.addInManagerInfo == nullptr) {
    Value none;
    none.xltype = xltypeErr;
    none.err = xlerrValue;
    return none;
  }
  XLOPER copy = request;
  return TakeAnswer(addIn.addInManagerInfo(&copy), addIn.autoFree);
}

XLOPER NumberRequest(double number) {
  XLOPER request{};
  SetNumber(request, number);
  return request;
}

XLOPER IntegerRequest(std::int16_t integer) {
  XLOPER request{};
  request.val.w = integer;
  request.xltype = xltypeInt;
  return request;
}

Value Evaluate(const std::string& formula) {
  Value error;
  error.xltype = xltypeErr;
  error.err = xlerrName;
  // Only =NAME() is understood: a call of a function without arguments.
  if (formula.size() < 4 || formula[0] != '=' || formula.compare(formula.size() - 2, 2, "()") != 0) return error;
  std::string name = formula.substr(1, formula.size() - 3);
  auto defined = Host().names.find(Upper(name));
  if (defined == Host().names.end()) return error;
  if (defined->second.registerId == 0) return defined->second.value;
  Registration* registration = FindRegistration(defined->second.registerId);
  if (registration == nullptr) return error;
  if (registration->typeText != "P") {
    error.err = xlerrValue;
    return error;
  }
  auto procedure = reinterpret_cast<LPXLOPER(WINAPI*)()>(reinterpret_cast<void*>(registration->address));
  void(WINAPI * autoFree)(LPXLOPER) = reinterpret_cast<void(WINAPI*)(LPXLOPER)>(
      reinterpret_cast<void*>(GetProcAddress(registration->module, "xlAutoFree")));
  return TakeAnswer(procedure(), autoFree);
}

const std::vector<HostCall>& Calls() { return Host().calls; }

void ClearCalls() { Host().calls.clear(); }

std::vector<int> CallNumbers() {
  std::vector<int> numbers;
  for (const HostCall& call : Host().calls) numbers.push_back(call.xlfn);
  return numbers;
}

int OutstandingStrings() { return static_cast<int>(Host().outstanding.size()); }

const std::vector<std::string>& Faults() { return Host().faults; }

const std::vector<Registration>& Registrations() { return Host().registrations; }

bool IsDefinedName(const std::string& name) { return Host().names.count(Upper(name)) != 0; }

Behaviour& Behave() { return Host().behaviour; }

void Reset() {
  State& state = Host();
  state.behaviour = Behaviour{};
  state.calls.clear();
  state.faults.clear();
  state.registrations.clear();
  state.names.clear();
}

void ExitOnCrash() { SetUnhandledExceptionFilter(ReportCrash); }

void OnCall(std::function<void(const HostCall&)> listener) { Host().listener = std::move(listener); }

}  // namespace xllhost
