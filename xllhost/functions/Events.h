// Event handlers an add-in registers with xlEventRegister (handling-events.md):
// called when a calculation ends, or is canceled.
#pragma once

#include <functional>
#include <string>

#include "records/HostAnswer.h"

namespace xllhost {

// xlEventRegister(procedure, event): keeps the handler, named as the DLL
// that asks exports it (or as it registered it), for the event. Answers an
// integer above 0, or 0 for a handler the DLL has not or an event Excel does
// not raise (xleventregister.md), which is the add-in's problem.
Answer RegisterEvent(const Request& request);

// Calls the handlers of the event of a loaded add-in, in the order they were
// registered; `calling` is told each one's name first.
void RaiseEvent(int event, const std::function<void(const std::string& handler)>& calling);

}  // namespace xllhost
