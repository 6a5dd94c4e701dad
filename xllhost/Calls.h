// What the host has seen: every call an add-in made into it, and every misuse.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "Values.h"

namespace xllhost {

// One call into the host, as the add-in made it.
struct HostCall {
  int xlfn = 0;
  int count = 0;
  Interface via = Interface::Excel4;
  bool arrayWasNull = false;
  std::vector<LPXLOPER> pointers;  // the record pointers handed over, in order (XLOPER12s too)
  std::vector<Value> args;         // their content at the time of the call
  bool hadResult = false;          // whether a result record came
  LPXLOPER resultPointer = nullptr;
  Value result;  // what the host left in it
  int returnCode = 0;
  HMODULE caller = nullptr;  // module that made the call
};

const std::vector<HostCall>& Calls();
void ClearCalls();
std::vector<int> CallNumbers();  // the function numbers of Calls(), in order
// Called with each host call once the host has answered it.
void OnCall(std::function<void(const HostCall&)> listener);

// Host misuse seen so far (a string released twice, memory the host never
// handed out given back, ...), one line each.
const std::vector<std::string>& Faults();

std::string FunctionName(int xlfn);

}  // namespace xllhost
