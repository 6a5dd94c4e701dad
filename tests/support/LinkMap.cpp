#include "LinkMap.h"

#include <cstdlib>
#include <sstream>
#include <utility>

namespace {

const char* const Kinds[] = {".ctors", ".dtors", ".init_array", ".fini_array", ".CRT$", ".tls"};

// The name and size of the input section a line lists, if it lists one.
// GNU ld: " .name ADDRESS SIZE file", a long name alone on its line with
// address and size on the next. lld: "ADDRESS SIZE ALIGN file:(.name)".
bool InputSection(const std::string& line, std::string& pending, std::string& name, std::string& size) {
  std::istringstream fields(line);
  std::string address, align;
  size_t open = line.find(":(");
  if (open != std::string::npos && !line.empty() && line.back() == ')') {
    name = line.substr(open + 2, line.size() - open - 3);
    fields >> address >> size >> align;
    return true;
  }
  if (line.rfind(" .", 0) == 0) {
    fields >> name >> address >> size;
    if (!address.empty()) return true;
    pending = name;
    return false;
  }
  if (pending.empty()) return false;
  name = std::exchange(pending, "");
  fields >> address >> size;
  return true;
}

}  // namespace

LinkMapReading ReadLinkMap(std::istream& map) {
  LinkMapReading reading;
  std::string line, pending, name, size;
  while (std::getline(map, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!InputSection(line, pending, name, size)) continue;
    ++reading.inputSections;
    for (const char* kind : Kinds)
      if (name.rfind(kind, 0) == 0 && std::strtoull(size.c_str(), nullptr, 16) != 0) reading.offending.push_back(line);
  }
  return reading;
}
