// The time limit of every call into an add-in.
#pragma once

namespace xllhost {

// From now on, when the add-in's code has run `seconds` without returning to
// the host (an entry, a cell's function, or the loader running its DllMain
// and TLS callbacks), the run ends with status 3: a line names what did not
// return and where the add-in's thread is, and the last words are said (see
// EndWithLastWords). Called once, on the thread that calls the add-in.
void StartWatchdog(double seconds);
// Ends the watchdog's thread before the process exits, so that no thread of
// the host's own is cut off while Windows ends the process.
void StopWatchdog();

}  // namespace xllhost
