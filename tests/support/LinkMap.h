// A linker's map of the add-in, read for what would need the C runtime's
// start-up: constructor tables and thread-local data. Reads GNU ld's map and
// lld's (both its drivers, ld.lld for MinGW and lld-link), whose input
// sections are listed differently.
#pragma once

#include <istream>
#include <string>
#include <vector>

struct LinkMapReading {
  int inputSections = 0;              // none means the format was not understood
  std::vector<std::string> offending;  // non-empty input sections of those kinds, one line each
};

LinkMapReading ReadLinkMap(std::istream& map);
