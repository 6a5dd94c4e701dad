#include "workbook/CellState.h"

#include <thread>

namespace xllhost {
namespace {

// The cell's state: calculated, waiting to be, or held by one thread that
// writes or copies its value. A cell once calculated is never written again
// in that calculation, so its value is read without holding it.
enum : std::uint8_t { Calculated = 0, Waiting = 1, Held = 2 };

std::uint8_t Load(const Cell& cell) { return __atomic_load_n(&cell.state, __ATOMIC_ACQUIRE); }

// Holds a waiting cell; false when it is calculated. A reader holds it too,
// so the state changes in a cell read through a const reference.
bool Hold(const Cell& cell) {
  for (;;) {
    std::uint8_t seen = Load(cell);
    if (seen == Calculated) return false;
    if (seen == Waiting &&
        __atomic_compare_exchange_n(&cell.state, &seen, Held, false, __ATOMIC_ACQUIRE, __ATOMIC_RELAXED))
      return true;
    std::this_thread::yield();  // another thread copies or shows it, briefly
  }
}

}  // namespace

void MarkToCalculate(Cell& cell) { cell.state = Waiting; }

void ShowAnswer(Cell& cell, const Value& value) {
  const bool held = Hold(cell);
  cell.value = value;
  if (held) __atomic_store_n(&cell.state, Calculated, __ATOMIC_RELEASE);
}

bool Uncalculated(const Cell& cell) { return Load(cell) != Calculated; }

Value ValueNow(const Cell& cell) {
  if (!Hold(cell)) return cell.value;
  Value value = cell.value;
  __atomic_store_n(&cell.state, Waiting, __ATOMIC_RELEASE);
  return value;
}

}  // namespace xllhost
