// Shared by the debugger's command tests: a test machine, and the debugger's
// state fresh before and after each test.
#pragma once
#include <gtest/gtest.h>

#include "debugger/DebuggerCore.h"
#include "support/TestMachine.h"

namespace korva {

class DebuggerCommandTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetDebuggerState(); }
  void TearDown() override { ResetDebuggerState(); }
  test::TestMachine m;
};

}  // namespace korva
