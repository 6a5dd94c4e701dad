// What each thread keeps of its own: records made on the heap when the
// thread first asks for them, and given back when it ends. A thread_local
// object with a destructor is not safe with every MinGW runtime, and a
// thread_local is slow with MinGW's GCC (below), so xllhost uses neither.
#pragma once

#include <cstddef>

namespace xllhost {

// Gives back what the calling thread keeps, as it is about to end and uses
// none of it any more. A thread that never calls it keeps it for good.
void ReleaseThreadStorage();
// What ReleaseThreadStorage does on this thread, in addition.
void WhenThreadReleases(void (*release)());

// A pointer each thread holds for itself, null until the thread sets one.
// The host reads several in every call of an add-in's function, and GCC for
// MinGW emulates thread_local: each access calls into its runtime, which
// finds the variable under a lock (about 11 ns under Wine), where the
// system's own slot costs about 4 (ThreadStorage.cpp chooses).
class ThreadSlot {
 public:
  ThreadSlot();
  ThreadSlot(const ThreadSlot&) = delete;
  ThreadSlot& operator=(const ThreadSlot&) = delete;
  void* Get() const;
  void Set(void* pointer) const;

 private:
  size_t index_;  // of the system's TLS slots, or of ThreadStorage.cpp's own
};

// The calling thread's own T, made when the thread first asks for it and
// given back by ReleaseThreadStorage. Each T is a kind of its own.
template <typename T>
T& ThreadOwn() {
  static const ThreadSlot slot;
  if (void* own = slot.Get()) return *static_cast<T*>(own);
  T* own = new T();
  slot.Set(own);
  WhenThreadReleases([] {
    delete static_cast<T*>(slot.Get());
    slot.Set(nullptr);
  });
  return *own;
}

}  // namespace xllhost
