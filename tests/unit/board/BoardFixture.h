// Common set-up of the board tests: the default memory map, the system control
// module, the screen, the CRT controller and the front panel as after start-up,
// and a main window that counts its long-operation brackets.
#pragma once
#include <gtest/gtest.h>
#include <cstdint>
#include "board/FrontPanel.h"
#include "board/Keyboard.h"
#include "board/KeyboardLights.h"
#include "board/MC6845.h"
#include "board/SCM.h"
#include "board/ScreenCompositor.h"
#include "board/Uart2661.h"
#include "bus/BusState.h"
#include "bus/Exceptions.h"
#include "bus/Memory.h"
#include "bus/Rom.h"
#include "support/ScriptedHost.h"
#include "shell/MainFormHooks.h"
#include "shell/PlugFlags.h"

namespace korva::test {

struct BracketCounter : MainFormHooks {
  int Takes = 0, Overs = 0;
  void TakesAwhile(VBool) override { ++Takes; }
  void DelayOver(VBool) override { ++Overs; }
};

// The module, the screen, the CRT controller and the front panel as after
// start-up, on the default memory map.
inline void ResetBoardState() {
  InitScmState();
  InitScreenState();
  Crtc = classMC6845();
  FrontPanel = classFrontPanel();
  ResetPlugFlags();
  BuildMemoryMap();
}

class BoardTest : public ::testing::Test {
 protected:
  ScriptedHost host;
  BracketCounter form;

  void SetUp() override {
    SetMainForm(&form);
    ResetBoardState();
    ClearBusFaults();
    Exceptions.Reset();
    IMaskFlag = False;
    form.Takes = form.Overs = 0;
  }
  void TearDown() override {
    SetMainForm(nullptr);
    Exceptions.Reset();
    IMaskFlag = False;
  }

  static uint32_t Image(int x, int y) { return ScreenImage[y * ScreenWidth + x]; }
  static ScreenPixel& Pixel(int x, int y) { return ScreenBuffer[y * ScreenWidth + x]; }
  static void Crt(uint8_t reg, uint8_t value) {
    Crtc.Addreg(reg);
    Crtc.Datareg(value);
  }
  // The 600-line layout (HIRES with GOFF 0x32) or the 300-line one, set directly.
  static void Layout600(bool on) {
    ScmHires = ToVBool(on);
    ScmGoffset = on ? 0x32 : 0x00;
  }
  static bool Masked(int entry) { return Exceptions.Mask(entry) != 0; }
};

}  // namespace korva::test
