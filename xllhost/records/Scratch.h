// Scratch vectors for calls that nest: each level of nesting has a vector
// of its own that keeps its capacity from call to call, so that calling an
// add-in's function allocates nothing once a call of that depth was made.
// They hold nothing between calls: no part of the host's state. Each thread
// has its own: an add-in's functions may run on several at once.
#pragma once

#include <cstddef>
#include <deque>
#include <vector>

#include "records/ThreadStorage.h"

namespace xllhost {

template <typename T>
class Scratch {
 public:
  Scratch() {
    std::deque<std::vector<T>>& levels = Levels();
    if (levels.size() <= Depth()) levels.emplace_back();  // a deque never moves the others
    vector_ = &levels[Depth()++];
    vector_->clear();
  }
  ~Scratch() {
    vector_->clear();
    --Depth();
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  std::vector<T>& operator*() { return *vector_; }
  std::vector<T>* operator->() { return vector_; }

 private:
  // Each thread's, never destroyed unless the thread gives them back before
  // it ends (ReleaseThreadStorage): the host's own thread keeps them, as the
  // host's state, since an add-in may call the host from its DllMain after
  // main has returned.
  static std::deque<std::vector<T>>*& Slot() {
    thread_local std::deque<std::vector<T>>* levels = nullptr;
    return levels;
  }
  static std::deque<std::vector<T>>& Levels() {
    std::deque<std::vector<T>>*& levels = Slot();
    if (levels == nullptr) {
      levels = new std::deque<std::vector<T>>;
      WhenThreadReleases([] {
        delete Slot();
        Slot() = nullptr;
      });
    }
    return *levels;
  }
  static size_t& Depth() {
    thread_local size_t depth = 0;
    return depth;
  }
  std::vector<T>* vector_;
};

}  // namespace xllhost
