// The start-up path: a fresh test machine carries nothing over from the one
// before it.
#include <gtest/gtest.h>
#include <cstdint>
#include "board/Rtc1468hc18.h"
#include "board/SCM.h"
#include "bus/Exceptions.h"
#include "bus/MMU.h"
#include "cpu/ControlStore.h"
#include "cpu/CpuState.h"
#include "cpu/classCPU.h"
#include "serial/MVME400.h"
#include "tables/OpMap.h"
#include "support/TestMachine.h"

namespace korva {
namespace {

using test::TestMachine;

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
