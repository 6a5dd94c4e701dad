#include "AddInFile.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <vector>

namespace xllhost {

namespace {

// A PE file of this host's width as the loader and GetProcAddress read it:
// the headers, the sections' raw data, and the export directory, each
// checked to lie within the file before anything is read through it.
class ImageFile {
 public:
  explicit ImageFile(const std::vector<char>& bytes) : bytes_(bytes) {}

  template <typename T>
  const T* At(size_t offset, size_t count = 1) const {
    if (offset > bytes_.size() || count > (bytes_.size() - offset) / sizeof(T)) return nullptr;
    return reinterpret_cast<const T*>(bytes_.data() + offset);
  }
  // The file offset of `size` bytes at the relative address, all in one
  // section's raw data; false when they are not in the file.
  bool Offset(DWORD rva, size_t size, size_t* offset) const {
    for (const IMAGE_SECTION_HEADER& section : sections_) {
      if (rva < section.VirtualAddress || rva - section.VirtualAddress >= section.SizeOfRawData) continue;
      const size_t into = rva - section.VirtualAddress;
      if (size > section.SizeOfRawData - into) return false;
      *offset = section.PointerToRawData + into;
      return *offset <= bytes_.size() && size <= bytes_.size() - *offset;
    }
    return false;
  }
  // Why the image is damaged, or an empty text.
  std::string Check() {
    const auto* dos = At<IMAGE_DOS_HEADER>(0);
    const auto* nt = dos != nullptr && dos->e_lfanew >= 0 ? At<IMAGE_NT_HEADERS>(static_cast<size_t>(dos->e_lfanew))
                                                          : nullptr;
    if (nt == nullptr) return "is cut short: its headers run past the end of the file";
    const size_t table = static_cast<size_t>(dos->e_lfanew) + offsetof(IMAGE_NT_HEADERS, OptionalHeader) +
                         nt->FileHeader.SizeOfOptionalHeader;
    const auto* sections = At<IMAGE_SECTION_HEADER>(table, nt->FileHeader.NumberOfSections);
    if (sections == nullptr) return "is cut short: its section table runs past the end of the file";
    sections_.assign(sections, sections + nt->FileHeader.NumberOfSections);
    for (const IMAGE_SECTION_HEADER& section : sections_)
      if (section.SizeOfRawData != 0 &&
          (section.PointerToRawData > bytes_.size() || section.SizeOfRawData > bytes_.size() - section.PointerToRawData))
        return "is cut short: its sections run past the end of the file (" + std::to_string(bytes_.size()) +
               " bytes)";
    if (nt->OptionalHeader.NumberOfRvaAndSizes <= IMAGE_DIRECTORY_ENTRY_EXPORT) return "";
    const IMAGE_DATA_DIRECTORY& exports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (exports.VirtualAddress == 0) return "";
    size_t at = 0;
    if (!Offset(exports.VirtualAddress, sizeof(IMAGE_EXPORT_DIRECTORY), &at))
      return "has an export directory that points outside the file";
    const auto& directory = *At<IMAGE_EXPORT_DIRECTORY>(at);
    const std::string counts = "has export counts that run past the end of the file";
    size_t functions = 0, names = 0, ordinals = 0;
    if (!Offset(directory.AddressOfFunctions, size_t{4} * directory.NumberOfFunctions, &functions) ||
        !Offset(directory.AddressOfNames, size_t{4} * directory.NumberOfNames, &names) ||
        !Offset(directory.AddressOfNameOrdinals, size_t{2} * directory.NumberOfNames, &ordinals))
      return counts;
    for (DWORD i = 0; i < directory.NumberOfNames; ++i) {
      size_t name = 0;
      const DWORD rva = At<DWORD>(names)[i];
      if (!Offset(rva, 1, &name)) return "has an export name that points outside the file";
      if (std::find(bytes_.begin() + static_cast<std::ptrdiff_t>(name), bytes_.end(), '\0') == bytes_.end())
        return "has an export name that runs past the end of the file";
    }
    return "";
  }

