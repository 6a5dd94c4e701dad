// Private to xllhost: the host's process-wide state, shared by the files that
// answer host functions and drive add-ins. Host programs and tests use the
// public headers instead.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "Calls.h"
#include "Host.h"

namespace xllhost {

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
  std::set<const void*> outstanding;         // host memory handed out, not yet given back
  std::set<const void*> released;            // host memory given back, not yet reused
  double nextRegisterId = 0;
  std::function<void(const HostCall&)> listener;

  int entryDepth = 0;                          // add-in entries running, called by the host
  DWORD entryThread = 0;                       // the thread the host called them on
  bool inDllMain = false;                      // the host is loading or unloading an add-in
  std::map<HMODULE, int> loads;                // add-ins the host loaded, and how often
  std::set<HMODULE> unloadWhenControlReturns;  // unregistered by name during an entry
  std::set<HMODULE> closing;                   // add-ins whose xlAutoClose is running
  int callerCell = -1;                         // the row of the cell being calculated, from 0; -1 for none
  std::vector<std::string> unusable;           // input xllhost cannot interpret, one line each
};

State& Host();
void Fault(const std::string& text);

// The answer of one host function: a result code, and the value for the
// result record when the call succeeds.
struct Answer {
  int code = xlretSuccess;
  Value value;
};
Answer Fail(int code);
Answer Success(Value value);

// What a host function is given: the values of the call's records (all
// non-null), the interface it came through and the module that called.
struct Request {
  const std::vector<Value>& args;
  Interface via;
  HMODULE caller;
};

// The host functions, but xlFree, which works on the records themselves.
Answer Register(const Request& request);
Answer RegisterId(const Request& request);
Answer Unregister(const Request& request);  // by register ID, or a whole DLL by name
Answer SetName(const Request& request);
Answer Coerce(const Request& request);
Answer EvaluateText(const Request& request);
// What the host tells about itself and the cell being calculated.
Answer GetName(const Request& request);
Answer Caller(const Request& request);
Answer Abort(const Request& request);
Answer GetInst(const Request& request);
Answer GetHwnd(const Request& request);
Answer SheetId(const Request& request);
Answer SheetNm(const Request& request);

// Host memory: strings and arrays in the result records the host fills,
// counted until given back with xlFree. A text longer than a count can say
// is refused (false), never handed out wrapped.
bool HandOut(const Value& value, XLOPER& record);
bool HandOut(const Value& value, XLOPER12& record);
// Releases the host memory a record holds; `by` names who gave it back, for
// the fault reported when it is not the host's to release.
void ReleaseHostMemory(XLOPER& record, const char* by);
void ReleaseHostMemory(XLOPER12& record, const char* by);

// Coerces a value as xlCoerce does to one of the types of the mask (0: any
// value type); answers false when it cannot.
bool CoerceValue(const Value& source, std::uint32_t mask, Interface via, Value* result);

// Loading and unloading run the add-in's DllMain, where it must not call the host.
HMODULE LoadAddIn(const std::string& path);
void UnloadAddIn(HMODULE module);  // every load of it

// Why a call into the host comes at a time Excel refuses it, or null when the
// host has passed control to the add-in on the calling thread.
const char* OutOfContext();

Registration* FindRegistration(double id);
// Forgets a module's registrations and the names that call them.
void ForgetModule(HMODULE module);

std::string Upper(std::string text);
bool IsWorksheetName(const std::string& name);
HMODULE ModuleAt(const void* address);
std::string ModulePath(HMODULE module);

}  // namespace xllhost
