// The native call: integers and doubles in every position a function may
// take them, through the stdcall convention of each width.
#include <cstring>

#include "NativeCall.h"
#include "XllHostTest.h"

namespace {

std::uint64_t Bits(double number) {
  std::uint64_t bits;
  std::memcpy(&bits, &number, sizeof bits);
  return bits;
}

// Each argument weighted by its position, so an argument in the wrong place shows.
double WINAPI Mixed(double a, int b, double c, int d, double e, int f, double g) {
  return a + 10 * b + 100 * c + 1000 * d + 10000 * e + 100000 * f + 1000000 * g;
}
double WINAPI Flipped(int a, double b, int c, double d, int e, double f) {
  return a + 10 * b + 100 * c + 1000 * d + 10000 * e + 100000 * f;
}
int WINAPI Integers(int a, int b, int c, int d, int e) { return a - b + 3 * c - 5 * d + 7 * e; }
double WINAPI Nothing() { return 0.5; }
int __cdecl WithoutStdcall(int a, int b) { return 10 * a + b; }

FARPROC Procedure(void* function) { return reinterpret_cast<FARPROC>(function); }

TEST(NativeCall, PassesIntegersAndDoublesInEveryPositionAndTakesEitherAnswer) {
  using xllhost::NativeArgument;
  std::vector<NativeArgument> mixed = {{Bits(1), true},  {2, false}, {Bits(3), true}, {4, false},
                                       {Bits(5), true},  {6, false}, {Bits(7), true}};
  EXPECT_EQ(xllhost::CallStdcall(Procedure(reinterpret_cast<void*>(&Mixed)), xllhost::Returns::Double, mixed).number,
            7654321.0);
  std::vector<NativeArgument> flipped = {{1, false}, {Bits(2), true}, {3, false},
                                         {Bits(4), true}, {5, false}, {Bits(6), true}};
  EXPECT_EQ(
      xllhost::CallStdcall(Procedure(reinterpret_cast<void*>(&Flipped)), xllhost::Returns::Double, flipped).number,
      654321.0);
  std::vector<NativeArgument> integers = {{1, false}, {2, false}, {3, false}, {4, false}, {5, false}};
  EXPECT_EQ(static_cast<int>(xllhost::CallStdcall(Procedure(reinterpret_cast<void*>(&Integers)),
                                                  xllhost::Returns::Integer, integers)
                                 .integer),
            1 - 2 + 9 - 20 + 35);
  EXPECT_EQ(xllhost::CallStdcall(Procedure(reinterpret_cast<void*>(&Nothing)), xllhost::Returns::Double, {}).number,
            0.5);
}

// A 32-bit function written without __stdcall leaves its arguments on the
// stack; the call survives it, answers, and says so. 64-bit Windows has one
// convention.
TEST(NativeCall, SurvivesAFunctionWithoutStdcallAndSaysSo) {
  xllhost::Answered answered = xllhost::CallStdcall(Procedure(reinterpret_cast<void*>(&WithoutStdcall)),
                                                    xllhost::Returns::Integer, {{4, false}, {2, false}});
  EXPECT_EQ(static_cast<int>(answered.integer), 42);
  EXPECT_EQ(answered.removedArguments, sizeof(void*) == 8);
  EXPECT_TRUE(xllhost::CallStdcall(Procedure(reinterpret_cast<void*>(&Integers)), xllhost::Returns::Integer,
                                   {{1, false}, {2, false}, {3, false}, {4, false}, {5, false}})
                  .removedArguments);
}

}  // namespace
