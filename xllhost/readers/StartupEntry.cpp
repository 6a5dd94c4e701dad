#include "readers/StartupEntry.h"

#include <cctype>

namespace xllhost {

int StartupIndex(const std::string& name) {
  const std::string open = "OPEN";
  if (name.size() < open.size()) return -1;
  for (size_t i = 0; i < open.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(name[i])) != open[i]) return -1;
  const std::string digits = name.substr(open.size());
  if (digits.empty()) return 0;
  // A leading zero names another value, and more than six digits no entry a list could reach.
  if (digits[0] == '0' || digits.size() > 6) return -1;
  int index = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return -1;
    index = index * 10 + (c - '0');
  }
  return index;
}

StartupEntry ReadStartupEntry(const std::string& text) {
  StartupEntry entry;
  size_t at = 0;
  auto blanks = [&] {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  };
  for (blanks(); at < text.size() && text[at] == '/'; blanks()) {
    const size_t end = text.find_first_of(" \t", at);
    entry.switches.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
    at = end == std::string::npos ? text.size() : end;
  }
  if (at < text.size() && text[at] == '"') {
    const size_t close = text.find('"', at + 1);
    if (close == std::string::npos) {
      entry.path = text.substr(at + 1);
      entry.wrong = "whose path has no closing quote";
      return entry;
    }
    entry.path = text.substr(at + 1, close - at - 1);
    at = close + 1;
    blanks();
    if (at < text.size()) entry.wrong = "which has more after its quoted path";
  } else {
    entry.path = text.substr(at);
    while (!entry.path.empty() && (entry.path.back() == ' ' || entry.path.back() == '\t')) entry.path.pop_back();
  }
  if (entry.wrong.empty() && entry.path.empty()) entry.wrong = "which names no file";
  return entry;
}

bool IsBareFileName(const std::string& path) { return path.find_first_of("\\/:") == std::string::npos; }

}  // namespace xllhost
