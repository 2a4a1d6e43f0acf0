// A fresh keyboard UART, keyboard and interrupt table for each test, a scripted
// host (it records the beeps), and the keyboard's replies as the processor
// sees them.
#pragma once
#include <gtest/gtest.h>

#include "board/Keyboard.h"
#include "board/KeyboardLights.h"
#include "board/Uart2661.h"
#include "bus/Exceptions.h"
#include "support/ScriptedHost.h"

namespace korva::test {

// A host key event as the screen window forwards it (state 1 down, 0 up).
inline uint16_t Key(uint16_t code, uint16_t state = 1) { return Keyboard.ConvertKey(code, state); }

class KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override { Fresh(); }
  void TearDown() override { Fresh(); }
  static void Fresh() {
    InitInterruptTable();
    Exceptions.UpdateHIP();
    NewKeyBoard = False;
    KBPutJumpers = True;
    Uart2661 = class2661{};
    for (uint32_t& c : KeyboardLightRGB) c = LightOffRGB;
    Keyboard = KeyboardLink{};
  }

  // Sends a command byte through the UART; the reply, or -1 for none.
  static int Send(uint8_t command) {
    Uart2661.RxRDY = False;
    Uart2661.Data(command);
    return Uart2661.RxRDY ? Uart2661.Data() : -1;
  }
  static bool Raised(int entry) { return Exceptions.IsIP(entry) != 0; }

  ScriptedHost host;
};

}  // namespace korva::test
