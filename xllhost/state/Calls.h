// What the host has seen: every call an add-in made into it, every misuse,
// and what it could not interpret.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "records/Values.h"

namespace xllhost {

// One call into the host, as the add-in made it.
struct HostCall {
  int xlfn = 0;      // the function it asks for (PlainFunction)
  std::string name;  // the function's, as the transcript shows it
  int count = 0;
  Interface via = Interface::Excel4;
  bool arrayWasNull = false;
  std::vector<const void*> records;  // the addresses of the records handed over, in order: XLOPERs or XLOPER12s
  std::vector<Value> args;         // their content at the time of the call
  bool hadResult = false;          // whether a result record came
  const void* resultRecord = nullptr;
  Value result;  // what the host left in it
  int returnCode = 0;
  bool notInterpreted = false;  // the host met in it what it cannot interpret
  HMODULE caller = nullptr;  // module that made the call
  std::string note;          // what the call did that only the transcript shows
  std::string refused;       // why Excel refuses the add-in this call where it made it
};

const std::vector<HostCall>& Calls();
void ClearCalls();
std::vector<int> CallNumbers();  // the function numbers of Calls(), in order
// Called with each host call once the host has answered it.
void OnCall(std::function<void(const HostCall&)> listener);
// Takes the listener away, to be given back with OnCall.
std::function<void(const HostCall&)> StopListening();

// Keeps the call when `keep`, after telling the listener of it.
void Record(HostCall call, bool keep);
bool Listening();

// Host misuse seen so far (a string released twice, memory the host never
// handed out given back, ...), one line each.
void Fault(const std::string& text);
const std::vector<std::string>& Faults();
// Once the verdict is given, misuse can no longer wait for it (an add-in
// still loaded may call the host from DllMain when the process exits): each
// goes to `report` at once.
void AfterVerdict(void (*report)(const char* text));

// Input the host cannot interpret (a type text or record it does not know,
// a function it does not provide): kept, and told to the listener at once. A
// session that met any ends with status 2, unless the add-in misbehaved too.
void Unusable(const std::string& text);
const std::vector<std::string>& UnusableInput();
void OnUnusable(std::function<void(const std::string&)> listener);
// The same for a call the add-in made that xllhost could not answer as Excel
// would (a function or a type of it xllhost does not model): what the
// add-in does next may be its reaction to the answer it got.
void Unanswerable(const std::string& text);
// Whether one came, and how many faults were seen before the first.
bool UnanswerableSeen();
size_t FaultsBeforeUnanswerable();

// Forgets the calls, faults and unusable input seen so far.
void ForgetSeen();

}  // namespace xllhost
