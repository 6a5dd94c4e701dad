// xllhost's reader of an entry of Excel's start-up list, on any text: it
// accepts (a path, no reason) or refuses (a reason), never both nor neither,
// and an entry it accepts, written out again, reads the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "readers/StartupEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  xllhost::StartupIndex(text);
  const xllhost::StartupEntry entry = xllhost::ReadStartupEntry(text);
  if (entry.wrong.empty() == entry.path.empty() && entry.wrong.empty()) std::abort();  // neither
  if (!entry.wrong.empty()) return 0;
  std::string written;
  for (const std::string& s : entry.switches) written += s + " ";
  written += "\"" + entry.path + "\"";
  if (entry.path.find('"') != std::string::npos) return 0;  // a quote cannot be written inside quotes
  const xllhost::StartupEntry again = xllhost::ReadStartupEntry(written);
  if (!again.wrong.empty() || again.path != entry.path || again.switches != entry.switches) std::abort();
  return 0;
}
