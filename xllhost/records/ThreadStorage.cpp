#include "records/ThreadStorage.h"

#include <atomic>
#include <cstdlib>
#include <vector>

#if defined(__MINGW32__) && !defined(__clang__)
#include <windows.h>
#endif

namespace xllhost {

namespace {

// Each thread's slots where thread_local is native, and where Windows has
// no TLS index left for one (an add-in may have taken them all).
constexpr size_t MostSlots = 64;
thread_local void* Slots[MostSlots];
std::atomic<size_t> SlotsTaken{0};

size_t TakeSlot() {
  const size_t index = SlotsTaken++;
  if (index >= MostSlots) std::abort();  // made for a handful of kinds in all
  return index;
}

}  // namespace

#if defined(__MINGW32__) && !defined(__clang__)
// thread_local is emulated here: the system's TLS slots instead. TlsGetValue
// sets the thread's last error, which the host reads after Windows' own
// calls (a DLL that does not load): it is kept.
constexpr size_t OwnSlots = size_t{1} << 31;  // index_ from here: one of Slots, no system slot
ThreadSlot::ThreadSlot() : index_(TlsAlloc()) {
  if (index_ == TLS_OUT_OF_INDEXES) index_ = OwnSlots + TakeSlot();
}
void* ThreadSlot::Get() const {
  if (index_ >= OwnSlots) return Slots[index_ - OwnSlots];
  const DWORD error = GetLastError();
  void* pointer = TlsGetValue(static_cast<DWORD>(index_));
  SetLastError(error);
  return pointer;
}
void ThreadSlot::Set(void* pointer) const {
  if (index_ >= OwnSlots) {
    Slots[index_ - OwnSlots] = pointer;
    return;
  }
  const DWORD error = GetLastError();
  TlsSetValue(static_cast<DWORD>(index_), pointer);
  SetLastError(error);
}
#else
ThreadSlot::ThreadSlot() : index_(TakeSlot()) {}
void* ThreadSlot::Get() const { return Slots[index_]; }
void ThreadSlot::Set(void* pointer) const { Slots[index_] = pointer; }
#endif

namespace {

const ThreadSlot& Releases() {
  static const ThreadSlot releases;  // of a std::vector<void (*)()>
  return releases;
}

}  // namespace

void WhenThreadReleases(void (*release)()) {
  auto* releases = static_cast<std::vector<void (*)()>*>(Releases().Get());
  if (releases == nullptr) Releases().Set(releases = new std::vector<void (*)()>);
  releases->push_back(release);
}

void ReleaseThreadStorage() {
  auto* releases = static_cast<std::vector<void (*)()>*>(Releases().Get());
  if (releases == nullptr) return;
  for (void (*release)() : *releases) release();
  delete releases;
  Releases().Set(nullptr);
}

}  // namespace xllhost
