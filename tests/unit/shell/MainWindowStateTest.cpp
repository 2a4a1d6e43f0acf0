// The main window's logic without widgets: run controls and resets, lights,
// the busy pointer, throttles, the one-second tick, status texts, load and unload.
#include <gtest/gtest.h>

#include "board/Rtc1468hc18.h"
#include "board/SCM.h"
#include "bus/Exceptions.h"
#include "bus/Memory.h"
#include "cpu/ControlStore.h"
#include "cpu/CpuState.h"
#include "cpu/FetchDecode.h"
#include "cpu/MainLoop.h"
#include "disk/Dropzone.h"
#include "host/DateTime.h"
#include "serial/Consoles.h"
#include "support/FakeConsoles.h"
#include "support/ScriptedHost.h"
#include "shell/MainWindowState.h"
#include "shell/Neighbours.h"
#include "shell/SettingsStore.h"
#include "shell/StatusText.h"
#include "support/TestMachine.h"
#include "unit/bus/LoaderFiles.h"

namespace korva {
namespace {

using test::TestMachine;

// The window logic with scripted clocks and a record of what it asked of the widgets.
class TestWindow final : public MainWindowState {
 public:
  std::chrono::steady_clock::time_point steady{};
  double host = 0;
  int focusCalls = 0;
  bool resetButtonsOffDuringReset = false;
  Placement placement;

 protected:
  void FocusDummy() override {
    ++focusCalls;
    // The reset handlers move the focus while the reset runs.
    if (!view().PowerOnResetEnabled && !view().ResetEnabled && view().MousePointer == PointerHourglass)
      resetButtonsOffDuringReset = true;
  }
  void ProcessEvents() override {}
  Placement CurrentPlacement() const override { return placement; }
  void ApplyPlacement(const Placement& p) override { placement = p; }
  std::chrono::steady_clock::time_point SteadyNow() const override { return steady; }
  double HostNow() const override { return host; }
};

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    SetMainForm(&window);
    PowerOnResetDone = False;
    QuitRequested = False;
    KbdLock = False;
    ScreenMergeMode = 0;
  }
  ~MainWindowTest() override {
    SetMainForm(nullptr);
    SetOneSecondTimer(nullptr);
  }
  TestMachine machine;  // first: it resets the host slot
  ScriptedHost host;
  TestWindow window;
};

bool OnlyPowerOnResetEnabled(const MainWindowState::View& v) {
  return v.PowerOnResetEnabled && !v.StopRunEnabled && !v.ResetEnabled && !v.AbortEnabled &&
         !v.BootItemEnabled[0] && !v.BootItemEnabled[1];
}

TEST_F(MainWindowTest, RunControlsFollowTheResets) {
  SetCpuRunning(False);
  window.PorGui(PowerOnResetDone);
  EXPECT_TRUE(OnlyPowerOnResetEnabled(window.view()));
  EXPECT_EQ(window.view().StopRunCaption, "Run");

  window.ResetClick();  // before any power-on reset
  EXPECT_TRUE(OnlyPowerOnResetEnabled(window.view()));
  EXPECT_TRUE(window.resetButtonsOffDuringReset);

  window.resetButtonsOffDuringReset = false;
  window.PowerOnResetClick();
  const auto& v = window.view();
  EXPECT_TRUE(v.PowerOnResetEnabled && v.StopRunEnabled && v.ResetEnabled && v.AbortEnabled);
  EXPECT_TRUE(window.resetButtonsOffDuringReset);
  EXPECT_EQ(v.StopRunCaption, "Stop");  // the reset leaves the processor running
  EXPECT_EQ(v.MousePointer, PointerDefault);

  window.StopRunClick();
  EXPECT_EQ(CpuRunning, False);
  EXPECT_EQ(v.StopRunCaption, "Run");
  window.StopRunClick();
  EXPECT_EQ(CpuRunning, True);

  window.AbortClick();
  EXPECT_EQ(Exceptions.IsIP(20), True);
}

