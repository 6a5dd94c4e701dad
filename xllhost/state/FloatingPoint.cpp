#include "state/FloatingPoint.h"

#include <cstdio>

#include "state/HostPart.h"

namespace xllhost {

// MXCSR's six low bits are sticky flags of exceptions that happened, which
// arithmetic sets at will; only its control bits make the environment.
constexpr std::uint32_t MxcsrFlags = 0x3F;

namespace {
// Who hears of an environment an add-in left changed.
struct FloatingPointWatch {
  std::function<void(const std::string&)> listener;
};
std::function<void(const std::string&)>& Watcher() { return HostPart<FloatingPointWatch>().listener; }
}  // namespace

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
  if (now == environment) return;
  FloatingPoint wanted = environment;
  __asm__ volatile("fnclex\n\tfldcw %0" : : "m"(wanted.x87));
  __asm__ volatile("ldmxcsr %0" : : "m"(wanted.mxcsr));
}

void OnFloatingPointLeft(std::function<void(const std::string& change)> listener) {
  Watcher() = std::move(listener);
}

void CheckFloatingPointLeft() {
  const FloatingPoint now = CurrentFloatingPoint();
  if (now == ExcelFloatingPoint) return;
  SetFloatingPoint(ExcelFloatingPoint);
  char change[160];
  std::snprintf(change, sizeof change, "x87 control word 0x%04X and MXCSR 0x%04X, where Excel gives 0x%04X and 0x%04X",
                now.x87, static_cast<unsigned>(now.mxcsr), ExcelFloatingPoint.x87,
                static_cast<unsigned>(ExcelFloatingPoint.mxcsr));
  if (Watcher()) Watcher()(change);
}

}  // namespace xllhost
