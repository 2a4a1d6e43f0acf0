// Common set-up of the memory tests: the default map freshly built, a host
// whose event pump can be watched, a screen that records what it is asked to
// draw, and clean call records on every device stand-in.
#pragma once
#include <gtest/gtest.h>
#include <functional>
#include <vector>
#include "board/KeyboardDisplay.h"
#include "board/SCM.h"
#include "bus/BusState.h"
#include "bus/Memory.h"
#include "host/Host.h"
#include "shell/MainFormHooks.h"
#include "shell/PlugFlags.h"

namespace korva::test {

class PumpHost final : public HostServices {
 public:
  int Pumps = 0;
  std::function<void()> OnPump;
  void PumpEvents() override {
    ++Pumps;
    if (OnPump) OnPump();
  }
  MsgAnswer MessageBox(const std::string&, const std::string&, MsgButtons, MsgIcon) override { return MsgAnswer::OK; }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void BeginBusy() override {}
  void EndBusy() override {}
  void Beep() override {}
  std::string GetSetting(const std::string&, const std::string&, const std::string& d) override { return d; }
  void SaveSetting(const std::string&, const std::string&, const std::string&) override {}
};

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
  void SetBlueWord(uint32_t o, int16_t d) override { Calls.push_back({"BlueWord", o, d}); }
  void SetRedWord(uint32_t o, int16_t d) override { Calls.push_back({"RedWord", o, d}); }
  void SetGreenByte(uint32_t o, uint8_t d) override { Calls.push_back({"GreenByte", o, d}); }
  void SetBlueByte(uint32_t o, uint8_t d) override { Calls.push_back({"BlueByte", o, d}); }
  void SetRedByte(uint32_t o, uint8_t d) override { Calls.push_back({"RedByte", o, d}); }
};

class RecordingMainForm final : public MainFormHooks {
 public:
  std::vector<std::pair<int, VBool>> Indicators;  // board n, or 4 drop zone, 5 upload/download
  void ShowBoardIndicator(int16_t n, VBool p) override { Indicators.push_back({n, p}); }
  void ShowDropzone(VBool p) override { Indicators.push_back({4, p}); }
  void EnableUploadDownload(VBool p) override { Indicators.push_back({5, p}); }
};

class MemoryTest : public ::testing::Test {
 protected:
  PumpHost host;
  RecordingScreen screen;
  RecordingMainForm mainForm;

  void SetUp() override {
    SetHost(&host);
    SetKeyboardDisplayForm(&screen);
    SetMainForm(&mainForm);
    ResetPlugFlags();
    BuildMemoryMap();
    ClearBusFaults();
    host.Pumps = 0;
    screen.Calls.clear();
    mainForm.Indicators.clear();
    DisplayYieldInterval = 0;
    DisplayYieldCount = 0;
  }
  void TearDown() override {
    SetHost(nullptr);
    SetKeyboardDisplayForm(nullptr);
    SetMainForm(nullptr);
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
