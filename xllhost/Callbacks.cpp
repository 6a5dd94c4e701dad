// The host's two callbacks, Excel4v (XLOPER) and Excel12v (XLOPER12): each
// checks the call's shape, copies its records, has the host function
// answer, writes the answer into the result record and records the call.
#include "HostState.h"

namespace xllhost {
namespace {

bool ProvidedByXllhost(int xlfn) {
  switch (xlfn) {
    case xlfRegister:
    case xlfRegisterId:
    case xlfUnregister:
    case xlfSetName:
    case xlfEvaluate:
    case xlfCaller:
    case xlFree:
    case xlCoerce:
    case xlSheetId:
    case xlSheetNm:
    case xlAbort:
    case xlGetInst:
    case xlGetHwnd:
    case xlGetName: return true;
    default: return false;
  }
}

template <typename Record>
int HandleCall(void* caller, int xlfn, Record* operRes, int count, Record* opers[], Interface via) {
  State& host = Host();
  const bool record = host.behaviour.recordCalls || host.listener;
  // An unrecorded xlFree, as a benchmark makes by the million, is answered
  // without the bookkeeping, so that the host's cost stays small beside what
  // the benchmark measures.
  if (!record && xlfn == xlFree && count > 0 && count <= 255 && opers != nullptr && OutOfContext() == nullptr &&
      host.behaviour.failing.empty()) {
    bool complete = true;
    for (int i = 0; i < count; ++i) complete = complete && opers[i] != nullptr;
    if (complete) {
      for (int i = 0; i < count; ++i) ReleaseHostMemory(*opers[i], "xlFree");
      return xlretSuccess;
    }
  }
  HostCall call;
  call.xlfn = xlfn;
  call.count = count;
  call.via = via;
  call.arrayWasNull = opers == nullptr;
  call.hadResult = operRes != nullptr;
  call.resultPointer = reinterpret_cast<LPXLOPER>(operRes);
  call.caller = ModuleAt(caller);

  std::vector<Value> args;
  Answer answer;
  if (count < 0 || count > 255 || (count > 0 && opers == nullptr)) {
    answer = Fail(xlretInvCount);
  } else {
    bool usable = true;
    for (int i = 0; i < count; ++i) {
      if (opers[i] == nullptr) {
        usable = false;
        args.emplace_back();
      } else {
        // xlFree looks only for memory to release.
        if (xlfn != xlFree && !IsKnownType(opers[i]->xltype)) {
          Unusable(FunctionName(xlfn) + ": argument " + std::to_string(i + 1) +
                   " is a record with the unknown type word " + std::to_string(opers[i]->xltype));
          usable = false;
        }
        args.push_back(usable ? Capture(*opers[i]) : Value{});
      }
      if (record) call.pointers.push_back(reinterpret_cast<LPXLOPER>(opers[i]));
    }
    if (!usable) {
      answer = Fail(xlretInvXloper);
    } else if (const char* when = OutOfContext()) {
      Fault(FunctionName(xlfn) + " called " + when +
            ": Excel accepts calls only while it has passed control to the add-in, on that thread");
      answer = Fail(xlretFailed);
    } else if (host.behaviour.failing.count(xlfn) != 0) {
      answer = Fail(xlretFailed);
    } else if (xlfn == xlFree) {
      for (int i = 0; i < count; ++i) ReleaseHostMemory(*opers[i], "xlFree");
    } else if (!ProvidedByXllhost(xlfn)) {
      // Excel may well provide it: a session that needs it cannot be judged here.
      Unusable("the add-in called " + FunctionName(xlfn));
      answer = Fail(xlretInvXlfn);
    } else {
      answer = Dispatch(xlfn, Request{args, via, call.caller});
    }
  }
  if (record) call.args = args;

  if (operRes != nullptr) {
    if (answer.code == xlretSuccess && !HandOut(answer.value, *operRes)) answer = Fail(xlretFailed);
    if (answer.code != xlretSuccess && host.behaviour.failureWritesValueError) {
      *operRes = Record{};
      operRes->val.err = xlerrValue;
      operRes->xltype = xltypeErr;
    }
    call.result = Capture(*operRes);
  }
  call.returnCode = answer.code;
  if (host.listener) host.listener(call);
  if (host.behaviour.recordCalls) host.calls.push_back(std::move(call));
  return answer.code;
}

}  // namespace

Answer Fail(int code) {
  Answer answer;
  answer.code = code;
  return answer;
}

Answer Success(Value value) {
  Answer answer;
  answer.value = std::move(value);
  return answer;
}

Answer Dispatch(int xlfn, const Request& request) {
  switch (xlfn) {
    case xlfRegister: return Register(request);
    case xlfRegisterId: return RegisterId(request);
    case xlfUnregister: return Unregister(request);
    case xlfSetName: return SetName(request);
    case xlCoerce: return Coerce(request);
    case xlfEvaluate: return EvaluateText(request);
    default: return Information(xlfn, request);
  }
}

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

FARPROC HostExcel12Entry() { return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&HostExcel12)); }

FARPROC ExportedMdCallBack12() { return GetProcAddress(GetModuleHandleA(nullptr), "MdCallBack12"); }

void Unusable(const std::string& text) { Host().unusable.push_back(text); }

const std::vector<std::string>& UnusableInput() { return Host().unusable; }

}  // namespace xllhost
