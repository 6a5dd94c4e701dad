// The host emulator's own answers, so that the add-in's tests rest on a host
// that behaves as Excel does for the functions the add-in uses.
#pragma once

#include <optional>
#include <string>

#include "TestHost.h"
#include "XLUtils.h"
#include "../fixtures/Fixture.h"  // records built from texts the test owns

// The test calls the host as an add-in's entry would; a test that hands
// control back to the host resets it.
class XllHost : public QuorrelTest {
 protected:
  std::optional<xllhost::PassedControl> control;

  void SetUp() override {
    QuorrelTest::SetUp();  // a fresh host, which has passed control to no one
    control.emplace();
  }

  // Registers Quorrel.xll's SampleFunc under a worksheet name of the test's choice.
  int Register(const std::string& procedure, const std::string& name, XLOPER* result = nullptr) {
    Text module(QuorrelPath()), proc(procedure), type("P"), function(name);
    return CallExcel4(xlfRegister, result, Count<4>, &module.record, &proc.record, &type.record, &function.record);
  }
};
