#include "session/Transcript.h"

#include <algorithm>

#include "engine/Calculation.h"
#include "functions/AddInsHost.h"
#include "functions/Registrations.h"
#include "records/ThreadStorage.h"
#include "state/HostMemory.h"
#include "functions/Information.h"
#include "state/HostPart.h"

namespace xllhost {
namespace {

// The transcript's verdict.
struct TranscriptVerdict {
  bool quiet = false;
  int problems = 0;
  int problemsBeforeUnanswerable = -1;  // when the first call xllhost could not answer came
  std::vector<ProblemSeen> seen;
};
TranscriptVerdict& Said() { return HostPart<TranscriptVerdict>(); }

struct Judging {
  const FormulaCell* cell = nullptr;
};

std::string ReturnCodeName(int code) {
  switch (code) {
    case xlretSuccess: return "ok";
    case xlretInvXlfn: return "unknown function (2)";
    case xlretInvCount: return "bad count (4)";
    case xlretInvXloper: return "wrong record type (8)";
    case xlretFailed: return "failed (32)";
    case xlretUncalced: return "not calculated yet (64)";
    case xlretNotThreadSafe: return "not thread-safe (128)";
    default: return "code " + std::to_string(code);
  }
}

// Characters of UTF-8 text: bytes that do not continue a sequence.
size_t Characters(const std::string& text, size_t end) {
  size_t count = 0;
  for (size_t i = 0; i < end; ++i) count += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
  return count;
}

// A text with the bytes no line can show written as \xNN.
std::string Escaped(const std::string& text) {
  std::string escaped;
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7F) {
      char code[5];
      std::snprintf(code, sizeof code, "\\x%02X", c);
      escaped += code;
    } else {
      escaped += static_cast<char>(c);
    }
  }
  return escaped;
}

// Where this thread's lines go while its cell waits for its turn.
struct Held {
  HeldTranscript* transcript = nullptr;
};
HeldTranscript*& Holding() { return ThreadOwn<Held>().transcript; }

}  // namespace

void HoldTranscript(HeldTranscript* held) { Holding() = held; }

void SayLine(const std::string& line) {
  if (HeldTranscript* held = Holding())
    held->said.push_back({false, line});
  else
    std::fwrite(line.data(), 1, line.size(), stdout);
}

std::string ThreadName(int thread) {
  return thread == 1 ? "main thread" : "calculation thread " + std::to_string(thread - 1);
}

void SayHeld(HeldTranscript& held, const std::string& thread) {
  for (const HeldTranscript::Said& said : held.said) {
    if (said.problem) {
      Problem(said.text);
      continue;
    }
    std::string marked;
    for (size_t start = 0; start < said.text.size();) {
      size_t end = said.text.find('\n', start);
      end = end == std::string::npos ? said.text.size() : end + 1;
      const size_t indent = said.text.find_first_not_of(' ', start);
      const size_t text = indent < end ? indent : end;
      marked.append(said.text, start, text - start).append("[" + thread + "] ").append(said.text, text, end - text);
      start = end;
    }
    std::fwrite(marked.data(), 1, marked.size(), stdout);
  }
  held.said.clear();
}

void SetQuiet(bool quiet) { Said().quiet = quiet; }

bool IsQuiet() { return Said().quiet; }

void Problem(const std::string& text) {
  if (HeldTranscript* held = Holding()) return held->said.push_back({true, text});
  ++Said().problems;
  // Said of the workbook cell being judged, labelled only now: most cells raise none.
  const FormulaCell* cell = JudgingOnThread();
  Said().seen.push_back({text, cell ? Where(Book(), *cell) : "",
                                  cell ? AddInFunctionOf(Book(), AddInsHost(), *cell) : ""});
  SayLine("  PROBLEM: " + text + "\n");
}

void ProblemOfCells(const std::string& text) {
  Problem(text);
  Said().seen.back().ofCells = true;
}

int ProblemCount() { return Said().problems; }

int ProblemsBeforeUnanswerable() {
  if (!UnanswerableSeen()) return Said().problems;
  return std::max(Said().problemsBeforeUnanswerable, 0) + static_cast<int>(FaultsBeforeUnanswerable());
}

const std::vector<ProblemSeen>& ProblemsSeen() { return Said().seen; }

const FormulaCell*& JudgingOnThread() { return ThreadOwn<Judging>().cell; }

void CannotInterpret(const std::string& why) {
  if (UnanswerableSeen() && Said().problemsBeforeUnanswerable < 0) Said().problemsBeforeUnanswerable = Said().problems;
  SayLine("  CANNOT INTERPRET: " + why + "\n");
  std::fflush(stdout);  // the transcript before the message, as it was printed
  std::fprintf(stderr, "xllhost: %s\n", why.c_str());
}

std::string Shown(const Value& value) {
  if (value.Is(xltypeStr)) return "\"" + Escaped(value.text) + "\"";
  if (!value.Is(xltypeMulti)) return Display(value);
  std::string shown = "{";
  for (size_t i = 0; i < value.elements.size(); ++i) {
    if (i != 0) shown += static_cast<int>(i) % value.columns == 0 ? ";" : ",";
    shown += Shown(value.elements[i]);
  }
  return shown + "}";
}

void PrintCall(const HostCall& call) {
  std::string args;
  for (size_t i = 0; i < call.args.size(); ++i) {
    const Value& arg = call.args[i];
    args += (args.empty() ? "" : ", ") + Shown(arg);
    if (call.xlfn != xlFree) CheckCounts(arg, "a call of " + call.name);
  }
  std::string answer = ReturnCodeName(call.returnCode);
  if (call.hadResult) answer += ", result " + Shown(call.result);
  Say("    add-in calls ", call.name, "(", args, ")", call.via == Interface::Excel12 ? " through Excel12" : "", " -> ",
      answer, "\n");
  if (!call.note.empty()) Say("      ", call.note, "\n");
  // A conversion may fail without fault of the add-in's, and so may a read
  // of a cell not yet calculated; a call that failed on what xllhost cannot
  // interpret (a function it lacks, a record it does not know) is the
  // host's to report, not the add-in's problem.
  bool expected = (call.xlfn == xlCoerce && (call.returnCode == xlretFailed || call.returnCode == xlretUncalced)) ||
                  call.notInterpreted;
  if (!call.refused.empty())
    Problem(call.refused);
  else if (call.returnCode != xlretSuccess && !expected)
    Problem(call.name + " failed: " + answer);
}

// Only a character after a NUL is a fault: a count that includes the NUL
// ending the text is taken as Excel takes it, up to the NUL.
void CheckCounts(const Value& value, const std::string& who) {
  if (size_t nul = value.text.find('\0'); value.Is(xltypeStr) && nul != std::string::npos && !CountsItsNul(value.text))
    Problem(who + " handed over a string whose count runs past its text: character " +
            std::to_string(Characters(value.text, nul) + 1) + " of the " +
            std::to_string(Characters(value.text, value.text.size())) + " it counts is a NUL");
  for (const Value& element : value.elements) CheckCounts(element, who);
}

void CheckEntry(const char* entry, int answer) {
  Say("    ", entry, " answers ", std::to_string(answer), "\n");
  if (answer != 1) Problem(std::string(entry) + " answered " + std::to_string(answer) + ", not 1");
}

void CheckHostMemoryGivenBack(const std::string& when, const std::string* taker) {
  for (const std::string& line : HostMemoryNotGivenBack(taker)) Problem(line + " " + when);
}

}  // namespace xllhost
