// Common set-up of the memory tests: the default map freshly built, a host
// whose event pump can be watched, a screen that records what it is asked to
// draw.
#pragma once
#include <gtest/gtest.h>
#include <vector>
#include "board/KeyboardDisplay.h"
#include "bus/BusState.h"
#include "bus/Memory.h"
#include "host/ScriptedHost.h"
#include "shell/PlugFlags.h"

namespace korva::test {

struct DrawCall {
  const char* What;
  uint32_t Offset;
  int32_t Data;
};

class RecordingScreen final : public KeyboardDisplayHooks {
 public:
  std::vector<DrawCall> Calls;
  void DisplayCharacterOnScreen(uint16_t i) override { Calls.push_back({"Char", i, 0}); }
  void SetGreenWord(uint32_t o, int16_t d) override { Calls.push_back({"GreenWord", o, d}); }
  void SetRedWord(uint32_t o, int16_t d) override { Calls.push_back({"RedWord", o, d}); }
  void SetGreenByte(uint32_t o, uint8_t d) override { Calls.push_back({"GreenByte", o, d}); }
  void SetRedByte(uint32_t o, uint8_t d) override { Calls.push_back({"RedByte", o, d}); }
};

class MemoryTest : public ::testing::Test {
 protected:
  ScriptedHost host;
  RecordingScreen screen;

  void SetUp() override {
    SetKeyboardDisplayForm(&screen);
    ResetPlugFlags();
    BuildMemoryMap();
    ClearBusFaults();
    host.PumpCount = 0;
    screen.Calls.clear();
    DisplayYieldInterval = 0;
    DisplayYieldCount = 0;
  }
  void TearDown() override { SetKeyboardDisplayForm(nullptr); }

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
