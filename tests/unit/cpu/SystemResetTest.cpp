// The reset micro-routine, the system reset, the cursor-layer clearing, and the
// start-up path: a fresh test machine carries nothing over from the one before it.
#include <gtest/gtest.h>
#include <cstdint>
#include <vector>
#include "board/Rtc1468hc18.h"
#include "board/SCM.h"
#include "board/ScreenCompositor.h"
#include "bus/Exceptions.h"
#include "bus/MMU.h"
#include "bus/Memory.h"
#include "cpu/ControlStore.h"
#include "cpu/CpuState.h"
#include "cpu/SystemReset.h"
#include "cpu/classCPU.h"
#include "serial/MVME400.h"
#include "shell/MainFormHooks.h"
#include "tables/OpMap.h"
#include "support/TestMachine.h"

namespace korva {
namespace {

using test::Stop;
using test::TestMachine;

struct LightRecorder : MainFormHooks {
  void SetFailLights(int32_t index, VBool on) override { calls.push_back({index, on}); }
  struct Call {
    int32_t index;
    VBool on;
  };
  std::vector<Call> calls;
};

class ResetTest : public ::testing::Test {
 protected:
  ResetTest() { SetMainForm(&lights); }
  ~ResetTest() override { SetMainForm(nullptr); }
  TestMachine m;
  LightRecorder lights;
};

// Every guest program starts through the reset; what it does not show: the
// reset from user state with a moved vector base, and the fail light.
TEST_F(ResetTest, ResetFromUserStateClearsTheVectorBaseAndTheFailLight) {
  m.WriteLong(0, 0x00012000);
  m.WriteLong(4, 0x00001000);
  m.SetSR(0x0000);
  CpuVBR = 0x400;
  EXPECT_EQ(m.ResetCpu(), Stop::Fetch);
  EXPECT_EQ(CpuAReg[7], 0x00012000u);
  EXPECT_EQ(CpuPC, 0x1000u);
  EXPECT_EQ(m.SR(), 0x2700);
  EXPECT_EQ(CpuVBR, 0u);
  ASSERT_FALSE(lights.calls.empty());
  EXPECT_EQ(lights.calls.back().index, 0);
  EXPECT_EQ(lights.calls.back().on, False);
}

TEST_F(ResetTest, FaultingVectorReadHaltsWithTheFailLight) {
  m.WriteLong(0, 0x00012000);
  m.SetDeviceCode(4, 7, DcNothing);
  CpuPC = 0x5555;
  EXPECT_EQ(m.ResetCpu(), Stop::Halt);
  EXPECT_EQ(CpuAReg[7], 0x00012000u);  // loaded before the fault, kept
  EXPECT_EQ(CpuPC, 0x5555u);
  // Run into the halt routine: the light goes on and is not switched off.
  for (int i = 0; i < 4; ++i) m.ExecuteWord();
  bool on = false, off = false;
  for (const auto& c : lights.calls) {
    if (c.index == 0 && c.on) on = true;
    if (c.index == 0 && !c.on) off = true;
  }
  EXPECT_TRUE(on);
  EXPECT_FALSE(off);
}

TEST_F(ResetTest, SystemResetRestartsTheStoppedProcessorAtTheResetRoutine) {
  SetCpuRunning(False);
  mcPC = 500;
  SystemReset(False);
  EXPECT_EQ(ResetRequest, True);
  EXPECT_EQ(CpuRunning, True);
  EXPECT_EQ(mcPC, static_cast<uint32_t>(McReset));
  EXPECT_EQ(mcStage, 1);
}

TEST_F(ResetTest, ClearGraphicsBufferClearsOnlyTheCursorLayers) {
  const int last = ScreenWidth * ScreenHeight - 1;
  ScreenBuffer[last] = {0x11, 0x22, 0x33, 0x44};
  HGCursorRow = 10;
  ScmHGCursor = 5;
  ClearGraphicsBuffer();
  EXPECT_EQ(ScreenBuffer[last].TextRGB, 0x11u);
  EXPECT_EQ(ScreenBuffer[last].TextCursorRGB, 0u);
  EXPECT_EQ(ScreenBuffer[last].GraphRGB, 0x33u);
  EXPECT_EQ(ScreenBuffer[last].GraphCursorRGB, 0u);
  EXPECT_EQ(HGCursorRow, 4095);
  EXPECT_EQ(ScmHGCursor, 0);
}

constexpr uint16_t kMovphy = 0xFE00;  // MOVPHY.B D0,D0 while the option is on

// Everything a test can leave behind, then a new machine.
TEST(Startup, ANewTestMachineCarriesNothingOver) {
  uint8_t freshCr1 = 0, freshRtc = 0;
  {
    TestMachine m;
    freshCr1 = Scm.CR1();
    freshRtc = Rtc.Reg(20);
    m.UseModel(Cpu32);
    AccSSW = 0x1105;
    AccAddress = 0x123456;
    AccDataOut = 0xBEEF;
    BusErrorFlag = FaultFlag = True;
    FaultMcPC = 777;
    FaultMcStage = 5;
    Cpu.InternalSW(0xFF);
    Exceptions.IMask(True);
    MovePhysEn = True;
    MapMovePhysical();
    Mmu.AccessMMU(0x20, 0x12);  // accumulator LBA, high byte
    Scm.CR1(0x55);
    Rtc.Reg(20, 0x66);
    MVME400C1.CRA(0x04);
    InitMicrocode();  // the control store unpatched, as no start-up leaves it
  }
  TestMachine m;
  EXPECT_EQ(AccSSW, 0);
  EXPECT_EQ(AccAddress, 0u);
  EXPECT_EQ(AccDataOut, 0);
  EXPECT_FALSE(FaultFlag || BusErrorFlag);
  EXPECT_EQ(FaultMcPC, 0u);
  EXPECT_EQ(FaultMcStage, 1);
  EXPECT_EQ(Cpu.InternalSW(), 0);
  EXPECT_FALSE(IMaskFlag);
  EXPECT_FALSE(MovePhysEn);
  EXPECT_EQ(OpMap[kMovphy].SupervisorStart, McLine1111);
  EXPECT_EQ(CpuType, Cpu68010);
  EXPECT_EQ(CpuFrameDelta, -8);
  EXPECT_EQ(Mmu.AccessMMU(0x20), 0);
  EXPECT_EQ(Scm.CR1(), freshCr1);
  EXPECT_EQ(Rtc.Reg(20), freshRtc);
  EXPECT_EQ(MVME400C1.CRA(), 0);
  EXPECT_EQ(MVME400C1.CardNumber(), 1);  // the boards keep their numbers
  // The store is patched for the MC68010 with the normal fetch, as Main leaves it.
  EXPECT_TRUE(CallsAt(McBusError, Mcr::mcrBerr));
  EXPECT_TRUE(CallsAt(McExecute, Mcr::mcrFetchDecode));
}

}  // namespace
}  // namespace korva
