// The thread check (--check-threads): a function registered thread-safe ($)
// claims that Excel may call it on several threads at once. Each such
// function that the calculation called is called again, with the same
// arguments and for the same cells, from several threads at once, many
// times, and every answer is compared with the one it gave alone.
#pragma once

namespace xllhost {

// Checks each function whose calls the calculation kept
// (ThreadSafeCallsKept); a function that answers otherwise than
// alone, or answers the same record on two threads, is a problem.
void CheckThreads();

}  // namespace xllhost
