// A file's bytes read as a PE image, as the loader and GetProcAddress read
// it: its headers, its sections' raw data and its export directory, each
// checked to lie within the file before anything is read through it. The
// fields are read at their offsets in Microsoft's PE format, little-endian,
// so the checks build and are fuzzed without Windows.
#pragma once

#include <cstdint>
#include <string>

namespace xllhost {

constexpr std::uint16_t MachineI386 = 0x014C;
constexpr std::uint16_t MachineAmd64 = 0x8664;

// Why the bytes are no DLL ("is not a Windows DLL", "is a Windows program,
// not a DLL"), or an empty text; `machine` receives the machine it is built for.
std::string WhyNoDll(const std::string& bytes, std::uint16_t* machine);

// Why a DLL's image is damaged (cut short, or an export directory, its
// counts or its names outside the file), or an empty text.
std::string WhyDamaged(const std::string& bytes);

}  // namespace xllhost
