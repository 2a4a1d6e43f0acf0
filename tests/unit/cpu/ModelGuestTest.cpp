// Guest programs for what the MC68000 vectors cannot show: the MC68010's
// exception frames as guest software sees them (v10_frames.s), the CPU32's
// indexed addressing (v32_addressing.cpu32.s) and the return from format-2
// frames on both models that stack them (rte_format2.s).
#include <gtest/gtest.h>

#include "bus/Memory.h"
#include "cpu/CpuState.h"
#include "support/GuestProgram.h"

namespace korva {
namespace {

using test::Stop;
using test::TestMachine;

TEST(ModelGuest, Mc68010FramesVbrAndSoftwareRerun) {
  TestMachine m;  // MC68010
  m.SetDeviceCode(0x7000, 0x70FF, DcNothing);
  test::RunSelfCheckingProgram(m, "v10_frames.s19", 27);
}

TEST(ModelGuest, Cpu32ScaledAndFullFormatIndexes) {
  TestMachine m;
  m.UseModel(Cpu32);
  test::RunSelfCheckingProgram(m, "v32_addressing.cpu32.s19", 17);
}

class Format2Return : public ::testing::TestWithParam<CpuModel> {};

TEST_P(Format2Return, EachHandlerReturns) {
  TestMachine m;
  m.UseModel(GetParam());
  UseFormat2Stack = True;  // after the model selection, which clears it
  test::RunSelfCheckingProgram(m, "rte_format2.s19", 5, 10000);
}

INSTANTIATE_TEST_SUITE_P(Models, Format2Return, ::testing::Values(Cpu68010, Cpu32),
                         [](const ::testing::TestParamInfo<CpuModel>& i) { return std::string(test::ModelName(i.param)); });

// UNLK through an odd frame pointer is an address error on the stack of the
// moment (not a double fault on a stack moved to the odd address); the pointer
// and A7 keep their values.
TEST(ModelGuest, UnlkWithAnOddFramePointerTakesAnAddressError) {
  TestMachine m;  // MC68010: a format-8 frame on the stack of the moment
  m.WriteLong(0x0C, 0x3000);
  m.Words(0x3000, {0x4E72, 0x2700});
  m.Words(0x1000, {0x4E5D});  // UNLK A5
  CpuAReg[5] = 0x5001;
  CpuAReg[7] = 0x8000;
  m.SetPC(0x1000);
  ASSERT_EQ(m.StepInstruction(), Stop::Fetch);
  EXPECT_EQ(CpuPC, 0x3000u);
  EXPECT_EQ(CpuAReg[5], 0x5001u);
  EXPECT_EQ(CpuAReg[7], 0x8000u - 58);
  EXPECT_EQ(m.ReadWord(CpuAReg[7] + 6), 0x800C);
  EXPECT_EQ(m.ReadLong(CpuAReg[7] + 10), 0x5001u);
}

}  // namespace
}  // namespace korva
