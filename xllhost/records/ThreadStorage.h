// What a thread keeps of its own on the heap, given back when the thread
// ends. A thread_local object with a destructor is not safe with every
// MinGW runtime, so each is a pointer that the thread's end releases.
#pragma once

namespace xllhost {

// Gives back what the calling thread keeps, as it is about to end and uses
// none of it any more. A thread that never calls it keeps it for good.
void ReleaseThreadStorage();
// What ReleaseThreadStorage does on this thread, in addition.
void WhenThreadReleases(void (*release)());

}  // namespace xllhost
