// Size codes that a routine has no case for end in the microcode-fault entry
// with mcErrorPC at the step, and leave registers, flags and memory alone.
#include "unit/alu/AluFixture.h"

namespace korva::alutest {
namespace {

using Faults = AluTest;

struct Sized {
  void (*routine)();
  uint8_t faultingSizes;  // bit k: size code k faults (bit 3 stands for 3 and above)
};

TEST_F(Faults, UnknownSizesAreMicrocodeFaults) {
  constexpr uint8_t kLong3 = 0x8, kByteToo = 0x9, kWordToo = 0xA, kNotByteWord = 0xC;
  const Sized routines[] = {
      {mcrADD, kLong3},       {mcrADDDnToEa, kLong3},  {mcrADDToDn, kLong3},    {mcrADDImmToDn, kLong3},
      {mcrADDImm, kLong3},    {mcrADDAnToDn, kLong3},  {mcrADDX, kLong3},       {mcrSUB, kLong3},
      {mcrSUBDnToEa, kLong3}, {mcrSUBToDn, kLong3},    {mcrSUBImmToDn, kLong3}, {mcrSUBImm, kLong3},
      {mcrSUBAnToDn, kLong3}, {mcrSUBX, kLong3},       {mcrCMP, kLong3},        {mcrCMPToDn, kLong3},
      {mcrCMPAnToDn, kLong3}, {mcrNEGDn, kLong3},      {mcrNEG, kLong3},        {mcrNEGX, kLong3},
      {mcrADDA, kByteToo},    {mcrADDAAn, kByteToo},   {mcrSUBA, kByteToo},     {mcrSUBAAn, kByteToo},
      {mcrCMPA, kByteToo},    {mcrCMPAAn, kByteToo},   {mcrANDI, kLong3},       {mcrANDReg, kLong3},
      {mcrANDDnToEa, kLong3}, {mcrANDToDn, kLong3},    {mcrORI, kLong3},        {mcrORReg, kLong3},
      {mcrORDnToEa, kLong3},  {mcrORToDn, kLong3},     {mcrEORI, kLong3},       {mcrEORReg, kLong3},
      {mcrEORDnToEa, kLong3}, {mcrNOTDn, kLong3},      {mcrNOT, kLong3},        {mcrTSTDn, kLong3},
      {mcrTST, kLong3},       {mcrTSTAn, kByteToo},    {mcrANDItoSR, kNotByteWord}, {mcrORItoSR, kNotByteWord},
      {mcrEORItoSR, kNotByteWord}, {mcrASLReg, kLong3}, {mcrASRReg, kLong3},    {mcrLSLReg, kLong3},
      {mcrLSRReg, kLong3},    {mcrROLReg, kLong3},     {mcrRORReg, kLong3},     {mcrROXLReg, kLong3},
      {mcrROXRReg, kLong3},   {mcrBTST, kWordToo},     {mcrBSET, kWordToo},     {mcrBCLR, kWordToo},
      {mcrBCHG, kWordToo},
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
}  // namespace korva::alutest
