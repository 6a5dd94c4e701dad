// Excel's start-up as the registry describes it: the add-ins that the values
// OPEN, OPEN1, ... of HKCU\Software\Microsoft\Office\<version>\Excel\Options
// name, in that order, up to the first missing number.
#pragma once

#include <string>

#include "session/Scenarios.h"

namespace xllhost {

// Reads the list, then plays the startup scenario with every add-in it
// names, and prints the transcript and the verdict. Answers the exit status
// as Play does. An entry xllhost cannot read is input it cannot interpret; a
// file Excel would not find, or an entry after a gap, which Excel never
// reads, is a problem.
int PlayStartupFromRegistry(const std::string& officeVersion, const SessionOptions& options);

}  // namespace xllhost
