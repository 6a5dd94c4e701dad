#include "state/HostState.h"

#include "records/ThreadStorage.h"

namespace xllhost {

HostState& State() {
  static HostState* const state = new HostState;
  return *state;
}

void Reset() { State() = HostState{}; }

HMODULE ModuleAt(const void* address) {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     static_cast<LPCSTR>(address), &module);
  return module;
}

namespace {
struct Judging {
  const FormulaCell* cell = nullptr;
};
}  // namespace

const FormulaCell*& JudgingOnThread() { return ThreadOwn<Judging>().cell; }

CellCalculating& Calling() { return ThreadOwn<CellCalculating>(); }

Workbook& Book() {
  Workbook& book = State().book;
  if (book.Sheets().empty()) book.AddSheet("Sheet1");
  return book;
}

}  // namespace xllhost
