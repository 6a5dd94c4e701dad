#include "functions/ThreadSafety.h"

#include "catalog/FunctionNames.h"
#include "functions/Registrations.h"

namespace xllhost {
namespace {

// xlAbort with FALSE clears a break; asking whether the user broke is allowed.
bool ClearsBreak(const std::vector<Value>& args) {
  return !args.empty() && args[0].Is(xltypeBool) && !args[0].boolean;
}

// xlUDF of a registered function not registered thread-safe, named by its
// register ID or its name; one xllhost does not know is not refused here.
bool CallsUnsafe(const std::vector<Value>& args) {
  if (args.empty()) return false;
  const Registration* called = nullptr;
  if (args[0].Is(xltypeNum)) {
    called = FindRegistration(args[0].num);
  } else if (args[0].Is(xltypeStr)) {
    const DefinedName* name = FindName(args[0].text);
    called = name != nullptr && name->registerId != 0 ? FindRegistration(name->registerId) : nullptr;
  }
  return called != nullptr && !called->signature.ThreadSafe();
}

// As multithreaded-recalculation-in-excel.md lists them: defining or
// deleting a name, clearing a break and calling a function not thread-safe
// answer xlretNotThreadSafe, an XLM information function xlretFailed.
// (xlCoerce of a cell not yet calculated answers xlretUncalced to any
// function not registered as a macro-sheet equivalent, thread-safe or not.)
struct Refusal {
  int xlfn;
  int code;
  bool (*applies)(const std::vector<Value>& args);  // null: always
};
const Refusal Refusals[] = {
    {xlfSetName, xlretNotThreadSafe, nullptr},
    {xlAbort, xlretNotThreadSafe, ClearsBreak},
    {xlUDF, xlretNotThreadSafe, CallsUnsafe},
};

}  // namespace

int RefusedThreadSafe(int xlfn, const std::vector<Value>& args) {
  if (IsInformationFunction(xlfn)) return xlretFailed;
  for (const Refusal& refusal : Refusals)
    if (refusal.xlfn == xlfn && (refusal.applies == nullptr || refusal.applies(args))) return refusal.code;
  return 0;
}

}  // namespace xllhost
