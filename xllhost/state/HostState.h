// Everything the host keeps while it runs, owned by one object. Each unit
// keeps its part here and reaches it through State(); a reset is a fresh
// object, so every session and every test starts from a host as new.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "builtins/Builtins.h"
#include "records/TypeText.h"
#include "records/Values.h"
#include "state/Calls.h"
#include "workbook/Workbook.h"

namespace xllhost {

// How the host behaves where hosts may differ. Tests change these.
struct Behaviour {
  bool freeClearsPointer = true;        // xlFree sets a released string pointer to null
  bool failureWritesValueError = true;  // a failed call leaves #VALUE! in the result record
  std::set<int> failing;                // function numbers that answer xlretFailed
  bool recordCalls = true;              // keep every call for Calls(); off for benchmarks
};

// A registered procedure (xlfRegister).
struct Registration {
  double id = 0;
  HMODULE module = nullptr;
  std::string procedure;  // the export name, or "#N" for one registered by ordinal
  std::string typeText;
  Signature signature;       // the type text, read
  std::string functionText;  // empty when registered without a worksheet name
  FARPROC address = nullptr;
  int uses = 0;  // xlfRegister adds one, xlfUnregister takes one; at 0 it is gone
};

// A defined name: one that calls a registration, or one that holds a value.
struct DefinedName {
  double registerId = 0;  // the registration the name calls; 0 for a plain value
  Value value;
};

// A call of a function registered thread-safe ($), kept for the thread
// check: what it was given, the cell it was made for and what that showed.
struct ThreadSafeCall {
  double id = 0;
  std::vector<Value> args;
  Place place;
  Area area;
  std::string formula;
  Value answer;
};

// Host memory handed out and not yet given back: a string's or an array's,
// charged to what took it, and whether a check has reported it.
struct HeldMemory {
  bool array;
  std::string taker;
  DWORD thread;  // the thread it was handed out on, the one to give it back on
  bool reported = false;
};

struct HostState {
  Behaviour behaviour;

  // When the host accepts a call (CallContext).
  int entryDepth = 0;      // add-in entries running, called by the host
  bool inDllMain = false;  // the loader is running an add-in's DllMain

  // What the host has seen (Calls).
  std::vector<HostCall> calls;
  std::vector<std::string> faults;
  std::vector<std::string> unusable;
  std::function<void(const HostCall&)> listener;
  std::function<void(const std::string&)> unusableListener;
  std::function<void(const std::string&)> floatingPointListener;  // FloatingPoint
  void (*lateFault)(const char* text) = nullptr;  // after the verdict: reported at once

  // Host memory (HostMemory).
  std::map<const void*, HeldMemory> outstanding;
  std::set<const void*> released;  // given back, not yet reused

  // The add-ins loaded (Modules).
  std::map<HMODULE, int> loads;                // and how often
  std::set<HMODULE> unloadWhenControlReturns;  // unregistered by name during an entry

  // Registrations and names (Registrations).
  std::vector<Registration> registrations;
  std::map<std::string, DefinedName> names;  // keys upper-cased: names ignore case
  std::set<std::string> functionNames;       // every name a registration defined, upper-cased
  double registered = 0;                     // registrations made, for the next register ID

  // The workbook whose cells are calculated (Calculation).
  Workbook book;
  // The first calls of each thread-safe function, kept while asked for.
  bool keepThreadSafeCalls = false;
  std::vector<ThreadSafeCall> threadSafeCalls;

  // The transcript's verdict (Transcript): every problem, with the workbook
  // cell being judged when it arose (Oracle), for the reports.
  bool quiet = false;
  int problems = 0;
  struct ProblemSeen {
    std::string text;
    std::string cell;      // "Sheet!A1", or empty outside a workbook cell
    std::string function;  // the add-in's function the cell calls, as registered
    bool ofCells = false;  // a count of the cells that differ, each its own failure
  };
  std::vector<ProblemSeen> problemsSeen;
  // The workbook cell the calling thread judges, for the last words of a
  // run its watchdog ends; null outside one.
  const FormulaCell* judging = nullptr;
};

// The workbook cell being judged on this thread, of which a problem is
// said; null outside one.
const FormulaCell*& JudgingOnThread();

// The cell being calculated on this thread (Information): where it stands,
// the array block it fills, and its formula as written. Each thread has its
// own, as Excel calculates cells on several threads at once.
struct CellCalculating {
  bool inCell = false;
  Place caller;
  Area callerArea;
  std::string_view callerFormula;  // the formula's text, which outlives its calculation
};
CellCalculating& Calling();

// The host's state. It is never destroyed: an add-in still loaded when the
// process exits may call the host from its DllMain after main has returned.
HostState& State();

// Starts the host afresh: a new state, the loaded modules included. Host
// memory the add-in still holds stays valid, and is no longer counted.
void Reset();

inline Behaviour& Behave() { return State().behaviour; }

// The workbook whose cells are calculated; until one is given, one of one
// empty sheet, Sheet1.
Workbook& Book();

// The module whose code holds the address.
HMODULE ModuleAt(const void* address);

}  // namespace xllhost
