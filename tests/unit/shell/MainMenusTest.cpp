// The Devices, Memory and Options menus without widgets: plug items, the CPU
// model, the display and clock options and "Set Switches ...".
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "board/BoardSettings.h"
#include "board/KeyboardDisplay.h"
#include "board/Rtc1468hc18.h"
#include "board/SCM.h"
#include "bus/Memory.h"
#include "bus/Plugging.h"
#include "bus/Rom.h"
#include "cpu/BoundaryCommands.h"
#include "cpu/CpuState.h"
#include "disk/DiskSettings.h"
#include "support/ScriptedHost.h"
#include "serial/MVME400.h"
#include "tables/FixedTables.h"
#include "shell/MainFormHooks.h"
#include "shell/MainMenus.h"
#include "shell/PlugFlags.h"
#include "tables/OpMap.h"
#include "support/GuestProgram.h"
#include "support/TestMachine.h"

using namespace korva;

namespace {

// Counts the long-operation brackets: every whole-screen merge opens one.
struct BusyCountingForm : MainFormHooks {
  int Brackets = 0;
  void TakesAwhile(VBool) override { ++Brackets; }
};

// The menus' neighbours back to their start-up state after each test.
class MainMenusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPlugFlags();
    SetMainForm(&form);
  }
  void TearDown() override {
    SetMainForm(nullptr);
    ResetPlugFlags();
  }
  test::TestMachine m;
  ScriptedHost host;
  BusyCountingForm form;
};

// A dialog that answers from the test: it may change its fields, then OK or Cancel.
class ScriptedJumpers : public JumperDialog {
 public:
  std::function<void(JumperFields&)> Edit;
  int16_t Answer = 1;
  JumperFields Shown;
  void ShowJumpers(int32_t) override {
    Shown = Fields;
    if (Edit) Edit(Fields);
    DialogResult = Answer;
  }
};

}  // namespace

TEST_F(MainMenusTest, PlugItemsMapTheirRangeAndTheCaptionFollowsAtTheNextOpening) {
  m.WriteWord(0x200000, 0x1234);
  PlugMVME400C0(True);
  DevicesMenuView v;
  PlugItemClick(0);  // the processor stands at a boundary: at once
  EXPECT_EQ(v.PlugCaptions[0], "");
  RefreshDevicesMenu(v);
  EXPECT_EQ(v.PlugCaptions[0], "Plug MVME400 Card 0");
  EXPECT_EQ(CellOf(0xF1C1DE).Device, DcBoardIo);
  PlugItemClick(0);
  RefreshDevicesMenu(v);
  EXPECT_EQ(v.PlugCaptions[0], "Unplug MVME400 Card 0");
  EXPECT_EQ(CellOf(0xF1C1C0).Device, DcMvme400C0);
  EXPECT_EQ(m.ReadWord(0x200000), 0x1234);

  MemoryItemClick(1);  // $180000-$1BFFFF out
  DropzonePlugged = False;  // changed elsewhere: shown at the next opening too
  ScreenOpened = True;
  RefreshDevicesMenu(v);
  EXPECT_TRUE(!v.MemoryTicked[1] && v.MemoryTicked[2]);
  EXPECT_EQ(CellOf(0x1BFFFE).Device, DcNothing);
  EXPECT_EQ(CellOf(0x1C0000).Device, DcRam);
  EXPECT_EQ(v.PlugCaptions[8], "Plug Dropzone");
  EXPECT_EQ(v.ScreenCaption, "Close Screen/Keyboard");
  struct Window : KeyboardDisplayHooks {
    std::string Calls;
    void KeyboardDisplayShow(int16_t) override { Calls += "show "; }
    void KeyboardDisplayHide() override { Calls += "hide "; }
  } window;
  SetKeyboardDisplayForm(&window);
  OpenScreenClick();
  OpenScreenClick();
  SetKeyboardDisplayForm(nullptr);
  EXPECT_EQ(window.Calls, "hide show ");
  EXPECT_EQ(ScreenOpened, True);
}

