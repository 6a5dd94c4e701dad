// The host emulator's own answers, so that the add-in's tests rest on a host
// that behaves as Excel does for the functions the add-in uses.
#pragma once

#include <optional>
#include <string>

#include "../fixtures/Fixture.h"  // records built from texts the test owns
#include "TestHost.h"
#include "XLUtils.h"

std::string ProbePath();

// A path as an add-in hands it over through Excel4: in the ANSI code page.
inline Text PathText(const std::string& path) { return Text(xllhost::ToBytes(path)); }

// A fresh host and a freshly loaded probe.xll, a fixture add-in, for every
// test; afterwards every host string must be given back and the host must
// have seen no misuse. The test calls the host as an add-in's entry would; a
// test that hands control back to the host resets `control`.
class XllHost : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  xllhost::AddIn addIn;
  std::optional<xllhost::PassedControl> control;

  // Registers probe.xll's Probe, or another export, under a worksheet name of the test's choice.
  int Register(const std::string& procedure, const std::string& name, XLOPER* result = nullptr) {
    Text module = PathText(ProbePath()), proc(procedure), type("P"), function(name);
    return CallExcel4(xlfRegister, result, Count<4>, &module.record, &proc.record, &type.record, &function.record);
  }
};
