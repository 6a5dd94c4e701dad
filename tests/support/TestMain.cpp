#include <gtest/gtest.h>

#include "session/XllHost.h"

// A crash must fail the run: under Wine an unhandled exception can otherwise
// end the process with status 0.
int main(int argc, char** argv) {
  xllhost::ExitOnCrash();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
