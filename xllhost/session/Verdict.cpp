#include "session/Verdict.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "session/Transcript.h"
#include "state/Calls.h"

namespace xllhost {
namespace {

// A problem found after the verdict still decides the exit status: the
// process ends at once with status 1.
void LateProblem(const char* text) {
  std::printf("  PROBLEM after the verdict: %s\nSession FAILED: a problem after the verdict.\n", text);
  std::fflush(stdout);
  TerminateProcess(GetCurrentProcess(), 1);
}

}  // namespace

int Verdict(const char* clean) {
  AfterVerdict(LateProblem);
  for (const std::string& fault : Faults()) Problem(fault);
  // The add-in's problems stand even where xllhost met what it cannot
  // interpret, unless they came after a call xllhost could not answer.
  const size_t unusable = UnusableInput().size();
  if (unusable != 0 && ProblemsBeforeUnanswerable() == 0) {
    if (ProblemCount() == 0)
      std::printf("Session not judged: xllhost met what it cannot interpret (%zu).\n", unusable);
    else
      std::printf("Session not judged: xllhost met what it cannot interpret (%zu); the %d problem(s) after it may be "
                  "the add-in's reaction to the answer it got.\n",
                  unusable, ProblemCount());
    return 2;
  }
  if (unusable != 0) {
    std::printf("Session FAILED: %d problem(s); xllhost also met what it cannot interpret (%zu).\n", ProblemCount(),
                unusable);
    return 1;
  }
  if (ProblemCount() == 0) {
    std::printf("Session clean: %s.\n", clean);
    return 0;
  }
  std::printf("Session FAILED: %d problem(s).\n", ProblemCount());
  return 1;
}

}  // namespace xllhost
