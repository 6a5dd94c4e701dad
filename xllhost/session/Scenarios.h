// The sessions Excel runs with add-ins, which xllhost plays step by step.
#pragma once

#include <string>
#include <vector>

#include "session/SessionSteps.h"

namespace xllhost {

struct Scenario;
// Null when no scenario has that name.
const Scenario* FindScenario(const std::string& name);
std::string ScenarioList();  // one line per scenario: its name and what it plays

// An add-in a session opens: the file given on the command line (no entry),
// or one that an entry of Excel's start-up list names (OPEN, OPEN1, ...).
struct Listed {
  std::string entry;
  std::string path;  // in UTF-8, as xllhost keeps every text
};

// Plays the scenario with the add-in of options.addIn and prints the
// transcript and the verdict. Answers the exit status: 0 clean, 1 the add-in
// misbehaved, 2 it could not be loaded or the session met input xllhost
// cannot interpret.
int Play(const Scenario& scenario, const SessionOptions& options);

// Plays the scenario with the add-ins of Excel's start-up list, opened in
// the list's order and closed in reverse. One Excel cannot load is a
// problem; a cell calling a function nobody registered shows #NAME?, as a
// worksheet does. Answers the exit status as Play does.
int PlayListed(const Scenario& scenario, const SessionOptions& options, const std::vector<Listed>& addIns);

}  // namespace xllhost
