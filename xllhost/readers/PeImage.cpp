#include "readers/PeImage.h"

#include <algorithm>

namespace xllhost {
namespace {

// Offsets in the PE format.
constexpr size_t LfanewAt = 0x3C;            // in the DOS header: where the NT headers start
constexpr size_t FileHeaderSize = 20;        // after the 4-byte signature
constexpr size_t SectionHeaderSize = 40;
constexpr size_t ImportDescriptorSize = 20;  // the table ends with one whose name is 0
constexpr std::uint16_t Pe32Plus = 0x20B;    // the optional header of a 64-bit image
constexpr std::uint16_t FileIsDll = 0x2000;  // a characteristic of the file header
constexpr size_t ExportDirectorySize = 40;
enum Directory { Exports = 0, Imports = 1, Tls = 9, DelayImports = 13 };

class Reader {
 public:
  explicit Reader(const std::string& bytes) : bytes_(bytes) {}

  // Whether `size` bytes at `offset` lie in the file.
  bool Has(size_t offset, size_t size) const { return offset <= bytes_.size() && size <= bytes_.size() - offset; }
  std::uint32_t U16(size_t offset) const { return Byte(offset) | Byte(offset + 1) << 8; }
  std::uint32_t U32(size_t offset) const { return U16(offset) | U16(offset + 2) << 16; }
  std::uint64_t U64(size_t offset) const { return U32(offset) | std::uint64_t{U32(offset + 4)} << 32; }

  // Where the NT headers start, or 0 when the bytes are no PE image.
  size_t NtHeaders() const {
    if (!Has(0, LfanewAt + 4) || U16(0) != 0x5A4D) return 0;  // "MZ"
    const size_t nt = U32(LfanewAt);
    return nt != 0 && Has(nt, 4 + FileHeaderSize) && U32(nt) == 0x00004550 ? nt : 0;  // "PE\0\0"
  }

  std::string Read(PeImage* image) {
    const size_t nt = NtHeaders();
    if (nt == 0) return "is not a Windows DLL";
    if (!Has(nt, 4 + FileHeaderSize + 2)) return "is cut short: its headers run past the end of the file";
    image->machine = static_cast<std::uint16_t>(U16(nt + 4));
    image->characteristics = static_cast<std::uint16_t>(U16(nt + 4 + 18));
    const size_t optional = nt + 4 + FileHeaderSize;
    image->pe32Plus = U16(optional) == Pe32Plus;
    const size_t optionalSize = U16(nt + 4 + 16), count = U16(nt + 4 + 2);
    // The directories' count and the directories themselves, by the optional header's kind.
    const size_t countAt = optional + (image->pe32Plus ? 108 : 92);
    directories_ = countAt + 4;
    if (!Has(optional, std::max(optionalSize, directories_ - optional)))
      return "is cut short: its headers run past the end of the file";
    image->dllCharacteristics = static_cast<std::uint16_t>(U16(optional + 70));
    const size_t table = optional + optionalSize;
    if (count > (bytes_.size() - std::min(bytes_.size(), table)) / SectionHeaderSize || !Has(table, 0))
      return "is cut short: its section table runs past the end of the file";
    for (size_t i = 0; i < count; ++i) {
      const size_t at = table + i * SectionHeaderSize;
      sections_.push_back(Section{U32(at + 12), U32(at + 16), U32(at + 20)});
      image->sections.push_back(bytes_.substr(at, 8).c_str());
    }
    for (const Section& section : sections_)
      if (section.rawSize != 0 && !Has(section.rawAt, section.rawSize))
        return "is cut short: its sections run past the end of the file (" + std::to_string(bytes_.size()) +
               " bytes)";
    directoryCount_ = Has(countAt, 4) ? U32(countAt) : 0;
    image->tlsDirectorySize = DirectorySize(Tls);
    image->delayImportSize = DirectorySize(DelayImports);
    ReadImports(image);
    return ReadExports(image);
  }

