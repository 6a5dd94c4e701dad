// xlsx-cells BOOK OUT: reads a workbook Excel saved (.xlsx or .xlsm) and
// writes its cells in xllhost's text form to OUT. Built for Linux, as the
// command that starts xllhost runs it before Wine does. A read that takes
// more than 2 seconds tells its progress on standard error; a file it
// cannot read is one line there and status 2.
#include <chrono>
#include <cstdio>
#include <string>

#include "readers/Xlsx.h"

namespace {

int Fail(const std::string& why) {
  std::fprintf(stderr, "xlsx-cells: %s\n", why.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return Fail("usage: xlsx-cells BOOK.xlsx OUT");
  const std::string path = argv[1];
  xllhost::XlsxSource source;
  source.path = path;
  source.name = path.substr(path.find_last_of('/') + 1);
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  Clock::time_point told = start;
  source.progress = [&](std::size_t cells) {
    const Clock::time_point now = Clock::now();
    if (now - start < std::chrono::seconds(2) || now - told < std::chrono::seconds(2)) return;
    told = now;
    std::fprintf(stderr, "xlsx-cells: %s: %zu cells read\n", source.name.c_str(), cells);
  };
  std::string text, why;
  if (!xllhost::ReadXlsx(source, &text, &why)) return Fail(why);
  std::FILE* out = std::fopen(argv[2], "wb");
  if (out == nullptr) return Fail("cannot write " + std::string(argv[2]));
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  if (std::fclose(out) != 0 || !written) return Fail("cannot write " + std::string(argv[2]));
  return 0;
}
