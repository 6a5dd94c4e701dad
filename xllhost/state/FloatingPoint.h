// The floating-point environment an add-in runs in: the one Windows gives a
// new process, and so Excel's.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace xllhost {

struct FloatingPoint {
  std::uint16_t x87;    // the x87 FPU control word
  std::uint32_t mxcsr;  // the SSE control and status register, status flags cleared

  constexpr bool operator==(const FloatingPoint& other) const { return x87 == other.x87 && mxcsr == other.mxcsr; }
};

// Windows starts every process with the x87 control word 0x027F (53-bit
// precision, round to nearest, every exception masked) and MXCSR 0x1F80
// (round to nearest, every exception masked), as Microsoft's description of
// the x64 calling convention gives them for process start; 32-bit Windows
// sets the same control word. MinGW's start-up code changes the x87 word to
// 0x037F, 64-bit precision, under which an add-in's x87 arithmetic rounds
// otherwise than in Excel. This is the one place the values are kept.
constexpr FloatingPoint ExcelFloatingPoint{0x027F, 0x1F80};

FloatingPoint CurrentFloatingPoint();
void SetFloatingPoint(const FloatingPoint& environment);
// After control comes back from an add-in: an environment it left changed
// is told to the listener and set back to Excel's.
void OnFloatingPointLeft(std::function<void(const std::string& change)> listener);
void CheckFloatingPointLeft();

}  // namespace xllhost
