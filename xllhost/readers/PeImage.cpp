#include "readers/PeImage.h"

#include <algorithm>
#include <vector>

namespace xllhost {
namespace {

// Offsets in the PE format.
constexpr size_t LfanewAt = 0x3C;            // in the DOS header: where the NT headers start
constexpr size_t FileHeaderSize = 20;        // after the 4-byte signature
constexpr size_t SectionHeaderSize = 40;
constexpr std::uint16_t Pe32Plus = 0x20B;  // the optional header of a 64-bit image
constexpr std::uint16_t FileIsDll = 0x2000;  // a characteristic of the file header
constexpr size_t ExportDirectorySize = 40;

class Image {
 public:
  explicit Image(const std::string& bytes) : bytes_(bytes) {}

  // Whether `size` bytes at `offset` lie in the file.
  bool Has(size_t offset, size_t size) const { return offset <= bytes_.size() && size <= bytes_.size() - offset; }
  std::uint32_t U16(size_t offset) const { return Byte(offset) | Byte(offset + 1) << 8; }
  std::uint32_t U32(size_t offset) const { return U16(offset) | U16(offset + 2) << 16; }

  // The file offset of `size` bytes at the relative address, all in one
  // section's raw data; false when they are not in the file.
  bool Offset(std::uint32_t rva, size_t size, size_t* offset) const {
    for (const Section& section : sections_) {
      if (rva < section.address || rva - section.address >= section.rawSize) continue;
      const size_t into = rva - section.address;
      if (size > section.rawSize - into) return false;
      *offset = static_cast<size_t>(section.rawAt) + into;
      return Has(*offset, size);
    }
    return false;
  }

  std::string Check() {
    if (!Has(0, LfanewAt + 4)) return "is cut short: its headers run past the end of the file";
    const size_t nt = U32(LfanewAt);
    if (!Has(nt, 4 + FileHeaderSize + 2)) return "is cut short: its headers run past the end of the file";
    const size_t optional = nt + 4 + FileHeaderSize;
    const std::uint32_t magic = U16(optional);
    const size_t optionalSize = U16(nt + 4 + 16), count = U16(nt + 4 + 2);
    // The directories' count and the directories themselves, by the optional header's kind.
    const size_t countAt = optional + (magic == Pe32Plus ? 108 : 92), directories = countAt + 4;
    if (!Has(optional, std::max(optionalSize, directories - optional)))
      return "is cut short: its headers run past the end of the file";
    const size_t table = optional + optionalSize;
    if (count > (bytes_.size() - std::min(bytes_.size(), table)) / SectionHeaderSize || !Has(table, 0))
      return "is cut short: its section table runs past the end of the file";
    for (size_t i = 0; i < count; ++i) {
      const size_t at = table + i * SectionHeaderSize;
      sections_.push_back(Section{U32(at + 12), U32(at + 16), U32(at + 20)});
    }
    for (const Section& section : sections_)
      if (section.rawSize != 0 && !Has(section.rawAt, section.rawSize))
        return "is cut short: its sections run past the end of the file (" + std::to_string(bytes_.size()) +
               " bytes)";
    if (U32(countAt) == 0 || !Has(directories, 8)) return "";
    const std::uint32_t exportsAt = U32(directories);  // the first directory: the exports
    if (exportsAt == 0) return "";
    size_t at = 0;
    if (!Offset(exportsAt, ExportDirectorySize, &at)) return "has an export directory that points outside the file";
    const std::uint32_t functionCount = U32(at + 20), nameCount = U32(at + 24);
    size_t functions = 0, names = 0, ordinals = 0;
    if (!Offset(U32(at + 28), size_t{4} * functionCount, &functions) ||
        !Offset(U32(at + 32), size_t{4} * nameCount, &names) || !Offset(U32(at + 36), size_t{2} * nameCount, &ordinals))
      return "has export counts that run past the end of the file";
    for (std::uint32_t i = 0; i < nameCount; ++i) {
      size_t name = 0;
      if (!Offset(U32(names + size_t{4} * i), 1, &name)) return "has an export name that points outside the file";
      if (bytes_.find('\0', name) == std::string::npos) return "has an export name that runs past the end of the file";
    }
    return "";
  }

 private:
  struct Section {
    std::uint32_t address, rawSize, rawAt;
  };
  std::uint32_t Byte(size_t offset) const { return static_cast<unsigned char>(bytes_[offset]); }

  const std::string& bytes_;
  std::vector<Section> sections_;
};

}  // namespace

std::string WhyNoDll(const std::string& bytes, std::uint16_t* machine) {
  const Image image(bytes);
  if (!image.Has(0, LfanewAt + 4) || image.U16(0) != 0x5A4D) return "is not a Windows DLL";  // "MZ"
  const size_t nt = image.U32(LfanewAt);
  if (!image.Has(nt, 4 + FileHeaderSize) || image.U32(nt) != 0x00004550) return "is not a Windows DLL";  // "PE\0\0"
  *machine = static_cast<std::uint16_t>(image.U16(nt + 4));
  if ((image.U16(nt + 4 + 18) & FileIsDll) == 0) return "is a Windows program, not a DLL";
  return "";
}

std::string WhyDamaged(const std::string& bytes) { return Image(bytes).Check(); }

}  // namespace xllhost
