// Test programs play the host for the real Quorrel.xll, which sits beside them.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "Quorrel.h"
#include "session/XllHost.h"

using xllhost::BesideThisProgram;
using xllhost::CountedText;

std::string QuorrelPath();

// The one definition of the Add-In Manager's name request, against which the
// add-in's answers are judged: the plain integer 1 or the plain number 1.0.
bool IsNameRequest(const XLOPER& request);

// The host calls of a registration and of its removal, in order.
extern const std::vector<int> OpenCalls;
extern const std::vector<int> RemoveCalls;

// A fresh host and a freshly loaded Quorrel.xll for every test. Afterwards the
// add-in must have given back every host string, and the host must have seen
// no misuse.
class QuorrelTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Loads Quorrel.xll and finds its entries, as at the start of each test.
  void LoadQuorrel();

  xllhost::AddIn addIn;
  decltype(&::SampleFunc) sampleFunc = nullptr;
};

// Expects the host to have seen exactly these faults, in order, each holding
// its phrase; then forgets them, since they were what the test was about.
void ExpectFaults(const std::vector<std::string>& phrases);

namespace xllhost {
void PrintTo(const Value& value, std::ostream* out);
}
