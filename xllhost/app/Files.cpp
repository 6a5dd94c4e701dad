#include "app/Files.h"

#include <cctype>
#include <filesystem>
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

// Files are named in UTF-8, as the program keeps every text.
bool CanWrite(const std::string& file) {
  const std::filesystem::path path = std::filesystem::u8path(file);
  const bool existed = static_cast<bool>(std::ifstream(path));
  const bool writable = static_cast<bool>(std::ofstream(path, std::ios::app));
  std::error_code ignored;
  if (writable && !existed) std::filesystem::remove(path, ignored);
  return writable;
}

bool ReadFile(const std::string& file, std::string& text) {
  std::ifstream in(std::filesystem::u8path(file), std::ios::binary);
  if (!in) return false;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

}  // namespace xllhost
