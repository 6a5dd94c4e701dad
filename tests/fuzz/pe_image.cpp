// The checks that decide whether a file can be an add-in, on any bytes:
// every read stays within the file (the sanitizers would say otherwise),
// and a file refused as no DLL is never read further.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "readers/PeImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::uint16_t machine = 0;
  const std::string notDll = xllhost::WhyNoDll(bytes, &machine);
  if (!notDll.empty()) return 0;
  const std::string damaged = xllhost::WhyDamaged(bytes);
  // A damaged image is always said to be damaged in one of the known ways.
  if (!damaged.empty() && damaged.rfind("is cut short", 0) != 0 && damaged.rfind("has an export", 0) != 0 &&
      damaged.rfind("has export counts", 0) != 0)
    std::abort();
  return 0;
}