TEST_F(MainMenusTest, Mc68010ToMc68000RemapsOnlyMoveFromSr) {
  // The per-opcode counters survive everything but a full rebuild.
  for (uint32_t op : {0x4E71u, 0x40C0u, 0xD040u}) OpText[op].Value = 77;
  const std::vector<OpMapEntry> before(OpMap, OpMap + 65536);
  OptionsMenuView v;

  CpuModelClick(0);
  EXPECT_EQ(CpuType, Cpu68000);
  for (uint32_t op = 0; op < 65536; ++op) {
    const bool moveFromSr = op >= 0x40C0 && op <= 0x40FF;
    if (!moveFromSr) {
      ASSERT_EQ(std::memcmp(&OpMap[op], &before[op], sizeof(OpMapEntry)), 0) << std::hex << op;
    }
  }
  EXPECT_EQ(OpMap[0x40C0].Privileged, 0);
  EXPECT_EQ(OpText[0x4E71].Value, 77u);
  RefreshOptionsMenu(v);
  EXPECT_EQ(v.CpuTicked, (std::array<bool, 3>{true, false, false}));

  CpuModelClick(0);  // the model in force: nothing
  EXPECT_EQ(OpText[0x40C0].Value, 77u);
  CpuModelClick(2);
  EXPECT_EQ(CpuType, Cpu32);
  EXPECT_EQ(OpText[0x4E71].Value, 0u);  // rebuilt
  OpText[0x4E71].Value = 77;
  CpuModelClick(0);
  EXPECT_EQ(CpuType, Cpu68000);
  EXPECT_EQ(OpText[0x4E71].Value, 0u);
  EXPECT_EQ(OpMap[0xD040].UserStart, before[0xD040].UserStart);
  CpuModelClick(1);
  EXPECT_EQ(std::memcmp(OpMap, before.data(), sizeof(OpMapEntry) * 65536), 0);

  // The bracket processes window events: a switch chosen there runs first, and
  // the outer one then starts from the model it left.
  struct NestingForm : MainFormHooks {
    bool nested = false;
    void TakesAwhile(VBool) override {
      if (!std::exchange(nested, true)) CpuModelClick(2);
    }
  } nesting;
  SetMainForm(&nesting);
  CpuModelClick(0);
  SetMainForm(&form);
  EXPECT_EQ(CpuType, Cpu68000);
  EXPECT_EQ(OpMap[0x49C0].UserStart, McIllegal);  // EXTB.L is CPU32's only
}

// The guest asks for the MC68000 in the middle of an instruction (a control
// register read processes window events); the switch waits for the end of it.
TEST_F(MainMenusTest, ASwitchWhileAProgramRunsTakesEffectBetweenTwoInstructions) {
  ASSERT_TRUE(m.LoadSrec("menu_model_switch.s19"));
  m.SetDeviceCode(0xF19F04, 0xF19F05, DcCR0);
  int reads = 0;
  bool requested = false;
  host.OnPumpEvents = [&] {
    if (++reads != 3) return;
    CpuModelClick(0);
    requested = true;
    EXPECT_EQ(CpuType, Cpu68010);
    EXPECT_EQ(HeldBoundaryCommands(), 1);
  };
  ASSERT_EQ(m.ResetCpu(), test::Stop::Fetch);
  bool applied = false;
  for (int words = 0; words < 100000 && !applied; ++words) {
    m.ExecuteWord();
    if (!requested) continue;
    // Not before the instruction that asked has ended, and at the first boundary after it.
    if (AtInstructionBoundary()) applied = true;
    ASSERT_EQ(CpuType, applied ? Cpu68000 : Cpu68010) << "word " << words << " at " << mcPC;
  }
  ASSERT_TRUE(applied);
  ASSERT_EQ(m.RunUntilStop(100000), test::Stop::StopInstr);
  test::ExpectChecksPassed(m, "menu_model_switch", 2);
}

