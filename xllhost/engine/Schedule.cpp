#include "engine/Schedule.h"

#include <atomic>
#include <chrono>
#include <memory>
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
      : plan_(plan), calculate_(calculate), needing_(new std::atomic<int>[plan.recalculate.size()]),
        done_(new std::atomic<bool>[plan.recalculate.size()]), answers_(plan.recalculate.size()) {
    const size_t n = plan.recalculate.size();
    std::vector<int> neededBy(n, 0);
    for (size_t e = 0; e < n; ++e) {
      needing_[e] = static_cast<int>(plan.needsFrom[e + 1] - plan.needsFrom[e]);
      done_[e] = false;
      for (size_t i = plan.needsFrom[e]; i < plan.needsFrom[e + 1]; ++i) ++neededBy[static_cast<size_t>(plan.needs[i])];
    }
    neededFrom_.assign(n + 1, 0);
    for (size_t e = 0; e < n; ++e) neededFrom_[e + 1] = neededFrom_[e] + static_cast<size_t>(neededBy[e]);
    neededBy_.resize(neededFrom_[n]);
    std::vector<size_t> at(neededFrom_.begin(), neededFrom_.end() - 1);
    for (size_t e = 0; e < n; ++e)
      for (size_t i = plan.needsFrom[e]; i < plan.needsFrom[e + 1]; ++i)
        neededBy_[at[static_cast<size_t>(plan.needs[i])]++] = static_cast<int>(e);
    for (int e : plan.order)
      if (plan.recalculate[static_cast<size_t>(e)] && plan.threadSafe[static_cast<size_t>(e)]) ahead_.push_back(e);
  }

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
        const int e = ahead_[i];
        for (Waiting waiting; needing_[static_cast<size_t>(e)].load() != 0;) waiting.Once();
        Calculate(e, thread);
      }
    }
  }

  // The calling thread: each cell in its turn; while a thread-safe one is
  // not yet done, it calculates the next one that is ready, if any.
  void Report(const ReportCell& report) {
    for (int e : plan_.order) {
      const size_t at = static_cast<size_t>(e);
      if (!plan_.recalculate[at]) continue;
      if (!plan_.threadSafe[at]) {
        Evaluated answer = calculate_(e, 0);
        Done(e);
        report(e, answer, 0);
        continue;
      }
      for (Waiting waiting; !done_[at].load();)
        if (!CalculateNextReady()) waiting.Once();
      report(e, answers_[at].first, answers_[at].second);
      answers_[at] = {};
    }
  }

 private:
  bool CalculateNextReady() {
    size_t i = next_.load();
    if (i >= ahead_.size() || needing_[static_cast<size_t>(ahead_[i])].load() != 0) return false;
    if (!next_.compare_exchange_strong(i, i + 1)) return true;
    Calculate(ahead_[i], 1);
    return true;
  }

  void Calculate(int e, int thread) {
    answers_[static_cast<size_t>(e)] = {calculate_(e, thread), thread};
    Done(e);
  }

  // The cell's answer is shown: the cells that need it need one fewer.
  void Done(int e) {
    const size_t at = static_cast<size_t>(e);
    for (size_t i = neededFrom_[at]; i < neededFrom_[at + 1]; ++i) --needing_[static_cast<size_t>(neededBy_[i])];
    done_[at] = true;
  }

  const Plan& plan_;
  const CalculateCell& calculate_;
  std::unique_ptr<std::atomic<int>[]> needing_;  // of each cell, the cells it needs not yet done
  std::unique_ptr<std::atomic<bool>[]> done_;
  std::vector<std::pair<Evaluated, int>> answers_;  // of the cells calculated ahead, and the thread
  std::vector<size_t> neededFrom_;                   // entry e is needed by neededBy_[neededFrom_[e] ...]
  std::vector<int> neededBy_;
  std::vector<int> ahead_;  // the thread-safe cells, in the plan's order
  std::atomic<size_t> next_{0};
};

}  // namespace

void Schedule(const Plan& plan, int threads, const CalculateCell& calculate, const ReportCell& report) {
  bool anyAhead = false;  // a thread-safe cell to calculate
  if (threads > 1 && !plan.needsFrom.empty())
    for (size_t e = 0; e < plan.threadSafe.size() && !anyAhead; ++e) anyAhead = plan.recalculate[e] && plan.threadSafe[e];
  if (anyAhead) {
    Threads shared(plan, calculate);
    std::vector<std::thread> workers;
    for (int thread = 2; thread <= threads; ++thread) workers.emplace_back([&shared, thread] {
        shared.Work(thread);
        ReleaseThreadStorage();
      });
    shared.Report(report);
    for (std::thread& worker : workers) worker.join();
    return;
  }
  for (int e : plan.order) {
    if (!plan.recalculate[static_cast<size_t>(e)]) continue;
    const Evaluated answer = calculate(e, 0);
    report(e, answer, 0);
  }
}

}  // namespace xllhost
