// What xllhost prints while it plays a session, and the problems it finds.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "state/Calls.h"
#include "workbook/Workbook.h"

namespace xllhost {

// Prints one line of the transcript, unless the run is quiet: its parts in
// order, each a text (a number is made text by its caller), the last ending
// the line.
template <typename... Parts>
void Say(const Parts&... parts);

// What a thread says while it calculates a cell ahead of the cell's turn,
// held to be said in the cell's turn: lines, and problems not yet counted.
struct HeldTranscript {
  struct Said {
    bool problem;
    std::string text;
  };
  std::vector<Said> said;
};
// From now on, what this thread says goes into `held`; with null, out again.
void HoldTranscript(HeldTranscript* held);
// Says what was held, each line marked with the thread that said it (as
// "[calculation thread 1]"), and raises its problems, and empties it.
void SayHeld(HeldTranscript& held, const std::string& thread);
// "main thread" for the thread numbered 1 (CalculationSteps), "calculation
// thread K" for the K-th of the others.
std::string ThreadName(int thread);
// Writes a line of the transcript, or holds it.
void SayLine(const std::string& line);

void SetQuiet(bool quiet);
bool IsQuiet();

// A misbehaviour of the add-in: printed even in a quiet run, and counted.
// Kept with the workbook cell being judged, if any, for the reports.
void Problem(const std::string& text);
// The problem that counts the workbook's cells that differ from Excel.
void ProblemOfCells(const std::string& text);
int ProblemCount();
// The problems found before the first call xllhost could not answer
// (Unanswerable), the faults among them; all of them when none came.
int ProblemsBeforeUnanswerable();
// Every problem, with the workbook cell being judged when it arose, for the reports.
struct ProblemSeen {
  std::string text;
  std::string cell;      // "Sheet!A1", or empty outside a workbook cell
  std::string function;  // the add-in's function the cell calls, as registered
  bool ofCells = false;  // a count of the cells that differ, each its own failure
};
const std::vector<ProblemSeen>& ProblemsSeen();
// The workbook cell being judged on this thread, of which a problem is
// said; null outside one.
const FormulaCell*& JudgingOnThread();
// Input xllhost cannot interpret, told where it was met: printed even in a
// quiet run, and said on standard error too.
void CannotInterpret(const std::string& why);

// A value as the transcript shows it: text in quotes, everything else as a cell shows it.
std::string Shown(const Value& value);
// A counted string whose count runs past its text, into bytes after a NUL,
// is a problem of `who`; the transcript shows all the count claims.
void CheckCounts(const Value& value, const std::string& who);
// Prints a call the add-in made into the host; a failed call is a problem.
void PrintCall(const HostCall& call);
// Prints an entry's answer; anything but 1 is a problem.
void CheckEntry(const char* entry, int answer);
// Host memory not given back is charged to what took it (see
// ChargeHostMemoryTo); with `taker`, only that one's is checked.
void CheckHostMemoryGivenBack(const std::string& when, const std::string* taker = nullptr);

template <typename... Parts>
void Say(const Parts&... parts) {
  if (IsQuiet()) return;
  std::string line;
  (line.append(std::string_view(parts)), ...);
  SayLine(line);
}

}  // namespace xllhost
