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
  std::set<const char*> outstanding;         // host strings handed out, not yet given back
  std::set<const char*> released;            // host strings given back, not yet reused
  double nextRegisterId = 0;
  std::function<void(const HostCall&)> listener;

  int entryDepth = 0;                          // add-in entries running, called by the host
  DWORD entryThread = 0;                       // the thread the host called them on
  bool inDllMain = false;                      // the host is loading or unloading an add-in
  std::map<HMODULE, int> loads;                // add-ins the host loaded, and how often
  std::set<HMODULE> unloadWhenControlReturns;  // unregistered by name during an entry
  std::set<HMODULE> closing;                   // add-ins whose xlAutoClose is running
};

State& Host();
void Fault(const std::string& text);

// The answer of one host function: a result code, and the value for the
// result record when the call succeeds.
struct Answer {
  int code = xlretSuccess;
  XLOPER value{};
};
Answer Fail(int code);
Answer Number(double number);
Answer Boolean(bool value);

// The host functions, each given the call's count and records (all non-null).
Answer Register(int count, LPXLOPER opers[]);
Answer RegisterId(int count, LPXLOPER opers[]);
Answer Unregister(int count, LPXLOPER opers[]);  // by register ID, or a whole DLL by name
Answer SetName(int count, LPXLOPER opers[]);
Answer GetName(int count, HMODULE caller);
Answer Free(int count, LPXLOPER opers[]);

// Host strings: counted, host-owned, given back with xlFree. A text longer
// than a count byte can say is refused (null), never handed out wrapped.
char* NewHostString(const std::string& text);
void DropHostString(char* counted);  // one nobody received
// Releases the host string a record holds; `by` names who gave it back, for
// the fault reported when the string is not the host's to release.
void ReleaseHostString(XLOPER& record, const char* by);

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
