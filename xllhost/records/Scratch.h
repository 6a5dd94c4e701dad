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
  Scratch() : levels_(Levels()) {
    if (levels_.vectors.size() <= levels_.depth) levels_.vectors.emplace_back();  // a deque never moves the others
    vector_ = &levels_.vectors[levels_.depth++];
    vector_->clear();
  }
  ~Scratch() {
    vector_->clear();
    --levels_.depth;
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  std::vector<T>& operator*() { return *vector_; }
  std::vector<T>* operator->() { return vector_; }

 private:
  struct Nested {
    std::deque<std::vector<T>> vectors;
    size_t depth = 0;  // of the calls that use them now
  };
  // Each thread's (ThreadOwn), never destroyed unless the thread gives them
  // back before it ends: the host's own thread keeps them, as the host's
  // state, since an add-in may call the host from its DllMain after main
  // has returned.
  static Nested& Levels() { return ThreadOwn<Nested>(); }
  Nested& levels_;
  std::vector<T>* vector_;
};

}  // namespace xllhost
