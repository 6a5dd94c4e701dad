// Quorrel.xll: one worksheet function, =TavikFnc(), answering "Tavik World".
//
// Every record and string lives in static storage for the life of the loaded
// module; the entries use no heap, no exceptions and no thread-local storage.
// Nothing is guarded: the host calls these entries on its main thread.
#include "Quorrel.h"

#include "UTypes.h"
#include "XLCall.h"
#include "XLUtils.h"

namespace {

// Counted strings in read-only data. The host only reads them; the record's
// published string pointer is not const, hence the casts where they are handed out.
constexpr auto GreetingText = MakeCountedString("Tavik World");
constexpr auto AddInTitle = MakeCountedString("Tavik Add-In");
constexpr auto ProcName = MakeCountedString("SampleFunc");
constexpr auto TypeText = MakeCountedString("P");  // returns a record pointer, takes no arguments
constexpr auto FuncText = MakeCountedString("TavikFnc");

// The add-in's one result record: every value-returning entry fills it and
// returns its address, and the register-ID query at removal lands in it too.
XLOPER ResultOper;

bool Registered;

// Arguments of the registration calls. ModuleNameOper holds a host-owned path
// between xlGetName and xlFree; the others point at the constants above.
XLOPER ModuleNameOper;
XLOPER ProcNameOper;
XLOPER TypeTextOper;
XLOPER FuncTextOper;

template <size_t Length>
void SetString(XLOPER& oper, const CountedString<Length>& text) {
  oper.val.str = const_cast<char*>(text.bytes);
  oper.xltype = xltypeStr;
}

// Empties a record that is about to receive a host answer. A host that fails
// the request without writing the record then leaves nothing in it that could
// pass for an answer: no path it already took back with xlFree, and no text
// that xlfUnregister would take for the name of a DLL to unload.
void Empty(XLOPER& record) {
  record = XLOPER{};
  record.xltype = xltypeNil;
}

// Asks the host for this module's full path.
void FetchModuleName() {
  Empty(ModuleNameOper);
  CallExcel4v(xlGetName, &ModuleNameOper, 0, nullptr);
}

void FillRegistrationTexts() {
  SetString(ProcNameOper, ProcName);
  SetString(TypeTextOper, TypeText);
  SetString(FuncTextOper, FuncText);
}

// The request asks for the add-in's name only as the plain integer 1 or the
// plain number 1.0; the type word is compared whole, so flagged words never match.
bool AsksForName(const XLOPER& request) {
  if (request.xltype == xltypeInt && request.val.w == 1) return true;
  return request.xltype == xltypeNum && request.val.num == 1.0;
}

}  // namespace

extern "C" {

#ifdef _MSC_VER
// Visual C++ marks every object that uses floating point with a reference to
// _fltused, which its C runtime defines. The add-in links without one.
int _fltused = 0;
#endif

int WINAPI xlAutoOpen() {
  if (Registered) return 1;
  FetchModuleName();
  FillRegistrationTexts();
  CallExcel4(xlfRegister, nullptr, Count<4>, &ModuleNameOper, &ProcNameOper, &TypeTextOper, &FuncTextOper);
  CallExcel4(xlFree, nullptr, Count<1>, &ModuleNameOper);
  Registered = true;
  return 1;
}

// The name is deleted before the registration is dropped: unregistering alone
// would leave "TavikFnc" defined in the host.
int WINAPI xlAutoRemove() {
  if (!Registered) return 1;
  FetchModuleName();
  FillRegistrationTexts();
  Empty(ResultOper);
  CallExcel4(xlfRegisterId, &ResultOper, Count<3>, &ModuleNameOper, &ProcNameOper, &TypeTextOper);
  CallExcel4(xlfSetName, nullptr, Count<1>, &FuncTextOper);
  CallExcel4(xlfUnregister, nullptr, Count<1>, &ResultOper);
  CallExcel4(xlFree, nullptr, Count<1>, &ModuleNameOper);
  Registered = false;
  return 1;
}

// A missing request is answered like any other request this entry does not serve.
LPXLOPER WINAPI xlAddInManagerInfo(LPXLOPER request) {
  if (request != nullptr && AsksForName(*request)) {
    SetString(ResultOper, AddInTitle);
  } else {
    ResultOper.val.err = xlerrValue;  // writes the first two bytes of the value only
    ResultOper.xltype = xltypeErr;
  }
  return &ResultOper;
}

LPXLOPER WINAPI SampleFunc() {
  SetString(ResultOper, GreetingText);
  return &ResultOper;
}

// Every loader notification succeeds. Process attach initializes the host
// layer (only XLCall has state) and then the add-in; no host call is made
// here. Thread attach and detach and process detach have no work: nothing is
// released or unregistered at unload.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    InitializeXLCall();
    Registered = false;
  }
  return TRUE;
}

}  // extern "C"
