#include "functions/Events.h"

#include <vector>

#include "functions/Registrations.h"
#include "state/Calls.h"  // Fault
#include "state/HostPart.h"
#include "state/Modules.h"

namespace xllhost {
namespace {

struct Handler {
  HMODULE module;
  std::string procedure;  // as the DLL exports it
  int event;
};

struct EventTable {
  std::vector<Handler> handlers;
};
EventTable& Handlers() { return HostPart<EventTable>(); }

// The export the name stands for: itself, or the procedure the DLL
// registered under that worksheet name; empty when there is none.
std::string ExportNamed(HMODULE module, const std::string& name) {
  if (GetProcAddress(module, name.c_str()) != nullptr) return name;
  const DefinedName* defined = FindName(name);
  const Registration* registered = defined != nullptr ? FindRegistration(defined->registerId) : nullptr;
  return registered != nullptr && registered->module == module ? registered->procedure : std::string();
}

}  // namespace

Answer RegisterEvent(const Request& request) {
  if (request.args.size() != 2) return Fail(xlretInvCount);
  const Value& name = request.args[0];
  const Value& event = request.args[1];
  std::string procedure = name.Is(xltypeStr) ? ExportNamed(request.caller, name.text) : std::string();
  const double number = event.Is(xltypeInt) ? event.integer : event.Is(xltypeNum) ? event.num : 0;
  const bool known = number == xleventCalculationEnded || number == xleventCalculationCanceled;
  if (procedure.empty() || !known) {
    Fault("xlEventRegister was given " + (procedure.empty() ? "the handler " + Display(name) + ", which the DLL neither exports nor registered"
                                                            : "the event " + Display(event) + ", which Excel does not raise") +
          "; it answered 0");
    return Success(IntegerValue(0));
  }
  Handlers().handlers.push_back(Handler{request.caller, procedure, static_cast<int>(number)});
  return Success(IntegerValue(static_cast<std::int32_t>(Handlers().handlers.size())));
}

void RaiseEvent(int event, const std::function<void(const std::string& handler)>& calling) {
  const std::vector<Handler> handlers = Handlers().handlers;  // a handler may register another
  for (const Handler& handler : handlers) {
    if (handler.event != event || !IsLoadedModule(handler.module)) continue;
    calling(handler.procedure);
    CallNamedEntry(handler.module, handler.procedure.c_str());
  }
}

}  // namespace xllhost
