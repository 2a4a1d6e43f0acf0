// The mov_*.s guest programs: moves, flow, MOVEM, multiply/divide, bounds and
// MOVES on the three processor models; the CPU32 forms; STOP ended by an
// interrupt; MOVPHY with its option off and on.
#include <gtest/gtest.h>

#include "bus/Exceptions.h"
#include "bus/Memory.h"
#include "shell/BootDrive.h"
#include "support/GuestProgram.h"
#include "tables/OpMap.h"

namespace korva::test {
namespace {

constexpr uint32_t kResults = 0x4800;  // values the mov programs leave for the host

class MoveGuest : public ::testing::TestWithParam<uint16_t> {};

TEST_P(MoveGuest, CoreInstructions) {
  TestMachine m;
  const uint16_t model = GetParam();
  m.UseModel(static_cast<CpuModel>(model));
  RunSelfCheckingProgram(m, "mov_core.s19", 83);
  // MOVEC's emulator registers 0x700-0x707.
  const uint32_t frameKind = model == Cpu68000 ? 0 : 0x101;
  const uint32_t expected[8] = {0, 1, 0, 15, model, frameKind, 0, static_cast<uint32_t>(BootDrive)};
  for (uint32_t i = 0; i < 8; ++i)
    EXPECT_EQ(m.ReadLong(kResults + 4 * i), expected[i]) << "MOVEC 0x70" << i << " on " << ModelName(model);
  // MOVE from SR in user state is privileged except on the MC68000.
  EXPECT_EQ(m.ReadWord(kResults + 0x22), model == Cpu68000 ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Models, MoveGuest, ::testing::Values(Cpu68000, Cpu68010, Cpu32),
                         [](const ::testing::TestParamInfo<uint16_t>& i) { return std::string(ModelName(i.param)); });

TEST(MoveGuestCpu32, LongFormsBoundsTrapsAndLpstop) {
  TestMachine m;
  m.UseModel(Cpu32);
  RunSelfCheckingProgram(m, "mov_cpu32.cpu32.s19", 69);
}

class MoveGuestStop : public ::testing::TestWithParam<uint16_t> {};

TEST_P(MoveGuestStop, AnInterruptEndsTheWait) {
  TestMachine m;
  m.UseModel(static_cast<CpuModel>(GetParam()));
  ASSERT_TRUE(m.LoadSrec("mov_stop.s19"));
  ASSERT_EQ(m.ResetCpu(), Stop::Fetch);
  ASSERT_EQ(m.RunUntilStop(1000), Stop::StopInstr);
  const uint32_t stopNext = CpuPC;
  for (int i = 0; i < 5; ++i) EXPECT_EQ(m.StepInstruction(), Stop::StopInstr);  // still waiting

  Exceptions.Mask(IntEntryKeyboardRx, 0);  // entry 7, level 3
  Exceptions.SetIP(IntEntryKeyboardRx);
  ASSERT_TRUE(HipPending);
  ASSERT_EQ(m.StepInstruction(), Stop::Fetch);  // the wait ends, the interrupt is taken
  Exceptions.ClrIP(IntEntryKeyboardRx);                // the handler's device is served
  ASSERT_EQ(m.RunUntilStop(1000), Stop::StopInstr);
  EXPECT_EQ(m.ReadWord(kResults), static_cast<uint16_t>(InterruptTable[IntEntryKeyboardRx].VectorAddress));
  EXPECT_EQ(m.ReadWord(kResults + 2), 1);
  EXPECT_EQ(m.ReadLong(kResults + 4), stopNext);
  EXPECT_EQ(m.ReadWord(kResults + 8) & 0xFF00, 0x2200);

  Exceptions.SetIP(IntEntryKeyboardRx);  // masked by the processor: ends the wait only
  ASSERT_EQ(m.RunUntilStop(1000), Stop::StopInstr);
  EXPECT_EQ(m.ReadWord(kResults + 10), 0);
  EXPECT_EQ(m.ReadWord(kResults + 12) & 0xFF00, 0x2700);
  EXPECT_EQ(m.ReadLong(kDoneAt), kDoneMark);
  Exceptions.ClrIP(IntEntryKeyboardRx);
}

INSTANTIATE_TEST_SUITE_P(Models, MoveGuestStop, ::testing::Values(Cpu68000, Cpu68010, Cpu32),
                         [](const ::testing::TestParamInfo<uint16_t>& i) { return std::string(ModelName(i.param)); });

class MoveGuestMovphy : public ::testing::TestWithParam<uint16_t> {
 protected:
  void Run(bool on, uint16_t checks) {
    TestMachine m;
    m.UseModel(static_cast<CpuModel>(GetParam()));
    MovePhysEn = ToVBool(on);
    MapMovePhysical();
    m.SetDeviceCode(0x5000, 0x5003, DcRom);
    m.WriteLong(0x5000, 0x0BADF00D);
    m.WriteWord(kResults + 0x30, on ? 1 : 0);
    RunSelfCheckingProgram(m, "mov_movphy.s19", checks);
    EXPECT_EQ(m.ReadLong(0x5000), 0x0BADF00Du);
  }
};

TEST_P(MoveGuestMovphy, LineFWhileOff) { Run(false, 3); }
TEST_P(MoveGuestMovphy, PhysicalMovesWhileOn) { Run(true, 12); }

INSTANTIATE_TEST_SUITE_P(Models, MoveGuestMovphy, ::testing::Values(Cpu68000, Cpu68010, Cpu32),
                         [](const ::testing::TestParamInfo<uint16_t>& i) { return std::string(ModelName(i.param)); });

}  // namespace
}  // namespace korva::test
