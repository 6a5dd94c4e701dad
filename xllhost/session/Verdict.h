// The session's verdict and its exit status.
#pragma once

namespace xllhost {

// Prints the verdict and answers the exit status: 0 clean (saying `clean`
// of it), 1 the add-in misbehaved, 2 the session met input xllhost cannot
// interpret. What the add-in did after xllhost could not answer a call of
// its own may be its reaction to the answer it got (a message box, an entry
// answering 0): only the problems before that call make the session FAILED.
int Verdict(const char* clean = "the add-in behaved as a host expects");

}  // namespace xllhost
