// The host's value record, the counted byte string and the host's codes.
// Declarations only: everything here is a type or a compile-time constant.
#pragma once

#include <cstddef>
#include <cstdint>

// Every value exchanged with the host travels in this record. The union has
// the width of the host's widest published member (a pointer and two 16-bit
// fields), so the type word sits where the host looks for it on both
// 32-bit (offset 8) and 64-bit (offset 16) hosts.
struct XLOPER {
  union {
    double num;
    char* str;  // counted byte string, see CountedString
    std::uint16_t xbool;
    std::int16_t w;
    std::uint16_t err;
    struct {
      XLOPER* lparray;
      std::uint16_t rows;
      std::uint16_t columns;
    } array;  // never used here; present only to give the union the host's width
  } val;
  std::uint16_t xltype;
};
using LPXLOPER = XLOPER*;

#if defined(_WIN64) || defined(__x86_64__)
static_assert(sizeof(XLOPER) == 24, "the host's record is 24 bytes on 64-bit hosts");
static_assert(offsetof(XLOPER, xltype) == 16, "the type word follows the 16-byte value");
#else
static_assert(sizeof(XLOPER) == 16, "the host's record is 16 bytes on 32-bit hosts");
static_assert(offsetof(XLOPER, xltype) == 8, "the type word follows the 8-byte value");
#endif
static_assert(offsetof(XLOPER, val) == 0, "the value comes first");
static_assert(offsetof(XLOPER, val.err) == 0 && sizeof(XLOPER{}.val.err) == 2,
              "an error code fills only the first two bytes of the value");
static_assert(offsetof(XLOPER, val.w) == 0 && sizeof(XLOPER{}.val.w) == 2,
              "an integer fills only the first two bytes of the value");

// Counted byte string: byte 0 holds the length n (0..255), bytes 1..n the text
// in the host's single-byte character set. No terminator follows the text.
template <std::size_t Length>
struct CountedString {
  char bytes[Length + 1];
};

// Builds a counted string from a literal at compile time, so the count byte
// can never disagree with the text.
template <std::size_t N>
constexpr CountedString<N - 1> MakeCountedString(const char (&text)[N]) {
  static_assert(N - 1 <= 255, "a counted string holds at most 255 characters");
  CountedString<N - 1> result{};
  result.bytes[0] = static_cast<char>(N - 1);
  for (std::size_t i = 0; i + 1 < N; ++i) result.bytes[i + 1] = text[i];
  return result;
}

// Type codes. The type word is always compared and written whole: a word
// with any further bit set is not the plain type.
constexpr std::uint16_t xltypeNum = 0x0001;
constexpr std::uint16_t xltypeStr = 0x0002;
constexpr std::uint16_t xltypeBool = 0x0004;
constexpr std::uint16_t xltypeErr = 0x0010;
constexpr std::uint16_t xltypeMissing = 0x0080;
constexpr std::uint16_t xltypeNil = 0x0100;
constexpr std::uint16_t xltypeInt = 0x0800;

// Memory-ownership bits: the host (XLFree) or the add-in (DLLFree) must
// release what such a record points to.
constexpr std::uint16_t xlbitXLFree = 0x1000;
constexpr std::uint16_t xlbitDLLFree = 0x4000;

// Error codes.
constexpr std::uint16_t xlerrNull = 0;
constexpr std::uint16_t xlerrDiv0 = 7;
constexpr std::uint16_t xlerrValue = 15;
constexpr std::uint16_t xlerrRef = 23;
constexpr std::uint16_t xlerrName = 29;
constexpr std::uint16_t xlerrNum = 36;
constexpr std::uint16_t xlerrNA = 42;

// Host function numbers. The special class has bit 0x4000 set.
constexpr int xlfSetName = 88;
constexpr int xlfRegister = 149;
constexpr int xlfUnregister = 201;
constexpr int xlfRegisterId = 267;
constexpr int xlSpecial = 0x4000;
constexpr int xlFree = xlSpecial | 0;
constexpr int xlGetName = xlSpecial | 9;

// Result codes of a host call.
constexpr int xlretSuccess = 0;
constexpr int xlretAbort = 1;
constexpr int xlretInvXlfn = 2;
constexpr int xlretInvCount = 4;
constexpr int xlretInvXloper = 8;
constexpr int xlretFailed = 32;
