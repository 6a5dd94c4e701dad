#include "state/HostPart.h"

#include <mutex>
#include <vector>

namespace xllhost {
namespace {
// Parts are made on first use, on whichever thread uses one first.
struct Resets {
  std::mutex lock;
  std::vector<void (*)()> all;
};
Resets& AllResets() {
  static Resets* const resets = new Resets;
  return *resets;
}
}  // namespace

void WhenHostResets(void (*reset)()) {
  std::lock_guard<std::mutex> hold(AllResets().lock);
  AllResets().all.push_back(reset);
}

void ResetHost() {
  std::vector<void (*)()> resets;
  {
    std::lock_guard<std::mutex> hold(AllResets().lock);
    resets = AllResets().all;
  }
  for (void (*reset)() : resets) reset();
}

}  // namespace xllhost
