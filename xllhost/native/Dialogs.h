// Message boxes an add-in, or anything it loaded (its C runtime's assertion
// and abort dialogs, a debug runtime's reports), shows: caught, told and
// answered, where in Excel they wait for a person.
#pragma once

#include <string>
#include <vector>

namespace xllhost {

struct Dialog {
  std::string api;    // the function it came through, such as MessageBoxW
  std::string title, text;
  std::vector<int> buttons;  // the button ids it offers (IDOK, IDCANCEL, ...), in order
};

// The name of a button id ("OK", "Ignore", ...), and the id of a name, in
// any case; 0 for none.
const char* ButtonName(int id);
int ButtonNamed(const std::string& name);

// The button that lets the work go on: Ignore, else OK, else Cancel, else
// No, else the first offered.
int GoOnButton(const Dialog& dialog);

// From now on every message box of the process is handed to `answer`, on
// the thread that shows it, and returns the id it answers; none is shown.
// The entries of user32.dll themselves are redirected, so a box is caught
// whether the caller imported the function or looked it up at run time.
// False when they could not be redirected.
bool CatchDialogs(int (*answer)(const Dialog& dialog));

}  // namespace xllhost