TEST_F(MainMenusTest, DisplayRomAndClockOptions) {
  OptionsMenuView v;
  // Set IG / Clear IG: the caption is refreshed before it is read.
  Scm.CR1(0x10);
  v.SetIgCaption = "Clear IG";  // stale
  SetIgClick(v);
  EXPECT_EQ(Scm.CR1(), 0x90);
  RefreshOptionsMenu(v);
  EXPECT_EQ(v.SetIgCaption, "Clear IG");
  SetIgClick(v);
  EXPECT_EQ(Scm.CR1(), 0x10);

  // Swap ROM while the ROM is at 0 sets the unswap bit; else the ROM goes back to 0.
  SwapRomToZero();
  RefreshOptionsMenu(v);
  EXPECT_EQ(v.SwapRomCaption, "Unswap ROM");
  SwapRomClick();
  EXPECT_EQ(Scm.CR1(), 0x11);
  EXPECT_EQ(RomAtZero, False);  // the module moved it
  SwapRomClick();
  EXPECT_EQ(Scm.CR1(), 0x10);
  EXPECT_EQ(RomAtZero, True);
  SwapRomToHigh();
  Scm.CR1(0);

  // Century: 19 and 20 swap; any other leaves both the century and the caption.
  const uint8_t century = Rtc.Century();
  Rtc.Century(19);
  CenturyClick();
  RefreshOptionsMenu(v);
  EXPECT_EQ(Rtc.Century(), 20);
  EXPECT_EQ(v.CenturyCaption, "Set Century 19");
  Rtc.Century(21);
  CenturyClick();
  RefreshOptionsMenu(v);
  EXPECT_EQ(Rtc.Century(), 21);
  EXPECT_EQ(v.CenturyCaption, "Set Century 19");
  Rtc.Century(century);

  // White phosphor fills the palette without merging the screen again.
  const auto green = PhosphorPalette;
  const int brackets = form.Brackets;
  WhitePhosphor = False;
  WhitePhosphorClick();
  EXPECT_EQ(PhosphorPalette[7] & 0xFF, (PhosphorPalette[7] >> 8) & 0xFF);  // grey levels
  WhitePhosphorClick();
  EXPECT_EQ(PhosphorPalette, green);
  EXPECT_EQ(form.Brackets, brackets);  // no merge
}

TEST_F(MainMenusTest, SetSwitchesAppliesOnlyAfterOk) {
  SrSW0 = False;
  SrSW1 = False;
  RwinJ16 = {False, True, False, True, True, True, True, True};  // FSR0 clear, FSR1 set
  MVME400C0.IRQA(2);
  MVME400C0.BaudB(6);
  ScriptedJumpers dlg;
  const int& remerges = form.Brackets;  // nothing else here opens a bracket
  dlg.Edit = [](JumperFields& f) {
    f.SrSW1 = True;
    f.M400C0IRQAInt = 4;
    f.J16FSR0 = True;
  };
  dlg.Answer = 0;
  SetSwitchesClick(dlg);
  EXPECT_EQ(dlg.Shown.J16FSR1, True);  // the controller keeps FSR0 first
  EXPECT_EQ(dlg.Shown.M400C0BaudB, 6);
  EXPECT_TRUE(SrSW1 == False && MVME400C0.IRQA() == 2 && remerges == 0);  // Cancel applies nothing

  dlg.Answer = 1;
  SetSwitchesClick(dlg);
  EXPECT_TRUE(SrSW1 == True && MVME400C0.IRQA() == 4 && RwinJ16[2] == True && remerges == 1);

  dlg.Edit = [](JumperFields& f) { f.SrSW0 = True; };  // SW0 alone: no merge
  SetSwitchesClick(dlg);
  EXPECT_EQ(SrSW0, True);
  EXPECT_EQ(remerges, 1);

  dlg.Edit = nullptr;  // OK without a change: the machine as it was
  const JumperFields live = JumperFieldsFromMachine();
  SetSwitchesClick(dlg);
  EXPECT_EQ(JumperFieldsFromMachine(), live);
  SrSW0 = SrSW1 = False;
}
