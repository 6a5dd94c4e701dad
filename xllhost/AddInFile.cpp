#include "AddInFile.h"

#include <windows.h>

#include <cstdio>
#include <fstream>

namespace xllhost {

std::string WhyNotAnAddIn(const std::string& path) {
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
  return "";
}

}  // namespace xllhost
