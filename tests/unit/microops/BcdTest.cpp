// Packed-decimal micro-routines.
#include "unit/microops/RoutineFixture.h"

namespace korva::test {
namespace {

using Bcd = RoutineTest;

// Decimal operands give the decimal sum or difference with the decimal carry;
// any operand gives a byte and well-formed flags, V is never touched and Z
// only ever clears.
TEST_F(Bcd, AllOperandsGiveDefinedResults) {
  auto dec = [](int v) { return (v >> 4) * 10 + (v & 15); };
  auto decimal = [](int v) { return (v & 15) < 10 && (v >> 4) < 10; };
  for (int x = 0; x < 2; ++x)
    for (int d = 0; d < 256; ++d)
      for (int s = 0; s < 256; ++s) {
        struct {
          void (*routine)();
          int value;
        } const ops[] = {{mcrABCD, dec(d) + dec(s) + x}, {mcrSBCD, dec(d) - dec(s) - x}, {mcrNBCD, -dec(d) - x}};
        for (const auto& op : ops) {
          CpuSop = 0xFFFFFF00u | static_cast<uint32_t>(s);
          CpuDop = 0xFFFFFF00u | static_cast<uint32_t>(d);
          SetCcr(static_cast<uint8_t>((x ? X : 0) | Z | ((d ^ s) & 1 ? V : 0)));
          const bool vIn = CpuV != 0;
          Run(op.routine);
          ASSERT_LE(CpuDop, 0xFFu);
          ASSERT_TRUE(FlagsWellFormed());
          ASSERT_EQ(CpuV != 0, vIn);
          ASSERT_EQ(CpuZ != 0, CpuDop == 0);
          ASSERT_EQ(CpuN != 0, (CpuDop & 0x80) != 0);
          ASSERT_EQ(CpuX, CpuC);
          if (decimal(d) && (decimal(s) || op.routine == mcrNBCD)) {
            ASSERT_EQ(dec(static_cast<int>(CpuDop)), (op.value + 100) % 100) << d << " " << s << " " << x;
            ASSERT_EQ(CpuC != 0, op.value < 0 || op.value >= 100) << d << " " << s << " " << x;
          }
        }
      }
}

// A digit above 9 is corrected once and keeps its low four bits.
TEST_F(Bcd, NonDecimalDigitsAreCorrectedOnce) {
  CpuSop = 0x0F;
  CpuDop = 0x0F;
  Run(mcrABCD);
  EXPECT_EQ(CpuDop, 0x14u);
  EXPECT_EQ(Ccr(), 0);
  CpuSop = 0x0F;  // 0 - 15: corrected to -5, whose low bits are kept
  CpuDop = 0x00;
  Run(mcrSBCD);
  EXPECT_EQ(CpuDop, 0x9Bu);
  EXPECT_EQ(Ccr(), X | N | C);
}

}  // namespace
}  // namespace korva::test
