// xllhost-width FILE...: which xllhost, 32-bit or 64-bit, runs the add-in
// among the arguments, by the machine its PE header names. Prints "32" or
// "64" for the last argument that is an x86 or x64 image; when none is
// (--from-registry), XLLHOST_WIDTH, else "64". The command that starts
// xllhost picks its program by it. Built for Linux, as that command runs
// before Wine does.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "readers/PeImage.h"

namespace {

// The file's bytes when it begins as a PE image does ("MZ"); other files,
// a workbook given beside the add-in, are not read whole.
std::string ImageBytes(const char* path) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path, "rb"), std::fclose);
  std::string bytes(2, '\0');
  if (file == nullptr || std::fread(&bytes[0], 1, 2, file.get()) != 2 || bytes != "MZ") return std::string();
  char chunk[65536];
  for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file.get())) != 0;) bytes.append(chunk, got);
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  const char* asked = std::getenv("XLLHOST_WIDTH");
  const char* width = asked != nullptr && *asked != '\0' ? asked : "64";
  for (int i = 1; i < argc; ++i) {
    const std::string bytes = ImageBytes(argv[i]);
    std::uint16_t machine = 0;
    if (bytes.empty()) continue;
    xllhost::WhyNoDll(bytes, &machine);
    if (machine == xllhost::MachineI386) width = "32";
    if (machine == xllhost::MachineAmd64) width = "64";
  }
  std::puts(width);
  return 0;
}
