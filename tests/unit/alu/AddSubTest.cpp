// Add, subtract, compare and negate micro-routines.
#include "unit/alu/AluFixture.h"

namespace korva::alutest {
namespace {

using AddSub = AluTest;

struct LoadedCase {
  const char* name;
  void (*routine)();
  uint16_t size;
  uint32_t src, dst;
  uint8_t ccrIn;
  uint32_t result;
  uint8_t ccrOut;
};

// Loaded forms: operands in CpuSop/CpuDop, result in CpuDop, write-back follows.
TEST_F(AddSub, LoadedFormsGiveSizedResultAndFlags) {
  const LoadedCase cases[] = {
      {"ADD.B 7F+01 overflows", mcrADD, 0, 0x01, 0x7F, 0, 0x80, N | V},
      {"ADD.B FF+01 carries", mcrADD, 0, 0x01, 0xFF, 0, 0x00, X | Z | C},
      {"ADD.B ignores bits above the byte", mcrADD, 0, 0x12345601, 0xABCDEF7F, 0, 0x80, N | V},
      {"ADD.L carries across the halves", mcrADD, 2, 0x00000001, 0x0000FFFF, 0, 0x00010000, 0},
      {"ADD.L FFFFFFFF+1", mcrADD, 2, 1, 0xFFFFFFFF, 0, 0, X | Z | C},
      {"ADDX.B FF+00+X keeps Z set", mcrADDX, 0, 0x00, 0xFF, X | Z, 0x00, X | Z | C},
      {"ADDX.B FF+00+X keeps Z clear", mcrADDX, 0, 0x00, 0xFF, X, 0x00, X | C},
      {"ADDX.B non-zero clears Z", mcrADDX, 0, 0x01, 0x01, X | Z, 0x03, 0},
      {"SUB.L 80000000-1 overflows", mcrSUB, 2, 1, 0x80000000, 0, 0x7FFFFFFF, V},
      {"SUB.L borrows across the halves", mcrSUB, 2, 1, 0x00010000, 0, 0x0000FFFF, 0},
      {"SUB.W 0-1 borrows", mcrSUB, 1, 1, 0, 0, 0xFFFF, X | N | C},
      {"SUBX.W 0-0-X keeps Z", mcrSUBX, 1, 0, 0, X | Z, 0xFFFF, X | N | C},
      {"SUBX.B 5-5 with X clear keeps Z clear", mcrSUBX, 0, 5, 5, 0, 0, 0},
      {"SUBQ #8 from memory byte", mcrSUBImm, 0, 0, 0x08, 0, 0, Z},
      {"NEG.B 80", mcrNEG, 0, 0, 0x80, 0, 0x80, X | N | V | C},
      {"NEG.L 0", mcrNEG, 2, 0, 0, X | C, 0, Z},
      {"NEG.W 1", mcrNEG, 1, 0, 1, 0, 0xFFFF, X | N | C},
      {"NEGX.B 0 with X", mcrNEGX, 0, 0, 0, X | Z, 0xFF, X | N | C},
      {"NEGX.B 0 without X keeps Z", mcrNEGX, 0, 0, 0, Z | V, 0, Z},
      {"NEGX.B 80 with X", mcrNEGX, 0, 0, 0x80, X, 0x7F, X | C},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Op().Size = c.size;
    Op().Extra1 = 8;
    CpuSop = c.src;
    CpuDop = c.dst;
    SetCcr(c.ccrIn);
    Run(c.routine);
    EXPECT_EQ(CpuDop, c.result);
    EXPECT_EQ(Ccr(), c.ccrOut);
    EXPECT_TRUE(FlagsWellFormed());
    ExpectNext();
  }
}

TEST_F(AddSub, RegisterFormsMergeIntoDnAndEndTheInstruction) {
  Op().Size = 1;
  Op().DstReg = 3;
  CpuDReg[3] = 0x1234FFFF;
  CpuSop = 0xABCD0001;
  Run(mcrADDToDn);
  EXPECT_EQ(CpuDReg[3], 0x12340000u);
  EXPECT_EQ(CpuDop, 0u);
  EXPECT_EQ(Ccr(), X | Z | C);
  ExpectEndOfInstruction();

  // Register source: An when SrcMode is not 0.
  Op().Size = 0;
  Op().SrcMode = 1;
  Op().SrcReg = 2;
  CpuAReg[2] = 0x00000003;
  CpuDReg[2] = 0x000000FF;  // must not be used
  CpuDReg[3] = 0xAAAAAA05;
  Run(mcrSUBAnToDn);
  EXPECT_EQ(CpuDReg[3], 0xAAAAAA02u);

  // Quick data from Extra1.
  Op().Size = 2;
  Op().Extra1 = 8;
  CpuDReg[3] = 0xFFFFFFFC;
  Run(mcrADDImmToDn);
  EXPECT_EQ(CpuDReg[3], 4u);
  EXPECT_EQ(Ccr(), X | C);
}

TEST_F(AddSub, CompareChangesNoOperandAndKeepsX) {
  Op().Size = 0;
  Op().DstReg = 1;
  CpuDReg[1] = 0x55555502;
  CpuSop = 0x01;
  SetCcr(X | N | Z | V | C);
  Run(mcrCMPToDn);
  EXPECT_EQ(CpuDReg[1], 0x55555502u);
  EXPECT_EQ(CpuDop, 0x01u);
  EXPECT_EQ(Ccr(), X);
  ExpectEndOfInstruction();

  CpuSop = 0x03;  // 2 - 3 borrows, X still kept
  SetCcr(0);
  Run(mcrCMPToDn);
  EXPECT_EQ(CpuDop, 0xFFu);
  EXPECT_EQ(Ccr(), N | C);

  CpuSop = 5;
  CpuDop = 5;
  Run(mcrCMP);  // CMPI/CMPM: last step of the instruction
  EXPECT_EQ(Ccr(), Z);
  ExpectEndOfInstruction();
}

TEST_F(AddSub, AddressFormsWorkOnAll32BitsWithoutFlags) {
  Op().Size = 1;
  Op().DstReg = 0;
  CpuAReg[0] = 0x00010000;
  CpuSop = 0x8000;  // sign-extended: subtracts 0x8000
  SetCcr(N | C);
  Run(mcrADDA);
  EXPECT_EQ(CpuAReg[0], 0x00008000u);
  EXPECT_EQ(CpuSop, 0xFFFF8000u);
  EXPECT_EQ(CpuDop, 0x00010000u);  // the old An
  EXPECT_EQ(Ccr(), N | C);
  ExpectEndOfInstruction();

  // ADDQ.W #8,A0 and SUBQ.W #1,A1 change all 32 bits.
  CpuAReg[0] = 0x0000FFFC;
  Op().Extra1 = 8;
  Run(mcrADDQAn);
  EXPECT_EQ(CpuAReg[0], 0x00010004u);
  Op().DstReg = 1;
  Op().Extra1 = 1;
  Op().Size = 3;  // the size is not examined
  Run(mcrSUBQAn);
  EXPECT_EQ(CpuAReg[1], 0xFFFFFFFFu);
  EXPECT_EQ(Ccr(), N | C);
  ExpectEndOfInstruction();

  // CMPA.W 0xFFFF compares with 0xFFFFFFFF; X kept.
  Op().Size = 1;
  CpuSop = 0xFFFF;
  SetCcr(X);
  Run(mcrCMPA);
  EXPECT_EQ(CpuAReg[1], 0xFFFFFFFFu);
  EXPECT_EQ(Ccr(), X | Z);

  // SUBA.L with a data-register source.
  Op().Size = 2;
  Op().SrcMode = 0;
  Op().SrcReg = 4;
  CpuDReg[4] = 0x10;
  Run(mcrSUBAAn);
  EXPECT_EQ(CpuAReg[1], 0xFFFFFFEFu);
}

TEST_F(AddSub, TheTailRunsWhenTraceOrInterruptIsPending) {
  Op().Size = 2;
  CpuTracePending = True;
  Run(mcrNEGDn);
  EXPECT_EQ(mcPC, kStep + 1);
  CpuTracePending = False;
  HipPending = 0xFFFF;
  Run(mcrCMPAAn);
  EXPECT_EQ(mcPC, kStep + 1);
}

TEST_F(AddSub, BadSizeIsAMicrocodeFaultThatChangesNothing) {
  void (*const sized[])() = {mcrADD,       mcrADDDnToEa, mcrADDA,     mcrADDToDn,   mcrADDImmToDn,
                             mcrADDImm,    mcrADDAAn,    mcrADDAnToDn, mcrADDX,     mcrSUB,
                             mcrSUBDnToEa, mcrSUBA,      mcrSUBToDn,  mcrSUBImmToDn, mcrSUBImm,
                             mcrSUBAAn,    mcrSUBAnToDn, mcrSUBX,     mcrCMP,       mcrCMPA,
                             mcrCMPToDn,   mcrCMPAAn,    mcrCMPAnToDn, mcrNEGDn,    mcrNEG,
                             mcrNEGX};
  for (uint16_t size : {uint16_t{3}, uint16_t{0xFFFF}}) {
    for (auto routine : sized) {
      Op().Size = size;
      Op().DstReg = 2;
      CpuDReg[2] = 0x11111111;
      CpuAReg[2] = 0x22222222;
      SetCcr(X | V);
      Run(routine);
      ExpectMicrocodeFault();
      EXPECT_EQ(CpuDReg[2], 0x11111111u);
      EXPECT_EQ(CpuAReg[2], 0x22222222u);
      EXPECT_EQ(Ccr(), X | V);
    }
  }
  // Byte is no size for the address-register forms.
  Op().Size = 0;
  for (auto routine : {mcrADDA, mcrSUBA, mcrCMPA, mcrADDAAn, mcrSUBAAn, mcrCMPAAn}) {
    Run(routine);
    ExpectMicrocodeFault();
    EXPECT_EQ(CpuAReg[2], 0x22222222u);
  }
}

// Every byte pair, with and without X, against signed and unsigned integer arithmetic.
TEST_F(AddSub, ByteArithmeticMatchesIntegerArithmetic) {
  Op().Size = 0;
  for (int x = 0; x < 2; ++x)
    for (int d = 0; d < 256; ++d)
      for (int s = 0; s < 256; ++s) {
        const int sd = static_cast<int8_t>(d), ss = static_cast<int8_t>(s);
        const int sum = d + s + x, diff = d - s - x;
        const int ssum = sd + ss + x, sdiff = sd - ss - x;
        CpuSop = static_cast<uint32_t>(s);
        CpuDop = static_cast<uint32_t>(d);
        SetCcr(x ? X | Z : Z);
        Run(mcrADDX);
        const uint8_t addCcr = static_cast<uint8_t>((sum > 255 ? X | C : 0) | ((sum & 0x80) ? N : 0) |
                                                    ((sum & 0xFF) == 0 ? Z : 0) | (ssum != static_cast<int8_t>(sum) ? V : 0));
        ASSERT_EQ(CpuDop, static_cast<uint32_t>(sum & 0xFF)) << d << "+" << s << "+" << x;
        ASSERT_EQ(Ccr(), addCcr) << d << "+" << s << "+" << x;
        CpuSop = static_cast<uint32_t>(s);
        CpuDop = static_cast<uint32_t>(d);
        SetCcr(x ? X | Z : Z);
        Run(mcrSUBX);
        const uint8_t subCcr = static_cast<uint8_t>((diff < 0 ? X | C : 0) | ((diff & 0x80) ? N : 0) |
                                                    ((diff & 0xFF) == 0 ? Z : 0) | (sdiff != static_cast<int8_t>(diff) ? V : 0));
        ASSERT_EQ(CpuDop, static_cast<uint32_t>(diff & 0xFF)) << d << "-" << s << "-" << x;
        ASSERT_EQ(Ccr(), subCcr) << d << "-" << s << "-" << x;
      }
}

}  // namespace
}  // namespace korva::alutest
