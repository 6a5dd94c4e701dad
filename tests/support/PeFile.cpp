#include "PeFile.h"

#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

struct Image {
  std::vector<unsigned char> bytes;
  std::vector<IMAGE_SECTION_HEADER> sections;

  // File offset of a relative virtual address, or 0 when no section holds it.
  std::size_t Offset(std::uint32_t rva) const {
    for (const IMAGE_SECTION_HEADER& s : sections)
      if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.Misc.VirtualSize)
        return rva - s.VirtualAddress + s.PointerToRawData;
    return 0;
  }
  template <typename T>
  T At(std::size_t offset) const {
    T value{};
    if (offset + sizeof(T) <= bytes.size()) std::memcpy(&value, &bytes[offset], sizeof(T));
    return value;
  }
  std::string Text(std::uint32_t rva) const {
    std::size_t offset = Offset(rva);
    std::string text;
    while (offset != 0 && offset < bytes.size() && bytes[offset] != 0) text += static_cast<char>(bytes[offset++]);
    return text;
  }
};

void ReadExports(const Image& image, const IMAGE_DATA_DIRECTORY& directory, PeFile& pe) {
  if (directory.VirtualAddress == 0) return;
  auto exports = image.At<IMAGE_EXPORT_DIRECTORY>(image.Offset(directory.VirtualAddress));
  pe.exportName = image.Text(exports.Name);
  pe.exportBase = exports.Base;
  for (DWORD i = 0; i < exports.NumberOfFunctions; ++i)
    pe.exportSlots.push_back(image.At<std::uint32_t>(image.Offset(exports.AddressOfFunctions) + 4 * i));
  for (DWORD i = 0; i < exports.NumberOfNames; ++i) {
    auto nameRva = image.At<std::uint32_t>(image.Offset(exports.AddressOfNames) + 4 * i);
    auto index = image.At<std::uint16_t>(image.Offset(exports.AddressOfNameOrdinals) + 2 * i);
    pe.exportOrdinals[image.Text(nameRva)] = exports.Base + index;
  }
}

template <typename Thunk, std::uint64_t OrdinalFlag>
void ReadImports(const Image& image, const IMAGE_DATA_DIRECTORY& directory, PeFile& pe) {
  if (directory.VirtualAddress == 0) return;
  for (std::size_t at = image.Offset(directory.VirtualAddress);; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    auto import = image.At<IMAGE_IMPORT_DESCRIPTOR>(at);
    if (import.Name == 0) break;
    std::vector<std::string>& functions = pe.imports[image.Text(import.Name)];
    std::uint32_t thunks = import.OriginalFirstThunk != 0 ? import.OriginalFirstThunk : import.FirstThunk;
    for (std::size_t t = image.Offset(thunks);; t += sizeof(Thunk)) {
      auto thunk = image.At<Thunk>(t);
      if (thunk == 0) break;
      if ((thunk & OrdinalFlag) != 0) {
        functions.push_back("#" + std::to_string(thunk & 0xFFFF));
      } else {
        functions.push_back(image.Text(static_cast<std::uint32_t>(thunk) + 2));  // past the hint
      }
    }
  }
}

}  // namespace

PeFile ReadPeFile(const std::string& path) {
  PeFile pe;
  Image image;
  std::ifstream file(path, std::ios::binary);
  image.bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  auto dos = image.At<IMAGE_DOS_HEADER>(0);
  if (dos.e_magic != IMAGE_DOS_SIGNATURE || image.At<DWORD>(dos.e_lfanew) != IMAGE_NT_SIGNATURE) return pe;

  std::size_t fileHeaderAt = dos.e_lfanew + sizeof(DWORD);
  auto fileHeader = image.At<IMAGE_FILE_HEADER>(fileHeaderAt);
  std::size_t optionalAt = fileHeaderAt + sizeof(IMAGE_FILE_HEADER);
  std::size_t sectionsAt = optionalAt + fileHeader.SizeOfOptionalHeader;
  for (int i = 0; i < fileHeader.NumberOfSections; ++i) {
    image.sections.push_back(image.At<IMAGE_SECTION_HEADER>(sectionsAt + i * sizeof(IMAGE_SECTION_HEADER)));
    const BYTE* name = image.sections.back().Name;
    pe.sections.emplace_back(reinterpret_cast<const char*>(name), strnlen(reinterpret_cast<const char*>(name), 8));
  }

  pe.machine = fileHeader.Machine;
  pe.characteristics = fileHeader.Characteristics;
  pe.pe32Plus = image.At<WORD>(optionalAt) == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
  if (pe.pe32Plus) {
    auto optional = image.At<IMAGE_OPTIONAL_HEADER64>(optionalAt);
    pe.dllCharacteristics = optional.DllCharacteristics;
    pe.tlsDirectorySize = optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_TLS].Size;
    pe.delayImportSize = optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT].Size;
    ReadExports(image, optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT], pe);
    ReadImports<std::uint64_t, IMAGE_ORDINAL_FLAG64>(image, optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT], pe);
  } else {
    auto optional = image.At<IMAGE_OPTIONAL_HEADER32>(optionalAt);
    pe.dllCharacteristics = optional.DllCharacteristics;
    pe.tlsDirectorySize = optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_TLS].Size;
    pe.delayImportSize = optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT].Size;
    ReadExports(image, optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT], pe);
    ReadImports<std::uint32_t, IMAGE_ORDINAL_FLAG32>(image, optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT], pe);
  }
  pe.valid = true;
  return pe;
}
