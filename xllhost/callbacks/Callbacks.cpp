// The host's two callbacks, Excel4v (XLOPER) and Excel12v (XLOPER12): each
// checks the call's shape, copies its records, has the host function
// answer, writes the answer into the result record and records the call.
#include "callbacks/Callbacks.h"

#include "catalog/FunctionNames.h"
#include "functions/AsyncCalls.h"
#include "functions/BinaryNames.h"
#include "functions/CellInformation.h"
#include "functions/Documents.h"
#include "functions/Events.h"
#include "functions/Information.h"
#include "functions/RealTimeData.h"
#include "functions/Registrations.h"
#include "functions/ThreadSafety.h"
#include "functions/Worksheet.h"
#include "functions/Workspace.h"
#include "native/Readable.h"
#include "records/Coerce.h"
#include "state/Behaviour.h"
#include "state/CallContext.h"
#include "state/Calls.h"
#include "state/HostMemory.h"
#include "state/Modules.h"

namespace xllhost {
namespace {

// The host functions xllhost provides, each with its answer; xlFree works on
// the records themselves and is answered here.
struct HostFunction {
  int xlfn;
  Answer (*answer)(const Request&);
};
const HostFunction HostFunctions[] = {
    {xlfRegister, Register},     {xlfRegisterId, RegisterId}, {xlfUnregister, Unregister},
    {xlfSetName, SetName},       {xlfEvaluate, EvaluateText}, {xlfCaller, Caller},
    {xlfGetWorkspace, GetWorkspace}, {xlfGetDocument, GetDocument}, {xlfGetWorkbook, GetWorkbook},
    {xlcMessage, Message},       {xlcAlert, Alert},
    {xlfVolatile, Volatile},     {xlFree, nullptr},           {xlCoerce, CoerceReferences},
    {xlfReftext, Reftext},       {xlfTextref, Textref},       {xlfGetCell, GetCell},
    {xlfGetName, GetNameDefinition}, {xlfGetDef, GetDef},
    {xlSheetId, SheetId},        {xlSheetNm, SheetNm},        {xlAbort, Abort},
    {xlGetInst, GetInst},        {xlGetHwnd, GetHwnd},        {xlGetName, GetName},
    {xlGetInstPtr, GetInstPtr},  {xlStack, Stack},            {xlRunningOnCluster, RunningOnCluster},
    {xlEnableXLMsgs, XLMessages}, {xlDisableXLMsgs, XLMessages}, {xlUDF, CallUserFunction},
    {xlSet, SetCells},           {xlDefineBinaryName, DefineBinaryName}, {xlGetBinaryName, GetBinaryName},
    {xlAsyncReturn, AsyncReturn}, {xlEventRegister, RegisterEvent}, {xlfRtd, RealTimeData},
};

const HostFunction* Provided(int xlfn) {
  for (const HostFunction& function : HostFunctions)
    if (function.xlfn == xlfn) return &function;
  return nullptr;
}

// Checks the call's shape and has the host answer it. The records' values
// are copied for the functions that read them, and into `args` when the call
// is recorded; the caller's module is looked up only when it is needed.
template <typename Record>
Answer AnswerCall(void* caller, int xlfn, int count, Record* opers[], Interface via, bool recorded,
                  std::vector<Value>& args) {
  const Behaviour& behaviour = Behave();
  if (count < 0 || count > 255 || (count > 0 && opers == nullptr)) return Fail(xlretInvCount);
  const bool reads = recorded || xlfn != xlFree;  // xlFree looks only for memory to release
  bool usable = true;
  for (int i = 0; i < count; ++i) {
    // A string or array given back twice is the heap's again: only the record is read.
    const bool givenBack = opers[i] != nullptr && xlfn == xlFree && WhyNotReadable(opers[i], sizeof(Record)).empty() &&
                           HoldsGivenBack(*opers[i]);
    if (opers[i] != nullptr && !givenBack) {
      if (const std::string why = WhyRecordUnreadable(opers[i]); !why.empty()) {
        Fault(FunctionName(xlfn) + ": argument " + std::to_string(i + 1) + " " + why +
              ": Excel would read what is there, or crash");
        return Fail(xlretInvXloper);
      }
    }
    if (opers[i] != nullptr && xlfn != xlFree && !IsKnownType(opers[i]->xltype)) {
      Unusable(FunctionName(xlfn) + ": argument " + std::to_string(i + 1) + " is a record with the unknown type word " +
               std::to_string(opers[i]->xltype));
      usable = false;
    }
    usable = usable && opers[i] != nullptr;
    if (reads) args.push_back(usable && !givenBack ? Capture(*opers[i]) : Value{});
  }
  if (!usable) return Fail(xlretInvXloper);
  if (const char* when = OutOfContext()) {
    Fault(FunctionName(xlfn) + " called " + when +
          ": Excel accepts calls only while it has passed control to the add-in, on that thread");
    return Fail(xlretFailed);
  }
  if (const std::string* function = RunningThreadSafe()) {
    if (const int code = RefusedThreadSafe(xlfn, args)) {
      Answer refused = Fail(code);
      refused.refused =
          *function + " is registered thread-safe ($) but calls " + FunctionName(xlfn) + ", which Excel refuses there";
      return refused;
    }
  }
  if (const std::string* function = RunningWorksheetOnly(); function != nullptr && IsInformationFunction(xlfn)) {
    Answer refused = Fail(xlretInvXlfn);
    refused.refused = *function + " is registered without # but calls " + FunctionName(xlfn) +
                      ", an information function Excel answers only a macro-sheet equivalent (xlfregister-form-1.md)";
    return refused;
  }
  if (behaviour.failing.count(xlfn) != 0) return Fail(xlretFailed);
  if (xlfn == xlFree) {
    for (int i = 0; i < count; ++i) ReleaseHostMemory(*opers[i], "xlFree");
    return Answer{};
  }
  const HostFunction* function = Provided(xlfn);
  if (function == nullptr && IsCalculatedBuiltin(xlfn)) {
    Answer answer = CallBuiltin(xlfn, Request{args, via, nullptr});
    if (!answer.unusable.empty()) Unanswerable(answer.unusable);
    return answer;
  }
  if (function == nullptr) {
    // Excel may well provide it: a session that needs it cannot be judged here.
    Unanswerable("the add-in called " + FunctionName(xlfn) + ", which xllhost does not model; it answered code 2");
    return Fail(xlretInvXlfn);
  }
  Answer answer = function->answer(Request{args, via, xlfn == xlGetName || xlfn == xlEventRegister ? ModuleAt(caller) : nullptr});
  if (!answer.unusable.empty()) Unanswerable(answer.unusable);
  return answer;
}

// xlAsyncReturn from a thread of the add-in's own, which may come at any
// time while the host calculates: it takes only the lock of the calls
// awaiting answers (AsyncCalls.h), and the host's only to report a fault.
// The transcript, the same on every run, shows the cell's answer instead.
template <typename Record>
int ReturnAsynchronously(int count, Record* opers[], Record* operRes, Interface via) {
  if (count != 2 || opers == nullptr) return xlretInvCount;
  std::vector<Value> args;
  for (int i = 0; i < count; ++i) {
    const std::string why = opers[i] == nullptr ? "is null" : WhyRecordUnreadable(opers[i]);
    if (!why.empty() || !IsKnownType(opers[i]->xltype)) {
      HostLocked lock;
      Fault("xlAsyncReturn: argument " + std::to_string(i + 1) + " " + (why.empty() ? "has an unknown type word" : why));
      return xlretInvXloper;
    }
    args.push_back(Capture(*opers[i]));
  }
  const Answer answer = AsyncReturn(Request{args, via, nullptr});
  if (operRes != nullptr && answer.code == xlretSuccess) {  // TRUE or FALSE: no host memory to hand out
    *operRes = Record{};
    operRes->xltype = xltypeBool;
    operRes->val.xbool = answer.value.boolean;
  }
  return answer.code;
}

template <typename Record>
int HandleCall(void* caller, int xlfn, Record* operRes, int count, Record* opers[], Interface via) {
  if (PlainFunction(xlfn) == xlAsyncReturn && OutOfContext() != nullptr)
    return ReturnAsynchronously(count, opers, operRes, via);
  HostLocked lock;
  const Behaviour& behaviour = Behave();
  const bool recorded = behaviour.recordCalls || Listening();
  std::vector<Value> args;
  const size_t unusableBefore = UnusableInput().size();
  Answer answer = AnswerCall(caller, PlainFunction(xlfn), count, opers, via, recorded, args);
  if (operRes != nullptr) {
    if (answer.code == xlretSuccess && !HandOut(answer.value, *operRes)) answer = Fail(xlretFailed);
    if (answer.code != xlretSuccess && behaviour.failureWritesValueError) {
      *operRes = Record{};
      operRes->val.err = xlerrValue;
      operRes->xltype = xltypeErr;
    }
  }
  if (!recorded) return answer.code;

  HostCall call;
  call.xlfn = PlainFunction(xlfn);
  call.name = FunctionName(xlfn);
  call.count = count;
  call.via = via;
  call.arrayWasNull = opers == nullptr;
  if (opers != nullptr && count > 0 && count <= 255)
    for (int i = 0; i < count; ++i) call.records.push_back(opers[i]);
  call.args = std::move(args);
  call.hadResult = operRes != nullptr;
  call.resultRecord = operRes;
  if (operRes != nullptr) call.result = Capture(*operRes);
  call.returnCode = answer.code;
  call.notInterpreted = UnusableInput().size() > unusableBefore;
  call.note = answer.note;
  call.refused = answer.refused;
  call.caller = ModuleAt(caller);
  xllhost::Record(std::move(call), behaviour.recordCalls);
  return answer.code;
}

}  // namespace

int HandleExcel4v(void* caller, int xlfn, LPXLOPER operRes, int count, LPXLOPER opers[]) {
  return HandleCall(caller, xlfn, operRes, count, opers, Interface::Excel4);
}

int HandleExcel12v(void* caller, int xlfn, LPXLOPER12 operRes, int count, LPXLOPER12 opers[]) {
  return HandleCall(caller, xlfn, operRes, count, opers, Interface::Excel12);
}

// The entry a host hands over with SetExcel12EntryPt: called by the add-in
// itself, so its return address tells the calling module.
int WINAPI HostExcel12(int xlfn, int count, LPXLOPER12 opers[], LPXLOPER12 operRes) {
  return HandleExcel12v(__builtin_return_address(0), xlfn, operRes, count, opers);
}

void HandleUnprovided(void* caller, const char* function) {
  Unanswerable(ModulePath(ModuleAt(caller)) + " called " + function + " of xlcall32.dll, which xllhost does not provide");
}

FARPROC HostExcel12Entry() { return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&HostExcel12)); }

FARPROC ExportedMdCallBack12() { return GetProcAddress(GetModuleHandleA(nullptr), "MdCallBack12"); }


}  // namespace xllhost
