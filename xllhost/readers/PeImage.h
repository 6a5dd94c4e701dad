// A file's bytes read as a PE image, as the loader and GetProcAddress read
// it: its headers, its sections, its exports and its imports, each checked
// to lie within the file before anything is read through it. The fields are
// read at their offsets in Microsoft's PE format, little-endian, so the
// reader builds and is fuzzed without Windows. xllhost reads add-ins with
// it, and the tests the images the build makes.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace xllhost {

constexpr std::uint16_t MachineI386 = 0x014C;
constexpr std::uint16_t MachineAmd64 = 0x8664;

struct PeImage {
  std::uint16_t machine = 0;
  bool pe32Plus = false;              // the 64-bit optional header
  std::uint16_t characteristics = 0;  // of the file header
  std::uint16_t dllCharacteristics = 0;
  std::vector<std::string> sections;  // names, at most 8 characters each
  std::string exportName;             // the module name in the export directory
  std::uint32_t exportBase = 0;       // the ordinal of the export table's first slot
  std::vector<std::uint32_t> exportSlots;                   // each slot's entry address; 0 for an empty one
  std::map<std::string, std::uint32_t> exportOrdinals;      // exported name -> ordinal
  std::map<std::string, std::vector<std::string>> imports;  // DLL -> functions, "#N" by ordinal
  std::uint32_t tlsDirectorySize = 0;                       // 0 when the image has no TLS directory
  std::uint32_t delayImportSize = 0;                        // 0 when it loads no DLL on first use
};

// Why the bytes are no DLL ("is not a Windows DLL", "is a Windows program,
// not a DLL"), or an empty text; `machine` receives the machine it is built for.
std::string WhyNoDll(const std::string& bytes, std::uint16_t* machine);

// Reads a PE image, DLL or program, into `image`, and answers why it is
// damaged (cut short, or an export directory, its counts or its names outside
// the file), or an empty text. Imports that lie outside the file are not
// read; the loader says so when it loads the image.
std::string ReadPeImage(const std::string& bytes, PeImage* image);

// Why a DLL's image is damaged, or an empty text.
std::string WhyDamaged(const std::string& bytes);

}  // namespace xllhost
