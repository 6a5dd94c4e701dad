// Reads what the loader and the host see in a PE image file, without loading it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct PeFile {
  bool valid = false;
  std::uint16_t machine = 0;          // 0x014C i386, 0x8664 x86-64
  bool pe32Plus = false;              // the 64-bit optional header
  std::uint16_t characteristics = 0;  // of the file header
  std::uint16_t dllCharacteristics = 0;
  std::string exportName;                                   // the module name in the export directory
  std::map<std::string, std::uint32_t> exportOrdinals;      // exported name -> ordinal
  std::uint32_t exportBase = 0;                             // the ordinal of the table's first slot
  std::vector<std::uint32_t> exportSlots;                   // each slot's entry address; 0 for an empty one
  std::map<std::string, std::vector<std::string>> imports;  // DLL -> functions, "#N" by ordinal
  std::vector<std::string> sections;                        // names, at most 8 characters each
  std::uint32_t tlsDirectorySize = 0;                       // 0 when the image has no TLS directory
  std::uint32_t delayImportSize = 0;                        // 0 when it loads no DLL on first use
};

PeFile ReadPeFile(const std::string& path);
