// Status-register packing, the status words, the condition test, the (An)+ /
// -(An) steps and run control.
#include <gtest/gtest.h>

#include "cpu/classCPU.h"
#include "support/TestMachine.h"

using namespace korva;

TEST(CpuState, StatusRegisterPackingAndStackSwap) {
  test::TestMachine m;
  Cpu.SR(0x0000);  // to user state: A7 becomes the user stack pointer
  CpuAReg[7] = 0x1000;
  CpuSSP = 0x8000;
  Cpu.SR(0x2700);
  EXPECT_EQ(CpuUSP, 0x1000u);
  EXPECT_EQ(CpuAReg[7], 0x8000u);
  EXPECT_EQ(Cpu.SR(), 0x2700);
  // The same S again swaps nothing.
  CpuUSP = 0x1234;
  Cpu.srSmode(True);
  EXPECT_EQ(CpuAReg[7], 0x8000u);
  EXPECT_EQ(CpuUSP, 0x1234u);
  // Unused bits drop out.
  Cpu.SR(0xFFFF);
  EXPECT_EQ(Cpu.SR(), 0xA71F);
  EXPECT_EQ(Cpu.CCR(), 0x1F);
  Cpu.CCR(0xF5);
  EXPECT_EQ(Cpu.CCR(), 0x15);
  EXPECT_EQ(CpuX, 0xFFFF);
  EXPECT_EQ(CpuN, 0);
}

TEST(CpuState, SpecialAndInternalStatusWords) {
  test::TestMachine m;
  Cpu.SSW(0x2106);
  EXPECT_EQ(Cpu.SSW(), 0x2106);
  EXPECT_EQ(AccFC, 6);
  EXPECT_TRUE(AccIF && AccRW && !AccDF);
  Cpu.SSW(0xFFFF);
  EXPECT_EQ(Cpu.SSW(), 0xBF07);

  Cpu.InternalSW(0x1E);
  EXPECT_EQ(Cpu.InternalSW(), 0x1E);
  EXPECT_EQ(CpuTracePending, False);
  EXPECT_TRUE(CpuTrapvPending && CpuChkPending && CpuZeroDivide);
}

TEST(CpuState, ConditionsOverAllFlagCombinations) {
  for (int flags = 0; flags < 16; ++flags) {
    const bool n = flags & 8, z = flags & 4, v = flags & 2, c = flags & 1;
    CpuN = ToFlag(n);
    CpuZ = ToFlag(z);
    CpuV = ToFlag(v);
    CpuC = ToFlag(c);
    const bool expect[16] = {true, false, !c && !z, c || z, !c, c, !z, z,
                             !v, v, !n, n, n == v, n != v, !z && n == v, z || n != v};
    for (int cc = 0; cc < 16; ++cc) {
      EXPECT_EQ(TestCondition(static_cast<uint8_t>(cc)), ToVBool(expect[cc])) << cc << " flags " << flags;
      EXPECT_EQ(TestCondition(static_cast<uint8_t>(cc + 16)), TestCondition(static_cast<uint8_t>(cc)));
    }
  }
}

TEST(CpuState, AddressRegisterStepsKeepTheStackEven) {
  CpuAReg[7] = 0x100;
  CpuAReg[6] = 0x100;
  PostIncrementAn(7, 0);
  PostIncrementAn(6, 0);
  EXPECT_EQ(CpuAReg[7], 0x102u);
  EXPECT_EQ(CpuAReg[6], 0x101u);
  CpuAReg[7] = 1;
  PreDecrementAn(7, 0);
  EXPECT_EQ(CpuAReg[7], 0xFFFFFFFFu);
  CpuAReg[2] = 5;
  PreDecrementAn(2, 3);  // no such size: no change
  EXPECT_EQ(CpuAReg[2], 5u);
}
