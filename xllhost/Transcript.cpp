#include "Transcript.h"

#include "HostMemory.h"

namespace xllhost {
namespace {

bool Quiet = false;
int Problems = 0;

std::string ReturnCodeName(int code) {
  switch (code) {
    case xlretSuccess: return "ok";
    case xlretInvXlfn: return "unknown function (2)";
    case xlretInvCount: return "bad count (4)";
    case xlretInvXloper: return "wrong record type (8)";
    case xlretFailed: return "failed (32)";
    default: return "code " + std::to_string(code);
  }
}

}  // namespace

void SetQuiet(bool quiet) { Quiet = quiet; }

bool IsQuiet() { return Quiet; }

void Problem(const std::string& text) {
  ++Problems;
  std::printf("  PROBLEM: %s\n", text.c_str());
}

int ProblemCount() { return Problems; }

std::string Shown(const Value& value) {
  if (value.Is(xltypeStr)) return "\"" + value.text + "\"";
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
  for (const Value& arg : call.args) args += (args.empty() ? "" : ", ") + Shown(arg);
  std::string answer = ReturnCodeName(call.returnCode);
  if (call.hadResult) answer += ", result " + Shown(call.result);
  Say("    add-in calls %s%s -> %s\n", call.name + "(" + args + ")",
      std::string(call.via == Interface::Excel12 ? " through Excel12" : ""), answer);
  if (!call.note.empty()) Say("      %s\n", call.note);
  // A conversion may fail without fault of the add-in's; a function xllhost
  // lacks is reported as a session it cannot judge.
  bool expected = (call.xlfn == xlCoerce && call.returnCode == xlretFailed) || call.returnCode == xlretInvXlfn;
  if (call.returnCode != xlretSuccess && !expected) Problem(call.name + " failed: " + answer);
}

void CheckEntry(const char* entry, int answer) {
  Say("    %s answers %s\n", std::string(entry), std::to_string(answer));
  if (answer != 1) Problem(std::string(entry) + " answered " + std::to_string(answer) + ", not 1");
}

void CheckStringsGivenBack(const char* when) {
  if (OutstandingHostMemory() != 0)
    Problem(std::to_string(OutstandingHostMemory()) + " host string(s) not given back " + when);
}

}  // namespace xllhost
