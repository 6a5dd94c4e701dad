// The host's side of Excel4v: checks the call's shape, answers it and
// records it.
#include "HostState.h"

namespace xllhost {
namespace {

Answer Dispatch(int xlfn, int count, LPXLOPER opers[], const void* caller) {
  if (const char* when = OutOfContext()) {
    Fault(FunctionName(xlfn) + " called " + when +
          ": Excel accepts calls only while it has passed control to the add-in, on that thread");
    return Fail(xlretFailed);
  }
  if (Host().behaviour.failing.count(xlfn) != 0) return Fail(xlretFailed);
  switch (xlfn) {
    case xlfRegister: return Register(count, opers);
    case xlfRegisterId: return RegisterId(count, opers);
    case xlfUnregister: return Unregister(count, opers);
    case xlfSetName: return SetName(count, opers);
    case xlGetName: return GetName(count, ModuleAt(caller));
    case xlFree: return Free(count, opers);
    default: return Fail(xlretInvXlfn);
  }
}

}  // namespace

Answer Fail(int code) {
  Answer answer;
  answer.code = code;
  return answer;
}

Answer Number(double number) {
  Answer answer;
  answer.value.val.num = number;
  answer.value.xltype = xltypeNum;
  return answer;
}

Answer Boolean(bool value) {
  Answer answer;
  answer.value.val.xbool = value ? 1 : 0;
  answer.value.xltype = xltypeBool;
  return answer;
}

int HandleExcel4v(void* caller, int xlfn, LPXLOPER operRes, int count, LPXLOPER opers[]) {
  State& host = Host();
  const bool record = host.behaviour.recordCalls || host.listener;
  HostCall call;
  call.xlfn = xlfn;
  call.count = count;
  call.arrayWasNull = opers == nullptr;
  call.hadResult = operRes != nullptr;
  call.resultPointer = operRes;
  call.caller = record ? ModuleAt(caller) : nullptr;

  Answer answer;
  if (count < 0 || count > 255 || (count > 0 && opers == nullptr)) {
    answer = Fail(xlretInvCount);
  } else {
    bool nullRecord = false;
    for (int i = 0; i < count; ++i) {
      nullRecord = nullRecord || opers[i] == nullptr;
      if (!record) continue;
      call.pointers.push_back(opers[i]);
      call.args.push_back(opers[i] != nullptr ? Capture(*opers[i]) : Value{});
    }
    answer = nullRecord ? Fail(xlretInvXloper) : Dispatch(xlfn, count, opers, caller);
  }

  if (operRes != nullptr) {
    if (answer.code == xlretSuccess) {
      *operRes = answer.value;
    } else if (host.behaviour.failureWritesValueError) {
      operRes->val.err = xlerrValue;
      operRes->xltype = xltypeErr;
    }
    call.result = Capture(*operRes);
  } else if (answer.code == xlretSuccess && answer.value.xltype == xltypeStr) {
    DropHostString(answer.value.val.str);
  }
  call.returnCode = answer.code;
  if (host.listener) host.listener(call);
  if (host.behaviour.recordCalls) host.calls.push_back(std::move(call));
  return answer.code;
}

}  // namespace xllhost
