#include "native/AddInFile.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "readers/PeImage.h"

namespace xllhost {

std::string WhyNotAnAddIn(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? "is not found" : "cannot be read";
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return "is a folder, not a DLL";
  std::ifstream file(path, std::ios::binary);
  std::string image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (!file && !file.eof()) return "cannot be read";
  std::uint16_t machine = 0;
  const std::string notDll = WhyNoDll(image, &machine);
  if (!notDll.empty()) return notDll;
#ifdef _WIN64
  const std::uint16_t own = MachineAmd64, otherMachine = MachineI386;
  const char* other = "is a 32-bit XLL, for 32-bit Excel: run it with the 32-bit xllhost (build/mingw-i686/bin)";
#else
  const std::uint16_t own = MachineI386, otherMachine = MachineAmd64;
  const char* other = "is a 64-bit XLL, for 64-bit Excel: run it with the 64-bit xllhost (build/mingw-x86_64/bin)";
#endif
  if (machine == otherMachine) return other;
  if (machine != own) {
    char reason[64];
    std::snprintf(reason, sizeof reason, "is built for machine 0x%04X, which no Excel on x86 runs", machine);
    return reason;
  }
  return WhyDamaged(image);
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
