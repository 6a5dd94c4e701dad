#include "CrashReport.h"

#include <windows.h>

#include <cstdio>

#include "HostState.h"

namespace xllhost {
namespace {

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  HMODULE module = ModuleAt(record.ExceptionAddress);
  std::fprintf(stderr, "xllhost: crash: exception 0x%08lX at %p in %s\n", record.ExceptionCode, record.ExceptionAddress,
               module != nullptr ? ModulePath(module).c_str() : "unknown code");
  std::fflush(stdout);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

void ExitOnCrash() { SetUnhandledExceptionFilter(ReportCrash); }

}  // namespace xllhost