 private:
  struct Section {
    std::uint32_t address, rawSize, rawAt;
  };
  std::uint32_t Byte(size_t offset) const { return static_cast<unsigned char>(bytes_[offset]); }

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
  // The text at a relative address up to its terminating zero; false when
  // it does not end within the file.
  bool Text(std::uint32_t rva, std::string* text) const {
    size_t at = 0;
    if (!Offset(rva, 1, &at)) return false;
    const size_t end = bytes_.find('\0', at);
    if (end == std::string::npos) return false;
    *text = bytes_.substr(at, end - at);
    return true;
  }
  bool HasDirectory(Directory which) const { return which < directoryCount_ && Has(directories_ + 8 * which, 8); }
  std::uint32_t DirectoryAddress(Directory which) const { return HasDirectory(which) ? U32(directories_ + 8 * which) : 0; }
  std::uint32_t DirectorySize(Directory which) const { return HasDirectory(which) ? U32(directories_ + 8 * which + 4) : 0; }

  std::string ReadExports(PeImage* image) const {
    const std::uint32_t exportsAt = DirectoryAddress(Exports);
    if (exportsAt == 0) return "";
    size_t at = 0;
    if (!Offset(exportsAt, ExportDirectorySize, &at)) return "has an export directory that points outside the file";
    const std::uint32_t functionCount = U32(at + 20), nameCount = U32(at + 24);
    size_t functions = 0, names = 0, ordinals = 0;
    if (!Offset(U32(at + 28), size_t{4} * functionCount, &functions) ||
        !Offset(U32(at + 32), size_t{4} * nameCount, &names) || !Offset(U32(at + 36), size_t{2} * nameCount, &ordinals))
      return "has export counts that run past the end of the file";
    image->exportBase = U32(at + 16);
    std::string text;
    for (std::uint32_t i = 0; i < nameCount; ++i) {
      size_t name = 0;
      if (!Offset(U32(names + size_t{4} * i), 1, &name)) return "has an export name that points outside the file";
      if (!Text(U32(names + size_t{4} * i), &text)) return "has an export name that runs past the end of the file";
      image->exportOrdinals[text] = image->exportBase + U16(ordinals + size_t{2} * i);
    }
    for (std::uint32_t i = 0; i < functionCount; ++i) image->exportSlots.push_back(U32(functions + size_t{4} * i));
    if (Text(U32(at + 12), &text)) image->exportName = text;
    return "";
  }

  void ReadImports(PeImage* image) const {
    const std::uint32_t importsAt = DirectoryAddress(Imports);
    const size_t thunkSize = image->pe32Plus ? 8 : 4;
    const std::uint64_t byOrdinal = std::uint64_t{1} << (8 * thunkSize - 1);
    size_t at = 0;
    for (std::uint32_t rva = importsAt; rva != 0 && Offset(rva, ImportDescriptorSize, &at); rva += ImportDescriptorSize) {
      std::string dll, name;
      if (U32(at + 12) == 0 || !Text(U32(at + 12), &dll)) return;
      std::vector<std::string>& functions = image->imports[dll];
      const std::uint32_t lookup = U32(at) != 0 ? U32(at) : U32(at + 16);  // the names, else the bound addresses
      size_t thunkAt = 0;
      for (std::uint32_t thunk = lookup; Offset(thunk, thunkSize, &thunkAt); thunk += static_cast<std::uint32_t>(thunkSize)) {
        const std::uint64_t entry = thunkSize == 8 ? U64(thunkAt) : U32(thunkAt);
        if (entry == 0) break;
        if (entry & byOrdinal)
          functions.push_back("#" + std::to_string(entry & 0xFFFF));
        else if (Text(static_cast<std::uint32_t>(entry) + 2, &name))  // past the hint
          functions.push_back(name);
      }
    }
  }

  const std::string& bytes_;
  std::vector<Section> sections_;
  size_t directories_ = 0;
  std::uint32_t directoryCount_ = 0;
};

}  // namespace

std::string WhyNoDll(const std::string& bytes, std::uint16_t* machine) {
  const Reader reader(bytes);
  const size_t nt = reader.NtHeaders();
  if (nt == 0) return "is not a Windows DLL";
  *machine = static_cast<std::uint16_t>(reader.U16(nt + 4));
  if ((reader.U16(nt + 4 + 18) & FileIsDll) == 0) return "is a Windows program, not a DLL";
  return "";
}

std::string ReadPeImage(const std::string& bytes, PeImage* image) { return Reader(bytes).Read(image); }

std::string WhyDamaged(const std::string& bytes) {
  PeImage image;
  return ReadPeImage(bytes, &image);
}

}  // namespace xllhost
