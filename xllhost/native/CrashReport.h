// Turns a crash into a failed run.
#pragma once

namespace xllhost {

// From now on a crash anywhere in the process (an add-in's, most likely) ends
// it with exit status 3 after saying what happened, instead of leaving the
// verdict to a debugger that may report success.
void ExitOnCrash();

}  // namespace xllhost
