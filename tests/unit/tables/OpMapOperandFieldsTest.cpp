#include <gtest/gtest.h>

#include "tables/OpMapEntry.h"
#include "tables/OperandFields.h"

namespace korva {
namespace {

TEST(OpMapOperandFields, SettersSpreadModeSevenOverItsRegisters) {
  const OpMapEntry saved = OpMap[0x1234];
  SetSourceEa(7, 4, 0x1234);
  EXPECT_EQ(OpMap[0x1234].SrcMode, 11);
  EXPECT_EQ(OpMap[0x1234].SrcReg, 4);
  SetSourceEa(5, 3, 0x1234);
  EXPECT_EQ(OpMap[0x1234].SrcMode, 5);
  EXPECT_EQ(OpMap[0x1234].SrcReg, 3);
  SetDestEa(7, 1, 0x1234);  // absolute long
  EXPECT_EQ(OpMap[0x1234].DstMode, 8);
  EXPECT_EQ(OpMap[0x1234].DstReg, 1);
  SetEaBoth(EaShiftCount, 6, 0x1234);  // the data-in-Extra1 codes are stored as given
  EXPECT_EQ(OpMap[0x1234].SrcMode, 18);
  EXPECT_EQ(OpMap[0x1234].DstMode, 18);
  EXPECT_EQ(OpMap[0x1234].DstReg, 6);
  OpMap[0x1234] = saved;
}

TEST(OpMapOperandFields, EaAndSizeMasks) {
  EXPECT_FALSE(IsEaAllowed(7, 4, EaMaskDataAlterable));  // immediate is not alterable
  EXPECT_TRUE(IsEaAllowed(7, 4, EaMaskAllButAn));
  EXPECT_FALSE(IsEaAllowed(7, 5, EaMaskAll));  // mode 7 registers 5-7 do not exist
  EXPECT_FALSE(IsEaAllowed(7, 7, 0xFFFF));
  EXPECT_TRUE(IsEaAllowed(7, 3, EaMaskControl));
  EXPECT_FALSE(IsEaAllowed(1, 0, EaMaskAllButAn));
  EXPECT_TRUE(IsEaAllowed(1, 0, EaMaskAnOnly));
  EXPECT_FALSE(IsEaAllowed(4, 0, EaMaskMovemToReg));  // no MOVEM from -(An)
  EXPECT_FALSE(IsEaAllowed(3, 0, EaMaskMovemToMem));  // no MOVEM to (An)+

  EXPECT_FALSE(IsSizeAllowed(3, SizeMaskBWL));
  EXPECT_TRUE(IsSizeAllowed(1, SizeMaskWL));
  EXPECT_FALSE(IsSizeAllowed(0, SizeMaskWL));
}

TEST(OpMapOperandFields, TemplateTexts) {
  EXPECT_EQ(EaText(6, 2), "(D8,A2,Xn)");
  EXPECT_EQ(EaText(5, 7), "(D16,A7)");
  EXPECT_EQ(EaText(4, 3), "-(A3)");
  EXPECT_EQ(EaText(3, 0), "(A0)+");
  EXPECT_EQ(EaText(7, 3), "(D8,PC,Xn)");
  EXPECT_EQ(EaText(7, 4), "#data");
  EXPECT_EQ(EaText(7, 6), "");
  EXPECT_EQ(EaText(8, 0), "");  // stored codes are not raw modes
  EXPECT_EQ(EaText(EaMoveqData, 0), "#MQdata");
  EXPECT_EQ(EaText(EaQuickData, 0), "#ASQdata");
  EXPECT_EQ(EaText(EaShiftCount, 0), "#RSdata");
  EXPECT_EQ(EaText(0, 9), "D1");  // never more than one digit

  EXPECT_STREQ(SizeLetter(3), "X");
  EXPECT_STREQ(SizeLetter(2), "L");
  EXPECT_STREQ(ConditionName(0), "T");
  EXPECT_STREQ(ConditionName(15), "LE");
  EXPECT_STREQ(ConditionName(16), "");
  EXPECT_STREQ(BitOpName(3), "SET");
  EXPECT_STREQ(BitOpName(4), "");
  EXPECT_STREQ(BitOpSize(0), "L");
  EXPECT_STREQ(BitOpSize(2), "B");
}

TEST(OpMapOperandFields, BitOperationMasksAndExgOpmodes) {
  EXPECT_EQ(BitStaticEaMask(0), 2045);
  EXPECT_EQ(BitDynamicEaMask(0), 4093);
  EXPECT_EQ(BitStaticEaMask(3), 509);
  EXPECT_EQ(BitDynamicEaMask(1), 509);
  EXPECT_EQ(BitStaticEaMask(4), 0);
  EXPECT_EQ(BitDynamicEaMask(9), 0);
  EXPECT_TRUE(IsExgOpmode(8));
  EXPECT_TRUE(IsExgOpmode(9));
  EXPECT_TRUE(IsExgOpmode(17));
  EXPECT_FALSE(IsExgOpmode(16));
  EXPECT_FALSE(IsExgOpmode(0));
}

}  // namespace
}  // namespace korva
