#include "engine/Schedule.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <new>
#include <thread>
#include <vector>

#include "records/ThreadStorage.h"

namespace xllhost {
namespace {

// A thread that waits for a cell yields at first, as the cells of the
// threads are short, then sleeps, as a long wait is for the calling thread's
// own cells.
class Waiting {
 public:
  void Once() {
    if (++turns_ < 2000) {
      std::this_thread::yield();
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

 private:
  int turns_ = 0;
};

class Threads {
 public:
  Threads(const Plan& plan, const CalculateCell& calculate)
      : plan_(plan), calculate_(calculate), done_(new std::atomic<bool>[plan.recalculate.size()]()) {
    for (int e : plan.order)
      if (plan.recalculate[static_cast<size_t>(e)] && plan.threadSafe[static_cast<size_t>(e)]) ahead_.push_back(e);
    kept_.reset(new Kept[ahead_.size()]);
  }

  bool AnyAhead() const { return !ahead_.empty(); }

  // A calculation thread takes the thread-safe cells in the plan's order, a
  // run of them at a time, each waiting for the cells it needs. Those come
  // before it in the order, and every cell before it is taken, so the wait
  // ends. Neighbouring cells are then written by one thread, not by turns,
  // which would pass their memory from core to core on every cell.
  void Work(int thread) {
    constexpr size_t Run = 64;
    for (;;) {
      const size_t first = next_.fetch_add(Run);
      if (first >= ahead_.size()) return;
      for (size_t i = first; i < first + Run && i < ahead_.size(); ++i) {
        for (Waiting waiting; !Ready(ahead_[i]);) waiting.Once();
        Calculate(i, thread);
      }
    }
  }

  // The calling thread: each cell in its turn; while a thread-safe one is
  // not yet done, it calculates the next one that is ready, if any.
  void Report(const ReportCell& report) {
    size_t k = 0;  // in ahead_
    for (int e : plan_.order) {
      const size_t at = static_cast<size_t>(e);
      if (!plan_.recalculate[at]) continue;
      if (!plan_.threadSafe[at]) {
        Evaluated answer = calculate_(e, 0);
        done_[at] = true;
        report(e, answer, 0);
        continue;
      }
      for (Waiting waiting; !done_[at].load();)
        if (!CalculateNextReady()) waiting.Once();
      Evaluated* answer = std::launder(reinterpret_cast<Evaluated*>(kept_[k].answer));
      report(e, *answer, kept_[k].thread);
      answer->~Evaluated();
      ++k;
    }
  }

 private:
  // Whether every cell that cell `e` needs is done.
  bool Ready(int e) const {
    const Plan::Span needs = plan_.needsOf[static_cast<size_t>(e)];
    for (size_t i = needs.first; i < needs.end; ++i)
      if (!done_[static_cast<size_t>(plan_.needs[i])].load()) return false;
    return true;
  }

  bool CalculateNextReady() {
    size_t i = next_.load();
    if (i >= ahead_.size() || !Ready(ahead_[i])) return false;
    if (!next_.compare_exchange_strong(i, i + 1)) return true;
    Calculate(i, 1);
    return true;
  }

  // Calculates ahead_[i], keeps its answer and marks it done: the cells that
  // need it may start.
  void Calculate(size_t i, int thread) {
    const int e = ahead_[i];
    new (kept_[i].answer) Evaluated(calculate_(e, thread));
    kept_[i].thread = thread;
    done_[static_cast<size_t>(e)] = true;
  }

  // The answer of a cell calculated ahead, built in place by the thread that
  // calculates it and destroyed once reported. The storage is left
  // uninitialised until then, so that no one thread touches all of it before
  // the threads start.
  struct Kept {
    alignas(Evaluated) unsigned char answer[sizeof(Evaluated)];
    int thread;
  };

  const Plan& plan_;
  const CalculateCell& calculate_;
  std::unique_ptr<std::atomic<bool>[]> done_;  // of each cell
  std::vector<int> ahead_;                     // the thread-safe cells, in the plan's order
  std::unique_ptr<Kept[]> kept_;               // of each of ahead_
  std::atomic<size_t> next_{0};
};

}  // namespace

void Schedule(const Plan& plan, int threads, const CalculateCell& calculate, const ReportCell& report) {
  if (threads > 1 && !plan.needsOf.empty()) {
    Threads shared(plan, calculate);
    if (shared.AnyAhead()) {  // without a thread-safe cell to calculate, no thread starts
      std::vector<std::thread> workers;
      for (int thread = 2; thread <= threads; ++thread)
        workers.emplace_back([&shared, thread] {
          shared.Work(thread);
          ReleaseThreadStorage();
        });
      shared.Report(report);
      for (std::thread& worker : workers) worker.join();
      return;
    }
  }
  for (int e : plan.order) {
    if (!plan.recalculate[static_cast<size_t>(e)]) continue;
    const Evaluated answer = calculate(e, 0);
    report(e, answer, 0);
  }
}

}  // namespace xllhost
