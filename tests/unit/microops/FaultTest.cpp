// Size codes that a routine has no case for end in the microcode-fault entry
// with mcErrorPC at the step, and leave registers, flags and memory alone.
#include "unit/microops/RoutineFixture.h"

namespace korva::test {
namespace {

using Faults = RoutineTest;

struct Sized {
  void (*routine)();
  uint8_t faultingSizes;  // bit k: size code k faults (bit 3 stands for 3 and above)
};

TEST_F(Faults, UnknownSizesAreMicrocodeFaults) {
  constexpr uint8_t kLong3 = 0x8, kByteToo = 0x9, kWordToo = 0xA, kNotByteWord = 0xC;
  // One routine per shared form (the others of a form differ only in the operation).
  const Sized routines[] = {
      {mcrADD, kLong3},     {mcrADDToDn, kLong3}, {mcrADDA, kByteToo}, {mcrCMP, kLong3},
      {mcrNEGDn, kLong3},   {mcrNEG, kLong3},     {mcrNEGX, kLong3},   {mcrANDI, kLong3},
      {mcrANDToDn, kLong3}, {mcrTSTDn, kLong3},   {mcrTST, kLong3},    {mcrTSTAn, kByteToo},
      {mcrANDItoSR, kNotByteWord}, {mcrASLReg, kLong3}, {mcrBTST, kWordToo},
  };
  int index = 0;
  for (const Sized& s : routines) {
    for (uint16_t size : {uint16_t{0}, uint16_t{1}, uint16_t{2}, uint16_t{3}, uint16_t{0x7FFF}}) {
      SCOPED_TRACE(testing::Message() << "routine " << index << " size " << size);
      const bool faults = s.faultingSizes & (1u << (size > 3 ? 3 : size));
      Op().Size = size;
      Op().DstReg = 2;
      Op().Extra1 = 1;
      CpuDReg[2] = 0x11111111;
      CpuAReg[2] = 0x22222222;
      CpuSop = 1;
      CpuDop = 0x33;
      CpuS = True;
      SetCcr(X | V);
      mcErrorPC = 0;
      Run(s.routine);
      if (faults) {
        EXPECT_EQ(mcPC, static_cast<uint32_t>(McFault));
        EXPECT_EQ(mcErrorPC, kStep);
        EXPECT_EQ(CpuDReg[2], 0x11111111u);
        EXPECT_EQ(CpuAReg[2], 0x22222222u);
        EXPECT_EQ(Ccr(), X | V);
      } else {
        EXPECT_NE(mcPC, static_cast<uint32_t>(McFault));
        EXPECT_EQ(mcStage, 1);
      }
    }
    ++index;
  }
}

// CLR Dn sets the flags of a clear before its size branch; ADDQ and SUBQ to
// An ignore the size; register numbers never reach past the register file.
TEST_F(Faults, ClearFlagsComeFirstAndQuickAddressIgnoresTheSize) {
  Op().Size = 3;
  Op().DstReg = 1;
  CpuDReg[1] = 0x12345678;
  SetCcr(X | N | V | C);
  Run(mcrCLRDn);
  EXPECT_EQ(mcPC, static_cast<uint32_t>(McFault));
  EXPECT_EQ(CpuDReg[1], 0x12345678u);
  EXPECT_EQ(Ccr(), X | Z);

  Op().Extra1 = 8;
  Op().DstReg = 9;  // a broken entry: register 1
  CpuAReg[1] = 0xFFFFFFFC;
  Run(mcrADDQAn);
  EXPECT_EQ(CpuAReg[1], 4u);
  EXPECT_EQ(mcPC, static_cast<uint32_t>(McFastFetch));
  Run(mcrSUBQAn);
  EXPECT_EQ(CpuAReg[1], 0xFFFFFFFCu);
  EXPECT_EQ(CpuDop, 4u);
}

}  // namespace
}  // namespace korva::test
