// The host's value records (XLOPER, and XLOPER12 of Excel 2007 and later),
// the counted byte string and the host's codes. Declarations only:
// everything here is a type or a compile-time constant.
#pragma once

// The C headers, not <cstdint>: a build for the Visual C++ ABI without the
// Windows SDK has the compiler's own C headers and no C++ library.
#include <stddef.h>
#include <stdint.h>

// A rectangle of cells on one sheet, rows and columns counted from 0.
struct XLREF {
  uint16_t rwFirst;
  uint16_t rwLast;
  uint8_t colFirst;
  uint8_t colLast;
};
static_assert(sizeof(XLREF) == 6 && offsetof(XLREF, colFirst) == 4, "two 16-bit rows, then two 8-bit columns");

// The rectangles of an xltypeRef: a 16-bit count, then that many XLREFs.
// Declared with one; a longer one is allocated with room for the rest.
struct XLMREF {
  uint16_t count;
  XLREF reftbl[1];
};
static_assert(sizeof(XLMREF) == 8 && offsetof(XLMREF, reftbl) == 2, "the rectangles follow the count, 2-aligned");

// Every value exchanged with the host travels in this record. The union has
// the width of the host's widest published member (a pointer and two 16-bit
// fields), so the type word sits where the host looks for it on both
// 32-bit (offset 8) and 64-bit (offset 16) hosts.
struct XLOPER {
  union {
    double num;
    char* str;  // counted byte string, see CountedString
    uint16_t xbool;
    int16_t w;
    uint16_t err;
    struct {
      uint16_t count;  // always 1
      XLREF ref;
    } sref;  // a single rectangle on the current sheet
    struct {
      void* lpmref;  // the rectangles of a reference (XLMREF), null for a sheet alone
      uintptr_t idSheet;
    } mref;
    struct {
      XLOPER* lparray;  // rows * columns records, row by row
      uint16_t rows;
      uint16_t columns;
    } array;
    struct {
      union {
        uint8_t* lpbData;
        void* hdata;  // a handle the host hands out (xlGetInstPtr)
      } h;
      long cbData;
    } bigdata;  // binary storage
  } val;
  uint16_t xltype;
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
static_assert(offsetof(XLOPER, val.sref.ref) == 2, "the rectangle follows its 16-bit count");
static_assert(offsetof(XLOPER, val.array.rows) == sizeof(void*) && sizeof(XLOPER{}.val.array.rows) == 2,
              "an array's 16-bit row and column counts follow its pointer");
static_assert(offsetof(XLOPER, val.bigdata.h.hdata) == 0 && offsetof(XLOPER, val.bigdata.cbData) == sizeof(void*),
              "binary data's pointer or handle comes first, its size after it");

// Excel 2007 and later: wide strings and 32-bit integers, rows and columns.
// XCHAR is a UTF-16 code unit. A wide counted string holds its length
// (0..32767) in element 0 and the text after it, with no terminator.
using XCHAR = wchar_t;
static_assert(sizeof(XCHAR) == 2, "a wide character is one UTF-16 code unit");

struct XLREF12 {
  int32_t rwFirst;
  int32_t rwLast;
  int32_t colFirst;
  int32_t colLast;
};
static_assert(sizeof(XLREF12) == 16, "four 32-bit bounds");

struct XLMREF12 {
  uint16_t count;
  XLREF12 reftbl[1];
};
static_assert(sizeof(XLMREF12) == 20 && offsetof(XLMREF12, reftbl) == 4, "the rectangles follow the count, 4-aligned");

struct XLOPER12 {
  union {
    double num;
    XCHAR* str;  // wide counted string
    int32_t xbool;
    int32_t err;
    int32_t w;
    struct {
      uint16_t count;  // always 1
      XLREF12 ref;
    } sref;
    struct {
      void* lpmref;  // the rectangles of a reference (XLMREF12), null for a sheet alone
      uintptr_t idSheet;
    } mref;
    struct {
      XLOPER12* lparray;  // rows * columns records, row by row
      int32_t rows;
      int32_t columns;
    } array;
    struct {
      union {
        int32_t level;
        int32_t tbctrl;
        uintptr_t idSheet;
      } valflow;
      int32_t rw;
      int32_t col;
      uint8_t xlflow;
    } flow;  // macro sheet flow control, never used here
    struct {
      union {
        uint8_t* lpbData;
        void* hdata;
      } h;
      long cbData;
    } bigdata;  // binary storage; a handle the host hands out (xlGetInstPtr)
  } val;
  uint32_t xltype;
};
using LPXLOPER12 = XLOPER12*;

// The reference and flow members make the union 24 bytes on both widths, so
// the 32-bit type word sits at offset 24 and the record is 32 bytes.
static_assert(sizeof(XLOPER12) == 32, "the host's wide record is 32 bytes on both widths");
static_assert(offsetof(XLOPER12, xltype) == 24, "the 32-bit type word follows the 24-byte value");
static_assert(offsetof(XLOPER12, val.sref.ref) == 4, "the rectangle follows its count, aligned to 4");
static_assert(offsetof(XLOPER12, val.array.rows) == sizeof(void*) && sizeof(XLOPER12{}.val.array.rows) == 4,
              "a wide array's 32-bit row and column counts follow its pointer");
static_assert(offsetof(XLOPER12, val.w) == 0 && sizeof(XLOPER12{}.val.w) == 4, "a wide integer has 32 bits");
static_assert(offsetof(XLOPER12, val.bigdata.h.hdata) == 0 && offsetof(XLOPER12, val.bigdata.cbData) == sizeof(void*),
              "binary data's pointer or handle comes first, its size after it");

// The floating-point arrays of type codes K and K%: the row and column counts,
// then the rows' numbers one after another. The array is declared with one
// element; the host allocates as many as the counts say.
struct FP {
  uint16_t rows;
  uint16_t columns;
  double array[1];
};
static_assert(sizeof(FP) == 16 && offsetof(FP, columns) == 2 && offsetof(FP, array) == 8,
              "two 16-bit counts, then the doubles, aligned to 8");

struct FP12 {
  int32_t rows;
  int32_t columns;
  double array[1];
};
static_assert(sizeof(FP12) == 16 && offsetof(FP12, columns) == 4 && offsetof(FP12, array) == 8,
              "two 32-bit counts, then the doubles");

// Counted byte string: byte 0 holds the length n (0..255), bytes 1..n the text
// in the host's single-byte character set. No terminator follows the text.
template <size_t Length>
struct CountedString {
  char bytes[Length + 1];
};

// Builds a counted string from a literal at compile time, so the count byte
// can never disagree with the text.
template <size_t N>
constexpr CountedString<N - 1> MakeCountedString(const char (&text)[N]) {
  static_assert(N - 1 <= 255, "a counted string holds at most 255 characters");
  CountedString<N - 1> result{};
  result.bytes[0] = static_cast<char>(N - 1);
  for (size_t i = 0; i + 1 < N; ++i) result.bytes[i + 1] = text[i];
  return result;
}

// Type codes. The type word is always compared and written whole: a word
// with any further bit set is not the plain type.
constexpr uint16_t xltypeNum = 0x0001;
constexpr uint16_t xltypeStr = 0x0002;
constexpr uint16_t xltypeBool = 0x0004;
constexpr uint16_t xltypeRef = 0x0008;
constexpr uint16_t xltypeErr = 0x0010;
constexpr uint16_t xltypeFlow = 0x0020;
constexpr uint16_t xltypeMulti = 0x0040;
constexpr uint16_t xltypeMissing = 0x0080;
constexpr uint16_t xltypeNil = 0x0100;
constexpr uint16_t xltypeSRef = 0x0400;
constexpr uint16_t xltypeInt = 0x0800;
constexpr uint16_t xltypeBigData = xltypeStr | xltypeInt;

// Memory-ownership bits: the host (XLFree) or the add-in (DLLFree) must
// release what such a record points to.
constexpr uint16_t xlbitXLFree = 0x1000;
constexpr uint16_t xlbitDLLFree = 0x4000;

// Error codes.
constexpr uint16_t xlerrNull = 0;
constexpr uint16_t xlerrDiv0 = 7;
constexpr uint16_t xlerrValue = 15;
constexpr uint16_t xlerrRef = 23;
constexpr uint16_t xlerrName = 29;
constexpr uint16_t xlerrNum = 36;
constexpr uint16_t xlerrNA = 42;
constexpr uint16_t xlerrGettingData = 43;

// Host function numbers, in a header of their own.
#include "FunctionNumbers.h"

// Result codes of a host call.
constexpr int xlretSuccess = 0;
constexpr int xlretAbort = 1;
constexpr int xlretInvXlfn = 2;
constexpr int xlretInvCount = 4;
constexpr int xlretInvXloper = 8;
constexpr int xlretFailed = 32;
constexpr int xlretUncalced = 64;
constexpr int xlretNotThreadSafe = 128;

// The events of xlEventRegister. xleventregister.md names them without
// their numbers; these are the ones Excel 2010 and later pass.
constexpr int xleventCalculationEnded = 1;
constexpr int xleventCalculationCanceled = 2;
