#include "records/ThreadStorage.h"

#include <vector>

namespace xllhost {
namespace {

std::vector<void (*)()>*& Releases() {
  thread_local std::vector<void (*)()>* releases = nullptr;
  return releases;
}

}  // namespace

void WhenThreadReleases(void (*release)()) {
  if (Releases() == nullptr) Releases() = new std::vector<void (*)()>;
  Releases()->push_back(release);
}

void ReleaseThreadStorage() {
  if (Releases() == nullptr) return;
  for (void (*release)() : *Releases()) release();
  delete Releases();
  Releases() = nullptr;
}

}  // namespace xllhost
