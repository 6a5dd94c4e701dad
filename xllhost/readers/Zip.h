// The parts of a zip archive, as .xlsx and .xlsm workbooks are, read through
// libzip: each part is inflated in pieces and handed on as it comes, and one
// that inflates past a limit (a zip bomb) or fails its checksum is refused.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

struct zip;

namespace xllhost {

// No part of a workbook Excel saves comes near this; a part that inflates
// past it is refused rather than read.
constexpr std::size_t MostPartBytes = std::size_t{1} << 30;

class ZipArchive {
 public:
  // Opens the file, or the bytes (which must outlive the archive); on
  // failure answers false and says why.
  bool OpenFile(const std::string& path, std::string* why);
  bool OpenBytes(const std::string& bytes, std::string* why);

  bool Has(const std::string& part) const;
  // Hands the part's bytes to `take` piece by piece, `take` answering false
  // to stop; answers false with why when the part is missing, damaged, or
  // inflates past `most` bytes.
  bool Read(const std::string& part, const std::function<bool(const char*, std::size_t)>& take, std::string* why,
            std::size_t most = MostPartBytes) const;

 private:
  std::unique_ptr<zip, int (*)(zip*)> archive_{nullptr, nullptr};
};

}  // namespace xllhost
