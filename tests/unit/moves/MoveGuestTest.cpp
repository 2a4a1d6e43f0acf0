// The mov_*.s guest programs on the three processor models.
#include "shell/BootDrive.h"
#include "unit/moves/GuestRun.h"

namespace korva::movetest {

class MoveGuest : public ::testing::TestWithParam<uint16_t> {};

TEST_P(MoveGuest, CoreInstructions) {
  test::TestMachine m;
  const uint16_t model = GetParam();
  RunSelfChecking(m, "mov_core.s19", model, 132);
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

}  // namespace korva::movetest
