// xllhost: plays Excel's side for an XLL add-in outside Excel.
//
// The host is the process itself: the program that links this library exports
// XllHostExcel4v (HostExports.cpp), and the stand-in xlcall32.dll beside it
// forwards every Excel4v call of an add-in there, as the host's own
// xlcall32.dll does. Host state is process-wide, like Excel's.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "UTypes.h"

namespace xllhost {

// A copy of a record as the host saw it: the copy outlives the record and
// the string it pointed to.
struct Value {
  std::uint16_t xltype = xltypeNil;
  double num = 0;
  std::string text;               // the counted string's characters, for strings
  const char* pointer = nullptr;  // the string pointer, for strings
  std::int16_t w = 0;
  std::uint16_t err = 0;
  bool boolean = false;
};

Value Capture(const XLOPER& record);
// The text of a counted string; the count byte says how many characters follow.
std::string CountedText(const char* counted);
// Full path of a file in the folder of the running program, where host
// programs keep the add-ins and DLLs they load.
std::string BesideThisProgram(const char* file);
// What a cell would show for the value: the text, the number, TRUE/FALSE, #VALUE!...
std::string Display(const Value& value);
std::string FunctionName(int xlfn);

// One call into the host, as the add-in made it.
struct HostCall {
  int xlfn = 0;
  int count = 0;
  bool arrayWasNull = false;
  std::vector<LPXLOPER> pointers;  // the record pointers handed over, in order
  std::vector<Value> args;         // their content at the time of the call
  bool hadResult = false;          // whether a result record came
  LPXLOPER resultPointer = nullptr;
  Value result;  // what the host left in it
  int returnCode = 0;
  HMODULE caller = nullptr;  // module that made the call
};

struct Registration {
  double id = 0;
  HMODULE module = nullptr;
  std::string procedure;
  std::string typeText;
  std::string functionText;  // empty when registered without a worksheet name
  FARPROC address = nullptr;
};

// How the host behaves where hosts may differ; tests change these.
struct Behaviour {
  bool freeClearsPointer = true;        // xlFree sets a released string pointer to null
  bool failureWritesValueError = true;  // a failed call leaves #VALUE! in the result record
  std::set<int> failing;                // function numbers that answer xlretFailed
  bool recordCalls = true;              // keep every call for Calls(); off for benchmarks
};

// A loaded add-in and the entries it exports (null where it exports none).
struct AddIn {
  HMODULE module = nullptr;
  std::string path;
  int(WINAPI* autoOpen)() = nullptr;
  int(WINAPI* autoClose)() = nullptr;
  int(WINAPI* autoAdd)() = nullptr;
  int(WINAPI* autoRemove)() = nullptr;
  void(WINAPI* autoFree)(LPXLOPER) = nullptr;
  LPXLOPER(WINAPI* addInManagerInfo)(LPXLOPER) = nullptr;
  void(WINAPI* setExcel12EntryPt)(FARPROC) = nullptr;
};

// --- Driving an add-in, as Excel does --------------------------------------
// Loading fails (module null) when the library cannot be loaded.
AddIn Load(const std::string& path);
void Unload(AddIn& addIn);
// Each answers the entry's result, or nothing happens when it is not exported.
int Open(const AddIn& addIn);
int Remove(const AddIn& addIn);
void HandOverExcel12(const AddIn& addIn);
// The Add-In Manager asks for the add-in's name with the request record.
Value AskAddInManager(const AddIn& addIn, const XLOPER& request);
XLOPER NumberRequest(double number);
XLOPER IntegerRequest(std::int16_t integer);
// A cell holding =NAME() for a registered function without arguments.
Value Evaluate(const std::string& formula);

// The address the host hands to SetExcel12EntryPt, and the one its executable
// exports as "MdCallBack12" (null when the program does not export it).
FARPROC HostExcel12Entry();
FARPROC ExportedMdCallBack12();

// --- What the host has seen -------------------------------------------------
const std::vector<HostCall>& Calls();
void ClearCalls();
std::vector<int> CallNumbers();  // the function numbers of Calls(), in order
int OutstandingStrings();        // host strings handed out and not given back
// Host misuse seen so far (a string released twice, memory the host never
// handed out given back, ...), one line each.
const std::vector<std::string>& Faults();
const std::vector<Registration>& Registrations();
bool IsDefinedName(const std::string& name);
Behaviour& Behave();
// Forgets registrations, names, calls and faults and restores the default
// behaviour; host strings still outstanding stay counted.
void Reset();

// Called with each host call once the host has answered it.
void OnCall(std::function<void(const HostCall&)> listener);

// From now on a crash anywhere in the process (an add-in's, most likely) ends
// it with exit status 3 after saying what happened, instead of leaving the
// verdict to a debugger that may report success.
void ExitOnCrash();

// The host's side of Excel4v; caller is a code address inside the calling module.
int HandleExcel4v(void* caller, int xlfn, LPXLOPER operRes, int count, LPXLOPER opers[]);

}  // namespace xllhost