TEST_F(MainWindowTest, ResetFromInsideABusCycleWaitsForTheWordToEnd) {
  // STOP pumps window events while it waits; the power-on reset and the abort
  // clicked there are applied only after the word.
  machine.Words(0x1000, {0x4E72, 0x2700});  // STOP #$2700
  machine.SetPC(0x1000);
  bool clicked = false, appliedInside = false;
  host.OnPumpEvents = [&] {
    if (clicked) return;
    clicked = true;
    window.PowerOnResetClick();
    window.AbortClick();
    appliedInside = PowerOnResetDone != 0 || Exceptions.IsIP(20) != 0;
  };
  for (int i = 0; i < 100 && !clicked; ++i) machine.ExecuteWord();
  ASSERT_TRUE(clicked);
  EXPECT_FALSE(appliedInside);
  EXPECT_EQ(PowerOnResetDone, True);
  EXPECT_EQ(Exceptions.IsIP(20), True);
  EXPECT_EQ(mcPC, uint32_t{McReset});
  EXPECT_EQ(ControlLatch, 0);
}

TEST_F(MainWindowTest, LightsDropFormatAndPointer) {
  const auto& v = window.view();
  const auto before = v.Lights;
  for (int32_t index : {4, -1, 65536}) window.SetFailLights(index, True);  // 65536 is no "Halt"
  EXPECT_EQ(v.Lights, before);
  window.SetFailLights(3, True);
  EXPECT_EQ(v.Lights[3], FailLightOn);

  int16_t code = 9;
  window.SelectDropFormat(code);
  EXPECT_EQ(code, 4);
  EXPECT_EQ(DropFormat, 4);
  EXPECT_TRUE(v.DropFormatTicked[4]);

  HostTimer& periodic = Host().PeriodicTimer();
  periodic.Interval(10);
  periodic.Enabled(true);
  window.TakesAwhile(True);
  window.TakesAwhile(True);  // nested: not counted, the hourglass is not saved
  EXPECT_EQ(v.MousePointer, PointerHourglass);
  EXPECT_FALSE(periodic.Enabled());
  EXPECT_EQ(v.Lights[4], DiskLightOff);
  window.DelayOver(True);
  EXPECT_EQ(v.MousePointer, PointerDefault);
  EXPECT_TRUE(periodic.Enabled());
  EXPECT_FALSE(window.LongOpActive());
  window.TakesAwhile(True);
  window.DelayOver(False);  // the timer stays held
  EXPECT_FALSE(periodic.Enabled());
}

TEST_F(MainWindowTest, ThrottlesLoadApplyAndCycle) {
  host.PresetSetting("General", "ThrottleCPU", "40");       // out of range: default
  host.PresetSetting("General", "Throttle2661", "junk");    // not a number: default
  Sn2661PollCount = Mvme400PollCount = RwinPollCount = DisplayYieldCount = 3;
  InitializeSettings();
  const auto& v = window.view();
  EXPECT_EQ(v.Throttle, (std::array<int16_t, 5>{10, 12, 9, 7, 0}));
  EXPECT_EQ(v.Vsc, "T=1023");
  EXPECT_EQ(CpuThrottleMask, 1023);
  EXPECT_EQ(Sn2661PollCount, 4095);  // countdowns reloaded: the rate applies at once
  EXPECT_EQ(DisplayYieldCount, 0);
  for (int i = 0; i < 6; ++i) window.VscLabelClick();  // the label cycles through the five bars
  EXPECT_EQ(v.Vsc, "T=1023");

  window.SetThrottleBar(ThrottleBar::vscRWIN, 99);  // clamped to the bar's range
  EXPECT_EQ(v.Throttle[static_cast<size_t>(ThrottleBar::vscRWIN)], 15);
  EXPECT_EQ(RwinPollInterval, 32767);
  window.SetThrottleBar(ThrottleBar::vscSN2661, -5);
  EXPECT_EQ(Sn2661PollInterval, 0);
  window.ResetThrottles();
  EXPECT_EQ(v.Throttle, (std::array<int16_t, 5>{10, 12, 9, 7, 0}));
  EXPECT_EQ(v.Vsc, "D=0");
}

