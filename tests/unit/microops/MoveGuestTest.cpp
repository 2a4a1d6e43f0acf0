// The mov_*.s guest programs: moves, flow, MOVEM, multiply/divide, bounds and
// MOVES on the three processor models; the CPU32 forms; STOP ended by an
// interrupt; MOVPHY with its option off and on.
#include "bus/Exceptions.h"
#include "bus/Memory.h"
#include "shell/BootDrive.h"
#include "unit/microops/GuestRun.h"

namespace korva::movetest {

class MoveGuest : public ::testing::TestWithParam<uint16_t> {};

TEST_P(MoveGuest, CoreInstructions) {
  test::TestMachine m;
  ModelGuard guard;
  const uint16_t model = GetParam();
  RunSelfChecking(m, "mov_core.s19", model, 83);
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
  test::TestMachine m;
  ModelGuard guard;
  RunSelfChecking(m, "mov_cpu32.cpu32.s19", Cpu32, 69);
}

class MoveGuestStop : public ::testing::TestWithParam<uint16_t> {};

TEST_P(MoveGuestStop, AnInterruptEndsTheWait) {
  test::TestMachine m;
  ModelGuard guard;
  UseModel(GetParam());
  ASSERT_TRUE(m.LoadSrec("mov_stop.s19"));
  ASSERT_EQ(m.ResetCpu(), test::Stop::Fetch);
  ASSERT_EQ(m.RunUntilStop(1000), test::Stop::StopInstr);
  const uint32_t stopNext = CpuPC;
  for (int i = 0; i < 5; ++i) EXPECT_EQ(m.StepInstruction(), test::Stop::StopInstr);  // still waiting

  Exceptions.Mask(IntEntryKeyboardRx, 0);  // entry 7, level 3
  Exceptions.SetIP(IntEntryKeyboardRx);
  ASSERT_TRUE(HipPending);
  ASSERT_EQ(m.StepInstruction(), test::Stop::Fetch);  // the wait ends, the interrupt is taken
  Exceptions.ClrIP(IntEntryKeyboardRx);                // the handler's device is served
  ASSERT_EQ(m.RunUntilStop(1000), test::Stop::StopInstr);
  EXPECT_EQ(m.ReadWord(kResults), static_cast<uint16_t>(InterruptTable[IntEntryKeyboardRx].VectorAddress));
  EXPECT_EQ(m.ReadWord(kResults + 2), 1);
  EXPECT_EQ(m.ReadLong(kResults + 4), stopNext);
  EXPECT_EQ(m.ReadWord(kResults + 8) & 0xFF00, 0x2200);

  Exceptions.SetIP(IntEntryKeyboardRx);  // masked by the processor: ends the wait only
  ASSERT_EQ(m.RunUntilStop(1000), test::Stop::StopInstr);
  EXPECT_EQ(m.ReadWord(kResults + 10), 0);
  EXPECT_EQ(m.ReadWord(kResults + 12) & 0xFF00, 0x2700);
  EXPECT_EQ(m.ReadLong(kDoneMagic), kDone);
  Exceptions.ClrIP(IntEntryKeyboardRx);
}

INSTANTIATE_TEST_SUITE_P(Models, MoveGuestStop, ::testing::Values(Cpu68000, Cpu68010, Cpu32),
                         [](const ::testing::TestParamInfo<uint16_t>& i) { return std::string(ModelName(i.param)); });

class MoveGuestMovphy : public ::testing::TestWithParam<uint16_t> {
 protected:
  void TearDown() override {
    MovePhysEn = False;
    MapMovePhysical();
  }
  void Run(bool on, uint16_t checks) {
    test::TestMachine m;
    ModelGuard guard;
    UseModel(GetParam());
    MovePhysEn = ToVBool(on);
    MapMovePhysical();
    m.SetDeviceCode(0x5000, 0x5003, DcRom);
    m.WriteLong(0x5000, 0x0BADF00D);
    m.WriteWord(kResults + 0x30, on ? 1 : 0);
    RunSelfChecking(m, "mov_movphy.s19", GetParam(), checks);
    EXPECT_EQ(m.ReadLong(0x5000), 0x0BADF00Du);
  }
};

TEST_P(MoveGuestMovphy, LineFWhileOff) { Run(false, 3); }
TEST_P(MoveGuestMovphy, PhysicalMovesWhileOn) { Run(true, 12); }

INSTANTIATE_TEST_SUITE_P(Models, MoveGuestMovphy, ::testing::Values(Cpu68000, Cpu68010, Cpu32),
                         [](const ::testing::TestParamInfo<uint16_t>& i) { return std::string(ModelName(i.param)); });

}  // namespace korva::movetest
