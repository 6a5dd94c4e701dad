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
Answer Unregister(int count, LPXLOPER opers[]);
Answer SetName(int count, LPXLOPER opers[]);
Answer GetName(int count, HMODULE caller);
Answer Free(int count, LPXLOPER opers[]);

// Host strings: counted, host-owned, given back with xlFree.
char* NewHostString(const std::string& text);
void DropHostString(char* counted);  // one nobody received

Registration* FindRegistration(double id);
// Forgets a module's registrations and the names that call them.
void ForgetModule(HMODULE module);

std::string Upper(std::string text);
HMODULE ModuleAt(const void* address);
std::string ModulePath(HMODULE module);

}  // namespace xllhost
