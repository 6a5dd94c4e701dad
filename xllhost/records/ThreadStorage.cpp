#include "records/ThreadStorage.h"

#include <atomic>
#include <cstdlib>
#include <vector>

#if defined(__MINGW32__) && !defined(__clang__)
#include <windows.h>
#endif

namespace xllhost {

#if defined(__MINGW32__) && !defined(__clang__)
// thread_local is emulated here: the system's TLS slots instead.
ThreadSlot::ThreadSlot() : index_(TlsAlloc()) {
  if (index_ == TLS_OUT_OF_INDEXES) std::abort();  // made at start-up, a handful in all
}
// TlsGetValue sets the thread's last error, which the host reads after
// Windows' own calls (a DLL that does not load): it is kept.
void* ThreadSlot::Get() const {
  const DWORD error = GetLastError();
  void* pointer = TlsGetValue(static_cast<DWORD>(index_));
  SetLastError(error);
  return pointer;
}
void ThreadSlot::Set(void* pointer) const {
  const DWORD error = GetLastError();
  TlsSetValue(static_cast<DWORD>(index_), pointer);
  SetLastError(error);
}
#else
// thread_local is the compiler's own: each thread's slots are an array.
namespace {
constexpr size_t MostSlots = 64;
thread_local void* Slots[MostSlots];
std::atomic<size_t> SlotsTaken{0};
}  // namespace

ThreadSlot::ThreadSlot() : index_(SlotsTaken++) {
  if (index_ >= MostSlots) std::abort();  // a handful in all
}
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
