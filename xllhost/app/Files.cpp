#include "app/Files.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace xllhost {

std::string Extension(const std::string& file) {
  const size_t dot = file.find_last_of("./\\");
  if (dot == std::string::npos || file[dot] != '.') return "";
  std::string extension = file.substr(dot);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

bool CanWrite(const std::string& file) {
  const bool existed = static_cast<bool>(std::ifstream(file));
  const bool writable = static_cast<bool>(std::ofstream(file, std::ios::app));
  if (writable && !existed) std::remove(file.c_str());
  return writable;
}

bool ReadFile(const std::string& file, std::string& text) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

}  // namespace xllhost
