#include "session/CalculationEnd.h"

#include <string>

#include "functions/AsyncCalls.h"
#include "functions/Events.h"
#include "session/Transcript.h"
#include "state/HostMemory.h"

namespace xllhost {
namespace {

void Raise(int event, const char* name) {
  RaiseEvent(event, [&](const std::string& handler) {
    Say("xllhost raises ", name, ": calls ", handler, "()\n");
    ChargeHostMemoryTo(handler);
  });
  CheckHostMemoryGivenBack("after the calculation's events");
}

}  // namespace

void EndCalculation() {
  if (!EndAsynchronousCalls()) Raise(xleventCalculationCanceled, "xleventCalculationCanceled");
  Raise(xleventCalculationEnded, "xleventCalculationEnded");
}

}  // namespace xllhost
