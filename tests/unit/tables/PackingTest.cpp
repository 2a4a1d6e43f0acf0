#include <gtest/gtest.h>

#include "shell/FixedTables.h"
#include "tables/Helpers.h"
#include "tables/Packing.h"

namespace korva {
namespace {

TEST(PackingTest, HighBitPatternsAreOrdinaryValues) {
  EXPECT_EQ(MakeWord(0x80, 0x01), 0x8001);
  EXPECT_EQ(HiByte(0x8001), 0x80);
  EXPECT_EQ(UpperWord(0xFFFF0000u), 65535u);
  EXPECT_EQ(MakeLong(0xFFFF, 0x8000), 0xFFFF8000u);
  EXPECT_EQ(SwapLongBytes(0x12345678u), 0x78563412u);
  EXPECT_EQ(SignExtendByte(0x80), 0xFF80);
  EXPECT_EQ(ByteToSigned(0x80), -128);
}

TEST(HelpersTest, TablesAndBitFields) {
  MaskTable[16] = 0;
  InitBitTable();
  InitMaskTable();
  EXPECT_EQ(BitTable[31], 0x80000000u);
  EXPECT_EQ(MaskTable[0], 0);
  EXPECT_EQ(MaskTable[32], -1);
  EXPECT_EQ(BitField(0xE308, 9, 11), 1);  // either bit order
  EXPECT_EQ(BitField(0x12345, 3, 0), 5);  // only the low 16 bits count
  EXPECT_EQ(BitField(0x8000, 31, 31), 1);  // bit numbers wrap instead of shifting out of range
}

TEST(HelpersTest, WrapAroundParityAndBcd) {
  EXPECT_EQ(AddLongWrap(0x7FFFFFFF, 1), INT32_MIN);
  EXPECT_EQ(SubLongWrap(0, 1), -1);
  EXPECT_EQ(SubLongWrap(INT32_MIN, 1), INT32_MAX);
  EXPECT_EQ(AddLong4Wrap(INT32_MAX, 1, INT32_MAX, 1), 0);
  EXPECT_EQ(AddWordWrap(0xFFFF, 2), 1);
  EXPECT_EQ(EvenParityFlag(0x03), 4);
  EXPECT_EQ(EvenParityFlag(0x07), 0);
  EXPECT_EQ(SetBitValue(9, 1, 0x00), 0x02);  // bit 9 AND 7 = 1
  EXPECT_EQ(BcdToBinary(0x5A), 0);
  EXPECT_EQ(BinaryToBcd(59), 0x59);
}

}  // namespace
}  // namespace korva
