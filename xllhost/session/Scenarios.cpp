#include "session/Scenarios.h"

#include <algorithm>
#include <cstdio>

#include "functions/AddInsHost.h"
#include "native/AddInFile.h"
#include "session/AddIn.h"
#include "session/Oracle.h"
#include "session/SessionSteps.h"
#include "session/ThreadCheck.h"
#include "session/Transcript.h"

namespace xllhost {

enum class Step {
  // Steps taken with each add-in in turn: in the list's order before the
  // first cell is calculated, in reverse after it.
  Load,
  HandOverExcel12,
  Open,
  Add,
  Remove,
  Close,
  UnregisterLeftovers,
  Unload,
  // Steps taken once for the session.
  AskName,
  AskNameWhenExpected,  // only when the Add-In Manager's name is expected of the add-in
  Calculate,
  CalculateAfterwards,
};

struct Scenario {
  const char* name;
  const char* host;  // who plays the host in the transcript
  const char* story;
  std::vector<Step> steps;
};

namespace {

// The order of each session, kept here and nowhere else. It follows
// Microsoft's reference pages of the entries: xlAutoOpen runs whenever the
// add-in is activated, at start-up too; xlAutoAdd only when the user ticks it
// in the Add-In Manager; xlAutoRemove only when the user unticks it, never at
// exit; xlAutoClose whenever it is deactivated, and after xlAutoClose Excel
// itself unregisters what the add-in left registered. The reference does not
// say whether xlAutoAdd comes before or after xlAutoOpen: xllhost calls
// xlAutoOpen first, so that xlAutoAdd finds the add-in's functions registered.
// SetExcel12EntryPt is not among the entries the reference lists for Excel
// to call, so desktop Excel is taken never to call it: only the cluster
// scenario, a host outside Excel, hands its Excel12 entry over.
using S = Step;
const Scenario Scenarios[] = {
    {"manager",
     "Excel",
     "the user ticks the add-in in the Add-In Manager, uses it and unticks it",
     {S::Load, S::Open, S::Add, S::AskName, S::Calculate, S::Remove, S::Close, S::UnregisterLeftovers, S::Unload,
      S::CalculateAfterwards}},
    {"startup",
     "Excel",
     "Excel starts with the add-in active from the last session, uses it and exits",
     {S::Load, S::Open, S::AskNameWhenExpected, S::Calculate, S::Close, S::UnregisterLeftovers, S::Unload}},
    {"cluster",
     "The host",
     "a host that runs XLLs outside Excel hands over its Excel12 entry, uses the add-in and ends",
     {S::Load, S::HandOverExcel12, S::Open, S::AskNameWhenExpected, S::Calculate, S::Close, S::UnregisterLeftovers,
      S::Unload}},
};

bool TakenWithEachAddIn(Step step) { return step < Step::AskName; }

// One session's add-ins and what the steps so far left.
struct Session {
  const Scenario& scenario;
  const SessionOptions& options;
  bool fromList;  // the add-ins come from Excel's start-up list
  std::vector<Listed> listed;
  std::vector<AddIn> addIns;  // beside listed; a module of null: not loaded
  std::vector<bool> removed;
  std::vector<SessionFormula> formulas;
};

// Answers false when the session cannot go on: the add-in given could not be loaded.
bool TakeStep(Session& s, Step step, size_t i) {
  AddIn& addIn = s.addIns[i];
  const Listed& listed = s.listed[i];
  const char* host = s.scenario.host;
  if (step != Step::Load && addIn.module == nullptr) return true;
  switch (step) {
    case Step::Load:
      addIn = Load(listed.path);
      if (addIn.module == nullptr) {
        const std::string why = WhyNotLoaded(listed.path, addIn.loadError);
        if (s.fromList) {
          Problem(listed.entry + ": Excel cannot load " + listed.path + ": " + why);
          return true;
        }
        std::fflush(stdout);  // the transcript before the message, as it was printed
        std::fprintf(stderr, "xllhost: cannot load %s: %s\n", listed.path.c_str(), why.c_str());
        return false;
      }
      if (s.fromList)
        Say(host, " loads ", listed.path, " (", listed.entry, ")\n");
      else
        Say(host, " loads the add-in\n");
      CheckEntries(addIn);
      break;
    case Step::HandOverExcel12:
      if (addIn.setExcel12EntryPt == nullptr) break;
      Say(host, " calls SetExcel12EntryPt(host's Excel12 entry)\n");
      HandOverExcel12(addIn);
      break;
    case Step::Open: CallAddInEntry(host, "xlAutoOpen", addIn.autoOpen != nullptr, Open, addIn); break;
    case Step::Add: CallAddInEntry(host, "xlAutoAdd", addIn.autoAdd != nullptr, Add, addIn); break;
    case Step::Remove:
      s.removed[i] = addIn.autoRemove != nullptr;
      CallAddInEntry(host, "xlAutoRemove", s.removed[i], xllhost::Remove, addIn);
      break;
    case Step::Close:
      if (s.fromList) Say(host, " exits: it closes ", listed.path, " (", listed.entry, ")\n");
      CallAddInEntry(host, "xlAutoClose", addIn.autoClose != nullptr, xllhost::Close, addIn);
      if (s.removed[i]) CheckTakenBack(s.formulas);
      break;
    case Step::UnregisterLeftovers: TakeBackLeftovers(host, addIn); break;
    case Step::Unload: UnloadAndCheck(host, addIn); break;
    default: break;  // the session's own steps
  }
  return true;
}

// The Add-In Manager's names. Of one add-in, each answer must be the name
// expected; of several, one add-in must show it.
void AskNames(Session& s) {
  const SessionOptions& options = s.options;
  std::vector<const AddIn*> loaded;
  for (const AddIn& addIn : s.addIns)
    if (addIn.module != nullptr) loaded.push_back(&addIn);
  if (loaded.size() == 1) {
    const AddIn& addIn = *loaded[0];
    if (addIn.addInManagerInfo == nullptr && addIn.addInManagerInfo12 == nullptr) {
      if (options.checkTitle) Problem("the add-in exports neither xlAddInManagerInfo nor xlAddInManagerInfo12");
      return;
    }
    AskName(addIn, options.checkTitle ? &options.title : nullptr);
    return;
  }
  bool shown = false;
  for (const AddIn* addIn : loaded) {
    std::vector<std::string> titles = AskName(*addIn, nullptr);
    shown = shown || std::find(titles.begin(), titles.end(), options.title) != titles.end();
  }
  if (options.checkTitle && !shown) Problem("no add-in shows " + options.title + " in the Add-In Manager");
}

void TakeSessionStep(Session& s, Step step) {
  switch (step) {
    case Step::AskNameWhenExpected:
      if (s.options.checkTitle) AskNames(s);
      break;
    case Step::AskName: AskNames(s); break;
    case Step::Calculate:
      if (s.formulas.empty()) {
        for (const AddIn& addIn : s.addIns)
          if (addIn.module != nullptr)
            for (SessionFormula& formula : RegisteredFormulas(addIn.module)) s.formulas.push_back(std::move(formula));
        if (!s.options.workbook) EnterFormulas(s.formulas, s.options);
      }
      // A call of a function nobody registered is xllhost's to judge only
      // with the add-in given: in a list, it shows #NAME?, as a worksheet does.
      KeepThreadSafeCalls(s.options.checkThreads);
      if (s.options.workbook)
        CompareWorkbook(s.options);
      else
        CalculateCells(s.formulas, s.options, &s.options, !s.fromList);
      KeepThreadSafeCalls(false);
      if (s.options.checkThreads) CheckThreads();
      break;
    case Step::CalculateAfterwards:
      if (!s.options.workbook) CalculateCells(s.formulas, s.options, nullptr, false);
      break;
    default: break;  // the add-ins' own steps
  }
}

int PlaySteps(Session& s) {
  s.addIns.resize(s.listed.size());
  s.removed.assign(s.listed.size(), false);
  s.formulas = GivenFormulas(s.options);
  if (s.options.workbook) PrepareWorkbookReports(s.options);
  const std::vector<Step>& steps = s.scenario.steps;
  bool calculated = false;
  for (size_t first = 0; first < steps.size();) {
    if (!TakenWithEachAddIn(steps[first])) {
      TakeSessionStep(s, steps[first]);
      calculated = calculated || steps[first] == Step::Calculate;
      ++first;
      continue;
    }
    size_t end = first;
    while (end < steps.size() && TakenWithEachAddIn(steps[end])) ++end;
    for (size_t n = 0; n < s.listed.size(); ++n) {
      const size_t i = calculated ? s.listed.size() - 1 - n : n;
      for (size_t step = first; step < end; ++step)
        if (!TakeStep(s, steps[step], i)) return 2;
    }
    first = end;
  }
  const int status = Verdict();
  return s.options.workbook ? WriteWorkbookReports(status) : status;
}

}  // namespace

const Scenario* FindScenario(const std::string& name) {
  for (const Scenario& scenario : Scenarios)
    if (name == scenario.name) return &scenario;
  return nullptr;
}

std::string ScenarioList() {
  std::string list;
  for (const Scenario& scenario : Scenarios) list += std::string("  ") + scenario.name + ": " + scenario.story + "\n";
  return list;
}

int Play(const Scenario& scenario, const SessionOptions& options) {
  Transcribe();
  Say("Scenario ", scenario.name, ": ", scenario.story, "\n");
  SayHost(options.addIn);
  Session session{scenario, options, false, {{"", options.addIn}}, {}, {}, {}};
  return PlaySteps(session);
}

int PlayListed(const Scenario& scenario, const SessionOptions& options, const std::vector<Listed>& addIns) {
  Session session{scenario, options, true, addIns, {}, {}, {}};
  return PlaySteps(session);
}

}  // namespace xllhost
