#include "HostState.h"

#include <cctype>

namespace xllhost {

State& Host() {
  static State state;
  return state;
}

void Fault(const std::string& text) { Host().faults.push_back(text); }

Behaviour& Behave() { return Host().behaviour; }

void Reset() {
  State& state = Host();
  state.behaviour = Behaviour{};
  state.calls.clear();
  state.faults.clear();
  state.registrations.clear();
  state.names.clear();
  state.unusable.clear();
  state.callerCell = -1;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

HMODULE ModuleAt(const void* address) {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     static_cast<LPCSTR>(address), &module);
  return module;
}

}  // namespace xllhost
