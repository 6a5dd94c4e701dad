#include "native/AddInFile.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "readers/PeImage.h"
#include "records/Values.h"

namespace xllhost {

std::string WhyNotAnAddIn(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? "is not found" : "cannot be read";
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return "is a folder, not a DLL";
  std::ifstream file(std::filesystem::u8path(path), std::ios::binary);
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

bool ExistsIn(const std::string& folder, const std::string& name) {
  return GetFileAttributesW(ToWide(folder + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A DLL an add-in needs, mapped without running its code, asked of the
// loader by its name alone, so that it looks where it looked when it loaded
// the add-in by its path: where it looks for any DLL (the program's folder,
// the system's, the current folder, PATH) and the API sets Windows
// provides, but not the add-in's folder (LoadLibrary's search order).
HMODULE MapNeeded(const std::string& name) {
  return LoadLibraryExA(name.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
}

// The DLLs the loader cannot find for the image, its own imports and
// theirs; a DLL that a DLL needs is named with the one that needs it.
void FindMissing(HMODULE image, const std::string& needer, std::set<std::string>& seen, std::vector<std::string>& missing,
                 int depth) {
  for (const std::string& name : ImportedDlls(image)) {
    if (!seen.insert(Upper(name)).second || GetModuleHandleA(name.c_str()) != nullptr) continue;
    HMODULE found = MapNeeded(name);
    if (found == nullptr) {
      missing.push_back(needer.empty() ? name : name + " (which " + needer + " needs)");
      continue;
    }
    if (depth < 8) FindMissing(found, name, seen, missing, depth + 1);
    FreeLibrary(found);
  }
}

// The first DLL the image needs, its own imports and theirs, that fails its
// start-up when loaded (its DllMain answers FALSE); empty when none does.
std::string FailingStartup(HMODULE image, std::set<std::string>& seen, int depth) {
  for (const std::string& name : ImportedDlls(image)) {
    if (!seen.insert(Upper(name)).second || GetModuleHandleA(name.c_str()) != nullptr) continue;
    HMODULE mapped = MapNeeded(name);
    if (mapped == nullptr) continue;
    std::string deeper = depth < 8 ? FailingStartup(mapped, seen, depth + 1) : "";
    FreeLibrary(mapped);
    if (!deeper.empty()) return deeper;
    HMODULE loaded = LoadLibraryA(name.c_str());
    if (loaded == nullptr && GetLastError() == ERROR_DLL_INIT_FAILED) return name;
    if (loaded != nullptr) FreeLibrary(loaded);
  }
  return "";
}

// Runs `look` on the image mapped without its imports, which tells what it needs.
template <typename Look>
bool WithImage(const std::string& path, Look look) {
  HMODULE image = LoadLibraryExW(ToWide(path).c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
  if (image == nullptr) return false;
  look(image);
  FreeLibrary(image);
  return true;
}

}  // namespace

std::string WhyNotLoaded(const std::string& path, unsigned long error) {
  const std::string code = "(error " + std::to_string(error) + ")";
  // The loader turns a fault in the DllMain it runs into a failed load.
  if (error == ERROR_NOACCESS) return "it faulted while Windows loaded it, in its DllMain " + code;
  std::set<std::string> seen;
  const std::string folder = path.substr(0, path.find_last_of("\\/") + 1);
  if (error == ERROR_DLL_INIT_FAILED) {
    std::string failing;
    WithImage(path, [&](HMODULE image) { failing = FailingStartup(image, seen, 0); });
    if (failing.empty()) return "its DllMain answered FALSE: it failed its own start-up " + code;
    return failing + ", which it needs, failed its own start-up: its DllMain answered FALSE " + code;
  }
  if (error != ERROR_MOD_NOT_FOUND) return "Windows cannot load it " + code;
  std::vector<std::string> missing;
  if (!WithImage(path, [&](HMODULE image) { FindMissing(image, "", seen, missing, 0); }))
    return "Windows cannot load it " + code;
  if (missing.empty()) return "a DLL that a DLL it needs needs cannot be found " + code;
  std::string names, beside;
  for (const std::string& name : missing) {
    names += (names.empty() ? "" : ", ") + name;
    const std::string file = name.substr(0, name.find(' '));
    if (ExistsIn(folder, file)) beside += (beside.empty() ? "" : ", ") + file;
  }
  std::string why = "it needs " + names + ", which Windows cannot find " + code;
  if (!beside.empty())
    why += "; " + beside + " lies in the add-in's folder, where Windows does not look for the DLLs an add-in needs";
  return why;
}

}  // namespace xllhost
