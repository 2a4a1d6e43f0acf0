// Guest programs for what the MC68000 vectors cannot show: the MC68010's
// exception frames as guest software sees them (v10_frames.s) and the CPU32's
// indexed addressing (v32_addressing.cpu32.s). Both count their own checks.
#include <gtest/gtest.h>

#include <string>

#include "bus/Memory.h"
#include "cpu/CpuState.h"
#include "tables/OpMap.h"
#include "unit/support/TestMachine.h"

namespace korva {
namespace {

using test::Stop;
using test::TestMachine;

constexpr uint32_t kFails = 0x400, kChecks = 0x402, kFirst = 0x404, kDone = 0x408;
constexpr uint32_t kDoneMark = 0x600DF00D;

void RunSelfChecking(TestMachine& m, const std::string& image, uint16_t checks) {
  ASSERT_TRUE(m.LoadSrec(image)) << image;
  ASSERT_EQ(m.ResetCpu(), Stop::Fetch);
  const Stop stop = m.RunUntilStop(200000);
  ASSERT_EQ(stop, Stop::StopInstr) << image << ": " << test::StopName(stop) << " at PC " << std::hex << CpuPC
                                   << ", mcErrorPC " << mcErrorPC;
  EXPECT_EQ(m.ReadLong(kDone), kDoneMark) << image << ": stopped early at PC " << std::hex << CpuPC
                                          << " after check " << std::dec << m.ReadWord(kChecks);
  EXPECT_EQ(m.ReadWord(kFails), 0) << image << ": first failed check " << m.ReadWord(kFirst);
  EXPECT_EQ(m.ReadWord(kChecks), checks) << image << ": checks run";
}

TEST(ModelGuest, Mc68010FramesVbrAndSoftwareRerun) {
  TestMachine m;  // MC68010
  m.SetDeviceCode(0x7000, 0x70FF, DcNothing);
  RunSelfChecking(m, "v10_frames.s19", 27);
}

TEST(ModelGuest, Cpu32ScaledAndFullFormatIndexes) {
  TestMachine m;
  ClearOpMap();
  ClearOpText();
  SelectCpu32();
  BuildOpMap();
  BuildExtWordTable();
  RunSelfChecking(m, "v32_addressing.cpu32.s19", 17);
  // Put the tables back for the tests that follow.
  ClearOpMap();
  ClearOpText();
  SelectCpu68010();
  BuildOpMap();
  BuildExtWordTable();
}

// The same full-format words on the MC68010 are brief words: the scale is
// ignored and nothing takes the illegal path.
TEST(ModelGuest, Mc68010IndexesWithoutScale) {
  TestMachine m;
  m.Words(0x1000, {0x43F0, 0x1404});  // LEA (4,A0,D1.W*4),A1
  CpuAReg[0] = 0x3000;
  CpuDReg[1] = 3;
  m.SetPC(0x1000);
  ASSERT_EQ(m.StepInstruction(), Stop::Fetch);
  EXPECT_EQ(CpuAReg[1], 0x3007u);
  m.Words(0x1000, {0x43F0, 0x1F10});  // CPU32: null-displacement full format; here d8 = 0x10
  m.SetPC(0x1000);
  ASSERT_EQ(m.StepInstruction(), Stop::Fetch);
  EXPECT_EQ(CpuAReg[1], 0x3000u + 0x10 + 3);
  EXPECT_EQ(CpuPC, 0x1004u);
}

// UNLK through an odd frame pointer is an address error on the stack of the
// moment (not a double fault on a stack moved to the odd address); the pointer
// and A7 keep their values.
TEST(ModelGuest, UnlkWithAnOddFramePointerTakesAnAddressError) {
  for (uint16_t model : {uint16_t{Cpu68010}, uint16_t{Cpu68000}}) {
    TestMachine m;
    if (model == Cpu68000) {
      SelectCpu68000();
      MapMoveFromSr();
    }
    m.WriteLong(0x0C, 0x3000);
    m.Words(0x3000, {0x4E72, 0x2700});
    m.Words(0x1000, {0x4E5D});  // UNLK A5
    CpuAReg[5] = 0x5001;
    CpuAReg[7] = 0x8000;
    m.SetPC(0x1000);
    ASSERT_EQ(m.StepInstruction(), Stop::Fetch) << model;
    EXPECT_EQ(CpuPC, 0x3000u) << model;
    EXPECT_EQ(CpuAReg[5], 0x5001u) << model;
    if (model == Cpu68000) {
      EXPECT_EQ(CpuAReg[7], 0x8000u - 14);
      EXPECT_EQ(m.ReadLong(CpuAReg[7] + 2), 0x5001u);  // the access address
      SelectCpu68010();
      MapMoveFromSr();
    } else {
      EXPECT_EQ(CpuAReg[7], 0x8000u - 58);
      EXPECT_EQ(m.ReadWord(CpuAReg[7] + 6), 0x800C);
      EXPECT_EQ(m.ReadLong(CpuAReg[7] + 10), 0x5001u);
    }
  }
}

}  // namespace
}  // namespace korva
