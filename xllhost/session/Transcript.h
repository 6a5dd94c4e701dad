// What xllhost prints while it plays a session, and the problems it finds.
#pragma once

#include <cstdio>
#include <string>

#include "Calls.h"

namespace xllhost {

// Prints one line of the transcript, unless the run is quiet. The arguments
// are std::strings, filled into the format's %s in order.
template <typename... Args>
void Say(const char* format, const Args&... args);

void SetQuiet(bool quiet);
bool IsQuiet();

// A misbehaviour of the add-in: printed even in a quiet run, and counted.
void Problem(const std::string& text);
int ProblemCount();

// A value as the transcript shows it: text in quotes, everything else as a cell shows it.
std::string Shown(const Value& value);
// A counted string whose count runs past its text, into bytes after a NUL,
// is a problem of `who`; the transcript shows all the count claims.
void CheckCounts(const Value& value, const std::string& who);
// Prints a call the add-in made into the host; a failed call is a problem.
void PrintCall(const HostCall& call);
// Prints an entry's answer; anything but 1 is a problem.
void CheckEntry(const char* entry, int answer);
// Host memory not given back is charged to what took it (see ChargeHostMemoryTo).
void CheckHostMemoryGivenBack(const std::string& when);

template <typename... Args>
void Say(const char* format, const Args&... args) {
  if (!IsQuiet()) std::printf(format, args.c_str()...);
}

}  // namespace xllhost
