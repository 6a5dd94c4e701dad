#include "HostState.h"

namespace xllhost {

const std::vector<HostCall>& Calls() { return Host().calls; }

void ClearCalls() { Host().calls.clear(); }

std::vector<int> CallNumbers() {
  std::vector<int> numbers;
  for (const HostCall& call : Host().calls) numbers.push_back(call.xlfn);
  return numbers;
}

void OnCall(std::function<void(const HostCall&)> listener) { Host().listener = std::move(listener); }

const std::vector<std::string>& Faults() { return Host().faults; }

std::string FunctionName(int xlfn) {
  switch (xlfn) {
    case xlfSetName: return "xlfSetName";
    case xlfRegister: return "xlfRegister";
    case xlfUnregister: return "xlfUnregister";
    case xlfRegisterId: return "xlfRegisterId";
    case xlFree: return "xlFree";
    case xlGetName: return "xlGetName";
    case xlfCaller: return "xlfCaller";
    case xlfEvaluate: return "xlfEvaluate";
    case xlCoerce: return "xlCoerce";
    case xlSheetId: return "xlSheetId";
    case xlSheetNm: return "xlSheetNm";
    case xlAbort: return "xlAbort";
    case xlGetInst: return "xlGetInst";
    case xlGetHwnd: return "xlGetHwnd";
    default: return "function " + std::to_string(xlfn) + " (not provided by xllhost)";
  }
}

}  // namespace xllhost
