// The add-in the workbook benchmark calculates with: Add, which only adds
// two numbers; Work, thread-safe, which takes a few microseconds to answer
// its argument; Echo, which answers its argument, and Later, which answers
// it from a worker thread through xlAsyncReturn.
#include <windows.h>

#include <vector>

#include "xllhost/XllApi.h"

extern "C" __declspec(dllexport) double WINAPI Add(double a, double b) { return a + b; }

// Answers x after steps that the compiler cannot fold: x, then x again.
extern "C" __declspec(dllexport) double WINAPI Work(double x) {
  volatile double sum = 0;
  for (int i = 0; i < 3000; ++i) sum = sum + 1.0;
  return x + sum - 3000.0;
}

extern "C" __declspec(dllexport) double WINAPI Echo(double x) { return x; }

namespace {

// The calls of Later waiting for the worker: each handle copied, then its
// number. Slim locks: a call comes for every cell.
SRWLOCK waitingLock = SRWLOCK_INIT;
CONDITION_VARIABLE wake = CONDITION_VARIABLE_INIT;
std::vector<XLOPER12> waiting;
HANDLE worker = nullptr;
bool stopping = false;
bool asleep = false;  // the worker waits for a call: the next one wakes it

// Answers the calls waiting, all at once.
DWORD WINAPI AnswerLater(void*) {
  std::vector<XLOPER12> taken, handles, values;
  for (;;) {
    AcquireSRWLockExclusive(&waitingLock);
    while (waiting.empty() && !stopping) {
      asleep = true;
      SleepConditionVariableSRW(&wake, &waitingLock, INFINITE, 0);
      asleep = false;
    }
    const bool stop = stopping;
    taken.swap(waiting);
    ReleaseSRWLockExclusive(&waitingLock);
    if (stop) return 0;
    // A row of the handles and one of their values, in one call (xlasyncreturn.md).
    handles.clear();
    values.clear();
    for (size_t i = 0; i + 1 < taken.size(); i += 2) {
      handles.push_back(taken[i]);
      values.push_back(taken[i + 1]);
    }
    XLOPER12 rows[2]{};
    for (int r = 0; r < 2; ++r) {
      rows[r].xltype = xltypeMulti;
      rows[r].val.array.rows = 1;
      rows[r].val.array.columns = static_cast<decltype(rows[r].val.array.columns)>(handles.size());
      rows[r].val.array.lparray = r == 0 ? handles.data() : values.data();
    }
    XLOPER12 result{};
    LPXLOPER12 args[] = {&rows[0], &rows[1]};
    if (!handles.empty()) Excel12v(xlAsyncReturn, &result, 2, args);
    taken.clear();
  }
}

// Every function, through Excel12: an asynchronous function's handle is an XLOPER12.
int RegisterAll() {
  XLOPER12 path{};
  if (Excel12v(xlGetName, &path, 0, nullptr) != xlretSuccess) return xlretFailed;
  int code = xlretSuccess;
  static wchar_t add[] = L"\x03" L"Add", addType[] = L"\x03" L"BBB", work[] = L"\x04" L"Work",
                 workType[] = L"\x03" L"BB$", echo[] = L"\x04" L"Echo", echoType[] = L"\x02" L"BB",
                 later[] = L"\x05" L"Later", laterType[] = L"\x03" L">BX";
  wchar_t* registered[][2] = {{add, addType}, {work, workType}, {echo, echoType}, {later, laterType}};
  for (auto& [procedure, type] : registered) {
    XLOPER12 texts[3]{};
    wchar_t* strings[] = {procedure, type, procedure};
    for (int i = 0; i < 3; ++i) {
      texts[i].xltype = xltypeStr;
      texts[i].val.str = strings[i];
    }
    LPXLOPER12 args[] = {&path, &texts[0], &texts[1], &texts[2]};
    if (code == xlretSuccess) code = Excel12v(xlfRegister, nullptr, 4, args);
  }
  LPXLOPER12 free[] = {&path};
  Excel12v(xlFree, nullptr, 1, free);
  return code;
}

}  // namespace

extern "C" __declspec(dllexport) void WINAPI Later(double x, LPXLOPER12 handle) {
  XLOPER12 number{};
  number.xltype = xltypeNum;
  number.val.num = x;
  AcquireSRWLockExclusive(&waitingLock);
  waiting.push_back(*handle);
  waiting.push_back(number);
  const bool wakes = asleep;
  asleep = false;
  ReleaseSRWLockExclusive(&waitingLock);
  if (wakes) WakeConditionVariable(&wake);
}

extern "C" __declspec(dllexport) int WINAPI xlAutoClose() {
  AcquireSRWLockExclusive(&waitingLock);
  stopping = true;
  ReleaseSRWLockExclusive(&waitingLock);
  WakeConditionVariable(&wake);
  WaitForSingleObject(worker, INFINITE);
  CloseHandle(worker);
  return 1;
}

extern "C" __declspec(dllexport) int WINAPI xlAutoOpen() {
  worker = CreateThread(nullptr, 0, AnswerLater, nullptr, 0, nullptr);
  return RegisterAll() == xlretSuccess ? 1 : 0;
}
