// The host's state, kept by the units it belongs to. Each unit declares its
// part beside its code and reaches it through HostPart<Part>(): the C API's
// callbacks, which Windows calls with no context, find the host there and
// nowhere else. ResetHost() starts every part afresh, so that each session
// and each test meets a host as new.
#pragma once

namespace xllhost {

// What ResetHost does, in addition: put one part back as it was made.
void WhenHostResets(void (*reset)());

// Starts the host afresh: every part as made, the loaded modules included.
// Host memory the add-in still holds stays valid, and is no longer counted.
void ResetHost();

// The one instance of a unit's part, made on first use. It is never
// destroyed: an add-in still loaded when the process exits may call the host
// from its DllMain after main has returned. Each Part is a kind of its own.
template <typename Part>
Part& HostPart() {
  static Part* const part = [] {
    WhenHostResets([] { HostPart<Part>() = Part{}; });
    return new Part;
  }();
  return *part;
}

}  // namespace xllhost
