// One value of Excel's start-up list, read as xllhost models Excel reading
// it: the values OPEN, OPEN1, OPEN2, ... of
// HKCU\Software\Microsoft\Office\<version>\Excel\Options, each optional
// switches (/R: read-only) then the path of the add-in, in quotes when it
// has spaces. This reader is xllhost's own, written apart from the
// installer's, so that a test of the one checks the other.
#pragma once

#include <string>
#include <vector>

namespace xllhost {

// The number of a start-up value's name: 0 for OPEN, n for OPENn, -1 for a
// name Excel does not read as an entry (names ignore case; OPEN01 is none).
int StartupIndex(const std::string& name);

struct StartupEntry {
  std::vector<std::string> switches;  // as written, such as /R
  std::string path;                   // without its quotes
  std::string wrong;                  // why xllhost cannot tell what Excel opens; empty when it can
};

// Reads an entry's text (UTF-8, REG_EXPAND_SZ already expanded).
StartupEntry ReadStartupEntry(const std::string& text);

// Whether the path names a file without a folder, which Excel looks for in
// the user's add-ins folder.
bool IsBareFileName(const std::string& path);

}  // namespace xllhost
