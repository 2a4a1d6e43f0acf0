// The arithmetic, shift and Dn operand routines called one at a time, for what
// the guest programs and the vectors cannot reach: flag values only the
// register setters can leave, immediate shift counts no opcode produces, size
// codes without a case, and a stage left over from an earlier routine.
#include <gtest/gtest.h>
#include <cstdint>
#include "cpu/CpuState.h"
#include "cpu/Microroutines.h"
#include "support/TestMachine.h"
#include "tables/OperandCodes.h"

namespace korva::test {
namespace {

constexpr uint32_t kOpcode = 0xA5A5;
constexpr uint32_t kStep = 1234;

class AluRoutineTest : public ::testing::Test {
 protected:
  AluRoutineTest() {
    OpMap[kOpcode] = OpMapEntry{};  // the machine's reset rebuilds the map for the next test
    CpuOpcode = kOpcode;
  }
  static OpMapEntry& Op() { return OpMap[kOpcode]; }
  static void Run(void (*routine)(), uint8_t stage = 1) {
    mcPC = kStep;
    mcStage = stage;
    routine();
  }
  TestMachine machine;
};

// ADDX and SUBX take any non-zero X as set, as the branch conditions do.
TEST_F(AluRoutineTest, ExtendedArithmeticCountsAnyNonZeroXAsSet) {
  struct Case {
    void (*routine)();
    uint16_t x;
    uint32_t result;
  };
  for (const Case& c : {Case{mcrADDX, 0, 0x30}, Case{mcrADDX, 1, 0x31}, Case{mcrADDX, 0x8000, 0x31},
                        Case{mcrADDX, 0xFFFF, 0x31}, Case{mcrSUBX, 0x8000, 0x0F}, Case{mcrSUBX, 0, 0x10}}) {
    Op().Size = 2;
    CpuX = c.x;
    CpuZ = 0x8000;  // a non-zero result clears Z whatever value it held
    CpuSop = 0x10;
    CpuDop = 0x20;
    Run(c.routine);
    EXPECT_EQ(CpuDop, c.result) << "X " << c.x;
    EXPECT_EQ(CpuZ, 0);
  }
}

// An immediate count outside 1-8 (no opcode gives one) shifts by the count
// modulo 64, as a register count does: 0 moves nothing and clears C.
TEST_F(AluRoutineTest, StrayImmediateShiftCountsShiftModulo64) {
  struct Case {
    int32_t count;
    uint32_t result;
    uint16_t c;
  };
  for (const Case& k : {Case{0, 0x80000001, 0}, Case{64, 0x80000001, 0}, Case{9, 0x00000200, 0},
                        Case{33, 0, 0}, Case{32, 0, 0xFFFF}, Case{8, 0x00000100, 0}}) {
    Op().Size = 2;
    Op().DstReg = 3;
    Op().Extra1 = k.count;
    CpuDReg[3] = 0x80000001;
    CpuX = CpuC = 0xFFFF;
    Run(mcrLSLReg);
    EXPECT_EQ(CpuDReg[3], k.result) << "count " << k.count;
    EXPECT_EQ(CpuC, k.c) << "count " << k.count;
  }
}

// The Dn operand moves mask by size and leave a size code above long alone.
TEST_F(AluRoutineTest, DnOperandMovesBySize) {
  const uint32_t sized[] = {0x78, 0x5678, 0x12345678, 0xAAAAAAAA};  // of 0x12345678; size 3: untouched
  const uint32_t ones[] = {0xFF, 0xFFFF, 0xFFFFFFFF, 0xAAAAAAAA};      // of 0xFFFFFFFF
  const uint32_t merged[] = {0xFFFFFF00, 0xFFFF0000, 0, 0xFFFFFFFF};   // 0 into 0xFFFFFFFF
  for (uint16_t size = 0; size < 4; ++size) {
    Op().Size = size;
    Op().SrcReg = 1;
    Op().DstReg = 2;
    CpuDReg[1] = 0x12345678;
    CpuDReg[2] = 0xFFFFFFFF;
    CpuSop = CpuDop = 0xAAAAAAAA;
    Run(mcrSrcFromDn, 5);
    EXPECT_EQ(CpuSop, sized[size]);
    Run(mcrDstFromDn, 5);
    EXPECT_EQ(CpuDop, ones[size]);
    CpuDop = 0;
    Run(mcrDstToDn, 5);
    EXPECT_EQ(CpuDReg[2], merged[size]);
    EXPECT_EQ(mcStage, 1);
  }
}

// The register-to-Dn forms read An or Dn by the source mode; every routine
// ends at step 1 even when run at a stage left over.
TEST_F(AluRoutineTest, RegisterSourcesAndStrayStages) {
  Op().Size = 2;
  Op().SrcReg = 4;
  Op().DstReg = 5;
  for (uint16_t mode : {EaDn, EaAn}) {
    Op().SrcMode = mode;
    CpuDReg[4] = 1;
    CpuAReg[4] = 2;
    CpuDReg[5] = 10;
    Run(mcrADDAnToDn, 3);
    EXPECT_EQ(CpuDReg[5], mode == EaDn ? 11u : 12u);
    EXPECT_EQ(mcStage, 1);
  }
  for (void (*routine)() : {mcrADDX, mcrSUBX, mcrADD, mcrEORReg, mcrANDI, mcrTST, mcrBTST, mcrNEG, mcrSUBAnToDn,
                            mcrCMPAnToDn, mcrLSLReg}) {
    Run(routine, 6);
    EXPECT_EQ(mcStage, 1);
    EXPECT_TRUE(mcPC == kStep + 1 || mcPC == McFastFetch);
  }
}

}  // namespace
}  // namespace korva::test
