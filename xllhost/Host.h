// The host's side of the callback: its answers to Excel4v, the registrations
// and names it keeps, and the host strings it has handed out.
//
// The host is the process itself: the program that links this library exports
// XllHostExcel4v (HostExports.cpp), and the stand-in xlcall32.dll beside it
// forwards every Excel4v call of an add-in there, as the host's own
// xlcall32.dll does. Host state is process-wide, like Excel's.
#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "TypeText.h"
#include "UTypes.h"

namespace xllhost {

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

// How the host behaves where hosts may differ; tests change these.
struct Behaviour {
  bool freeClearsPointer = true;        // xlFree sets a released string pointer to null
  bool failureWritesValueError = true;  // a failed call leaves #VALUE! in the result record
  std::set<int> failing;                // function numbers that answer xlretFailed
  bool recordCalls = true;              // keep every call for Calls(); off for benchmarks
};

// While one lives, the host has passed control to an add-in on this thread,
// as it has while one of the add-in's entries runs. Excel accepts C API calls
// only then: a call from DllMain, from a thread the add-in created, or from
// outside any entry fails with xlretFailed and is reported as a fault.
// xllhost holds one around every entry it calls; a test that calls the host
// as an add-in would holds one too.
class PassedControl {
 public:
  PassedControl();
  ~PassedControl();
  PassedControl(const PassedControl&) = delete;
  PassedControl& operator=(const PassedControl&) = delete;
};

Behaviour& Behave();
// Forgets registrations, names, calls and faults and restores the default
// behaviour; host strings still outstanding stay counted.
void Reset();

const std::vector<Registration>& Registrations();
// Input the host cannot interpret (a type text or record it does not know,
// a function it does not provide): reported, one line each, and a session
// that met any ends with status 2.
void Unusable(const std::string& text);
const std::vector<std::string>& UnusableInput();
bool IsDefinedName(const std::string& name);
int OutstandingStrings();  // host strings and arrays handed out and not given back

// The host's side of Excel4v and Excel12v; caller is a code address inside
// the calling module.
int HandleExcel4v(void* caller, int xlfn, LPXLOPER operRes, int count, LPXLOPER opers[]);
int HandleExcel12v(void* caller, int xlfn, LPXLOPER12 operRes, int count, LPXLOPER12 opers[]);

// The host's Excel12 callback, in the argument order of MdCallBack12.
int WINAPI HostExcel12(int xlfn, int count, LPXLOPER12 opers[], LPXLOPER12 operRes);
// The address the host hands to SetExcel12EntryPt, and the one its executable
// exports as "MdCallBack12" (null when the program does not export it).
FARPROC HostExcel12Entry();
FARPROC ExportedMdCallBack12();

}  // namespace xllhost
