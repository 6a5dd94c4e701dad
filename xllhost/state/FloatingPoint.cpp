#include "FloatingPoint.h"

#include <cstdio>

#include "HostState.h"

namespace xllhost {

// MXCSR's six low bits are sticky flags of exceptions that happened, which
// arithmetic sets at will; only its control bits make the environment.
constexpr std::uint32_t MxcsrFlags = 0x3F;

FloatingPoint CurrentFloatingPoint() {
  FloatingPoint now{};
  __asm__ volatile("fnstcw %0" : "=m"(now.x87));
  __asm__ volatile("stmxcsr %0" : "=m"(now.mxcsr));
  now.mxcsr &= ~MxcsrFlags;
  return now;
}

// Written only when it differs: loading the registers costs more than
// reading them, and this runs around every call into an add-in.
void SetFloatingPoint(const FloatingPoint& environment) {
  const FloatingPoint now = CurrentFloatingPoint();
  if (now.x87 == environment.x87 && now.mxcsr == environment.mxcsr) return;
  FloatingPoint wanted = environment;
  __asm__ volatile("fnclex\n\tfldcw %0" : : "m"(wanted.x87));
  __asm__ volatile("ldmxcsr %0" : : "m"(wanted.mxcsr));
}

std::string FloatingPointChange(const FloatingPoint& environment) {
  char text[160];
  if (environment.x87 == ExcelFloatingPoint.x87 && environment.mxcsr == ExcelFloatingPoint.mxcsr) return "";
  std::snprintf(text, sizeof text, "x87 control word 0x%04X and MXCSR 0x%04X, where Excel gives 0x%04X and 0x%04X",
                environment.x87, static_cast<unsigned>(environment.mxcsr), ExcelFloatingPoint.x87,
                static_cast<unsigned>(ExcelFloatingPoint.mxcsr));
  return text;
}



void OnFloatingPointLeft(std::function<void(const std::string& change)> listener) {
  State().floatingPointListener = std::move(listener);
}

void CheckFloatingPointLeft() {
  const FloatingPoint now = CurrentFloatingPoint();
  if (now.x87 == ExcelFloatingPoint.x87 && now.mxcsr == ExcelFloatingPoint.mxcsr) return;
  const std::string change = FloatingPointChange(now);
  SetFloatingPoint(ExcelFloatingPoint);
  if (State().floatingPointListener) State().floatingPointListener(change);
}

}  // namespace xllhost
