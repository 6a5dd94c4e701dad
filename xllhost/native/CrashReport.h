// Turns a crash into a failed run.
#pragma once

#include <windows.h>

namespace xllhost {

// From now on a crash anywhere in the process (an add-in's, most likely) ends
// it with exit status 3 after saying what happened, instead of leaving the
// verdict to a debugger that may report success.
void ExitOnCrash();

// What the run says last when it crashed, after the crash's line (given as
// `crash`) and before the process ends with status 3: the reports of the
// verdicts reached so far. It runs once, in a process the crash may have
// left broken; should it crash too, the process ends without it.
using LastWords = void (*)(const char* crash);
void OnCrash(LastWords words);

// Ends the process with status 3 after writing "xllhost: LINE" to standard
// error and saying the last words: for a crash, and for an add-in that
// does not return. Allocates nothing itself; runs the last words once.
[[noreturn]] void EndWithLastWords(const char* line);

// The name the image holding the address gives itself in its export
// directory, and where that image starts; null for an address in no image
// or one without exports.
const char* ExportedModuleName(const void* address);
const void* ImageBase(const void* address);
// The module that holds the address, by its file's name where it is a
// remembered image (an add-in xllhost loaded), else by its export
// directory's; null for an address in no image or one without exports.
const char* ModuleName(const void* address);

// Remembers where an add-in's image lies, so that a crash at an address in
// it after it was unloaded (a thread or a pointer it left behind) names it.
void RememberImage(HMODULE module, const char* path);
// The path of a remembered image that held the address and is no longer
// loaded; null for an address in a loaded image or in none remembered.
const char* ImageNoLongerLoaded(const void* address);

}  // namespace xllhost