 private:
  const std::vector<char>& bytes_;
  std::vector<IMAGE_SECTION_HEADER> sections_;
};

// Why a file whose headers name a DLL of this width is damaged, or empty.
std::string WhyDamaged(const std::vector<char>& bytes) { return ImageFile(bytes).Check(); }

}  // namespace

std::string WhyNotAnAddIn(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? "is not found" : "cannot be read";
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return "is a folder, not a DLL";
  std::ifstream file(path, std::ios::binary);
  if (!file) return "cannot be read";
  IMAGE_DOS_HEADER dos{};
  DWORD signature = 0;
  IMAGE_FILE_HEADER header{};
  file.read(reinterpret_cast<char*>(&dos), sizeof dos);
  if (!file || dos.e_magic != IMAGE_DOS_SIGNATURE) return "is not a Windows DLL";
  file.seekg(dos.e_lfanew);
  file.read(reinterpret_cast<char*>(&signature), sizeof signature);
  file.read(reinterpret_cast<char*>(&header), sizeof header);
  if (!file || signature != IMAGE_NT_SIGNATURE) return "is not a Windows DLL";
  if ((header.Characteristics & IMAGE_FILE_DLL) == 0) return "is a Windows program, not a DLL";
#ifdef _WIN64
  const WORD own = IMAGE_FILE_MACHINE_AMD64;
  const char* other = "is a 32-bit XLL, for 32-bit Excel: run it with the 32-bit xllhost (build/mingw-i686/bin)";
  const WORD otherMachine = IMAGE_FILE_MACHINE_I386;
#else
  const WORD own = IMAGE_FILE_MACHINE_I386;
  const char* other = "is a 64-bit XLL, for 64-bit Excel: run it with the 64-bit xllhost (build/mingw-x86_64/bin)";
  const WORD otherMachine = IMAGE_FILE_MACHINE_AMD64;
#endif
  if (header.Machine == otherMachine) return other;
  if (header.Machine != own) {
    char reason[64];
    std::snprintf(reason, sizeof reason, "is built for machine 0x%04X, which no Excel on x86 runs", header.Machine);
    return reason;
  }
  file.seekg(0, std::ios::end);
  std::vector<char> image(static_cast<size_t>(file.tellg()));
  file.seekg(0);
  file.read(image.data(), static_cast<std::streamsize>(image.size()));
  return file ? WhyDamaged(image) : "cannot be read";
}

namespace {

// The DLLs the image names in its import directory.
std::vector<std::string> ImportedDlls(HMODULE image) {
  auto base = reinterpret_cast<const char*>(image);
  auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  std::vector<std::string> names;
  if (directory.VirtualAddress == 0) return names;
  for (auto entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress); entry->Name != 0;
       ++entry)
    names.emplace_back(base + entry->Name);
  return names;
}

// Whether Windows finds the DLL: beside the add-in, or where it looks for any DLL.
bool Findable(const std::string& name, const std::string& folder) {
  char found[MAX_PATH];
  return SearchPathA(folder.c_str(), name.c_str(), nullptr, MAX_PATH, found, nullptr) != 0 ||
         SearchPathA(nullptr, name.c_str(), nullptr, MAX_PATH, found, nullptr) != 0;
}

}  // namespace

std::string WhyNotLoaded(const std::string& path, unsigned long error) {
  const std::string code = "(error " + std::to_string(error) + ")";
  // The loader turns a fault in the DllMain it runs into a failed load.
  if (error == ERROR_NOACCESS) return "it faulted while Windows loaded it, in its DllMain " + code;
  if (error != ERROR_MOD_NOT_FOUND) return "Windows cannot load it " + code;
  // Mapped without its imports, the image tells what it needs.
  HMODULE image = LoadLibraryExA(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
  if (image == nullptr) return "Windows cannot load it " + code;
  std::string missing;
  const std::string folder = path.substr(0, path.find_last_of("\\/") + 1);
  for (const std::string& name : ImportedDlls(image))
    if (!Findable(name, folder)) missing += (missing.empty() ? "" : ", ") + name;
  FreeLibrary(image);
  if (missing.empty()) return "a DLL that a DLL it needs needs cannot be found " + code;
  return "it needs " + missing + ", which Windows cannot find " + code;
}

}  // namespace xllhost
