// Common set-up of the memory tests: the default map freshly built, a host
// whose event pump can be watched, the screen and the system control module as
// after start-up.
#pragma once
#include <gtest/gtest.h>
#include <vector>
#include "board/FrontPanel.h"
#include "board/MC6845.h"
#include "board/SCM.h"
#include "board/ScreenCompositor.h"
#include "bus/BusState.h"
#include "bus/Exceptions.h"
#include "bus/Memory.h"
#include "support/ScriptedHost.h"
#include "shell/PlugFlags.h"

namespace korva::test {

class MemoryTest : public ::testing::Test {
 protected:
  ScriptedHost host;

  void SetUp() override {
    InitScmState();
    InitScreenState();
    Crtc = classMC6845();
    FrontPanel = classFrontPanel();
    ResetPlugFlags();
    BuildMemoryMap();
    ClearBusFaults();
    host.PumpCount = 0;
    DisplayYieldInterval = 0;
    DisplayYieldCount = 0;
  }
  void TearDown() override {
    Exceptions.Reset();
    IMaskFlag = False;
  }

  static uint8_t Code(uint32_t address) { return CellOf(address).Device; }
  // Reads and clears the fault flags: true when the access set the bus error only.
  static bool TookBusError() {
    const bool bus = BusErrorFlag && FaultFlag && !AddressErrorFlag;
    ClearBusFaults();
    return bus;
  }
  static bool TookNoFault() {
    const bool none = !FaultFlag && !BusErrorFlag && !AddressErrorFlag;
    ClearBusFaults();
    return none;
  }
};

}  // namespace korva::test
