// Packed-decimal micro-routines.
#include "unit/alu/AluFixture.h"

namespace korva::alutest {
namespace {

using Bcd = AluTest;

struct BcdCase {
  const char* name;
  void (*routine)();
  uint32_t src, dst;
  uint8_t ccrIn;
  uint32_t result;
  uint8_t ccrOut;
};

TEST_F(Bcd, DigitByDigitResultsAndFlags) {
  const BcdCase cases[] = {
      {"ABCD 99+01", mcrABCD, 0x01, 0x99, Z, 0x00, X | Z | C},
      {"ABCD 99+01 keeps Z clear", mcrABCD, 0x01, 0x99, 0, 0x00, X | C},
      {"ABCD 45+38", mcrABCD, 0x38, 0x45, Z, 0x83, N},
      {"ABCD 45+38+X", mcrABCD, 0x38, 0x45, X | Z, 0x84, N},
      {"ABCD 0F+0F", mcrABCD, 0x0F, 0x0F, 0, 0x14, 0},
      {"ABCD uses only the low bytes", mcrABCD, 0xFFFFFF01, 0x12345608, 0, 0x09, 0},
      {"SBCD 00-01", mcrSBCD, 0x01, 0x00, 0, 0x99, X | N | C},
      {"SBCD 42-13-X", mcrSBCD, 0x13, 0x42, X, 0x28, 0},
      {"NBCD 00", mcrNBCD, 0, 0x00, Z, 0x00, Z},
      {"NBCD 00 with X", mcrNBCD, 0, 0x00, X | Z, 0x99, X | N | C},
      {"NBCD 10", mcrNBCD, 0, 0x10, 0, 0x90, X | N | C},
      {"V is kept by ABCD", mcrABCD, 0x01, 0x01, V, 0x02, V},
      {"V is kept by SBCD", mcrSBCD, 0x01, 0x01, V | Z, 0x00, V | Z},
      {"V is kept by NBCD", mcrNBCD, 0, 0x01, V, 0x99, X | N | V | C},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CpuSop = c.src;
    CpuDop = c.dst;
    SetCcr(c.ccrIn);
    Run(c.routine);
    EXPECT_EQ(CpuDop, c.result);
    EXPECT_EQ(Ccr(), c.ccrOut);
    ExpectNext();
  }
}

// Valid decimal operands against decimal arithmetic; non-decimal digits still
// give a byte and well-formed flags.
TEST_F(Bcd, AllOperandsGiveDefinedResults) {
  auto dec = [](int v) { return (v >> 4) * 10 + (v & 15); };
  for (int x = 0; x < 2; ++x)
    for (int d = 0; d < 256; ++d)
      for (int s = 0; s < 256; ++s) {
        const bool valid = (d & 15) < 10 && (d >> 4) < 10 && (s & 15) < 10 && (s >> 4) < 10;
        CpuSop = static_cast<uint32_t>(s);
        CpuDop = static_cast<uint32_t>(d);
        SetCcr(x ? X : 0);
        Run(mcrABCD);
        ASSERT_LE(CpuDop, 0xFFu);
        ASSERT_TRUE(FlagsWellFormed());
        if (valid) {
          const int sum = dec(d) + dec(s) + x;
          ASSERT_EQ(dec(static_cast<int>(CpuDop)), sum % 100) << d << "+" << s;
          ASSERT_EQ(CpuC != 0, sum >= 100);
        }
        CpuSop = static_cast<uint32_t>(s);
        CpuDop = static_cast<uint32_t>(d);
        SetCcr(x ? X : 0);
        Run(mcrSBCD);
        ASSERT_LE(CpuDop, 0xFFu);
        ASSERT_TRUE(FlagsWellFormed());
        if (valid) {
          const int diff = dec(d) - dec(s) - x;
          ASSERT_EQ(dec(static_cast<int>(CpuDop)), (diff + 100) % 100) << d << "-" << s;
          ASSERT_EQ(CpuC != 0, diff < 0);
        }
      }
}

}  // namespace
}  // namespace korva::alutest
