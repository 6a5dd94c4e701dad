#include "builtins/Characters.h"

namespace xllhost {

size_t Utf16Length(const std::string& text) {
  size_t units = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) ++units;
    if ((c & 0xF8) == 0xF0) ++units;
  }
  return units;
}

std::string Characters(const std::string& text, size_t first, size_t count) {
  size_t at = 0, character = 0, begin = text.size();
  for (; at < text.size(); ++at) {
    if ((static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) continue;
    if (character == first) begin = at;
    if (character >= first && character - first == count) break;
    ++character;
  }
  return begin >= text.size() ? "" : text.substr(begin, at - begin);
}

bool IsAscii(const std::string& text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace xllhost