TEST_F(MainWindowTest, OneSecondTick) {
  window.FormLoad();
  window.SetDiskLight(0x0000FF);
  InstructionCount = 1001;
  window.host = *DateSerial(2026, 12, 7, 15, 4, 5);
  window.OneSecondTick();
  EXPECT_EQ(window.view().Ips, "1.001 KIPS");
  EXPECT_EQ(window.view().Lights[4], DiskLightOff);
  EXPECT_EQ(InstructionCount, 0u);
  // The clock runs at its offset from the host's time.
  EXPECT_EQ(EmulatedTimeLabel, EmulatedTimeText(window.host + Rtc.DateTimeOffset()));
  EXPECT_EQ(EmulatedTimeText(window.host), "03:04:05 PM   Dec 7, 2026");

  // A tick two seconds late shows the rate over the time that really passed.
  InstructionCount = 3000;
  window.steady += std::chrono::seconds(2);
  window.host = *DateSerial(2026, 12, 7, 0, 4, 5);
  window.OneSecondTick();
  EXPECT_EQ(window.view().Ips, "1.500 KIPS");
  EXPECT_EQ(EmulatedTimeText(window.host), "12:04:05 AM   Dec 7, 2026");
}

TEST(StatusText, Texts) {
  const std::pair<uint64_t, const char*> ips[] = {
      {1000, "1000 IPS"}, {1000000, "1000.000 KIPS"}, {1000001, "1.000001 MIPS"}, {1999999999, "2.000000 BIPS"}};
  for (const auto& [n, text] : ips) EXPECT_EQ(IpsText(n), text);
  EXPECT_EQ(InstructionsPerSecond(2000, 0), 2000u);  // no time measured: no division
  EXPECT_EQ(MainCaption(""), "Korvan");
}

TEST_F(MainWindowTest, LoadAndUnload) {
  ProfileName = "LAB2";
  host.PresetSetting("Main", "Top", "120");
  host.PresetSetting("Main", "Left", "x");  // not a number: the current value
  window.placement.Left = 33;
  window.FormLoad();
  ProfileName = "";
  EXPECT_EQ(window.view().Caption, "Korvan - LAB2");
  EXPECT_EQ(window.placement.Top, 120);
  EXPECT_EQ(window.placement.Left, 33);
  EXPECT_TRUE(TimerOneSec->Running());

  // Closing while minimised keeps the placement saved before. The console
  // windows close port by port, after the kinds are saved: a TTY window whose
  // unload sets its port's kind to None leaves the saved kind as it was.
  test::FakeConsoleFactories consoles;
  ConsoleType[0] = ConsoleTTY;
  ConsoleType[2] = ConsoleTTY;
  ConsoleType[3] = ConsoleCRT;
  OpenConsoles();
  ConsoleType[0] = ConsoleNET;
  OpenConsoles();
  ConsoleType[0] = ConsoleTTY;
  std::string savedAtClose;
  consoles.tty[0]->OnClose = [&] {
    savedAtClose = host.StoredSetting("Devices", "ConsoleType0").value_or("");
    ConsoleType[0] = ConsoleNone;
    TerminalForms[0] = nullptr;
  };
  consoles.log.clear();
  test::TempFolder dir;
  const std::string dload = dir.Write("korva-dload.bin", std::string("0123456789"));
  ASSERT_TRUE(OpenDloadFile(dload, "korva-dload.bin"));
  ASSERT_EQ(DloadFileLength, 10);
  window.placement = {5, 6, 1};
  window.FormUnload();
  window.FormUnload();  // once only
  EXPECT_EQ(QuitRequested, True);
  EXPECT_FALSE(TimerOneSec->Enabled());
  EXPECT_EQ(consoles.log, "tty0.close net0.close tty2.close crt3.close ");
  EXPECT_EQ(savedAtClose, "1");
  EXPECT_EQ(host.StoredSetting("Devices", "ConsoleType0"), "1");
  EXPECT_EQ(ConsoleType[0], ConsoleNone);
  EXPECT_EQ(TerminalForms[2], nullptr);
  EXPECT_EQ(NetPortForms[0], nullptr);
  ConsoleType = {};
  EXPECT_EQ(DloadFileOpen, False);
  EXPECT_EQ(DloadFileLength, 0);
  EXPECT_EQ(host.StoredSetting("Main", "WindowState"), "1");
  EXPECT_EQ(host.StoredSetting("Main", "Top"), "120");
  EXPECT_EQ(host.StoredSetting("General", "ThrottleCPU"), "0");  // never set: position 0
}

}  // namespace
}  // namespace korva
