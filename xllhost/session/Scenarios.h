// The sessions Excel runs with an add-in, which xllhost plays step by step.
#pragma once

#include <string>

#include "SessionSteps.h"

namespace xllhost {

struct Scenario;
// Null when no scenario has that name.
const Scenario* FindScenario(const std::string& name);
std::string ScenarioList();  // one line per scenario: its name and what it plays

// Plays the scenario with the add-in and prints the transcript and the
// verdict. Answers the exit status: 0 clean, 1 the add-in misbehaved, 2 it
// could not be loaded or the session met input xllhost cannot interpret.
int Play(const Scenario& scenario, const SessionOptions& options);

}  // namespace xllhost
