// Condition codes of the arithmetic routines and the conditions of the branches,
// checked against the published MSB equations and TestCondition over operands at
// every carry and sign boundary of the three sizes.
#include <initializer_list>
#include "microops/CcHelpers.h"
#include "unit/microops/RoutineFixture.h"

namespace korva::test {
namespace {

using AluFlags = RoutineTest;

constexpr uint32_t kEdges[] = {0,          1,          0x7F,       0x80,       0xFF,       0x100,
                               0x7FFF,     0x8000,     0xFFFF,     0x10000,    0x7FFFFFFF, 0x80000000,
                               0x80000001, 0xFFFFFFFE, 0xFFFFFFFF, 0x12345678, 0xEDCBA987};

struct Expected {
  uint32_t result;
  uint8_t ccr;  // X N Z V C as Cpu.CCR() shows them
};

// The reference: sized operands, the MSB equations, Z sticky for the extended forms.
Expected Reference(bool add, bool extend, bool compare, uint16_t size, uint32_t s, uint32_t d, uint8_t ccrBefore) {
  const uint32_t mask = AluSizeMask[size], msb = AluSizeMsb[size];
  s &= mask;
  d &= mask;
  const uint32_t x = extend && (ccrBefore & X) ? 1 : 0;
  const uint32_t r = (add ? d + s + x : d - s - x) & mask;
  const uint16_t sm = FlagOf(s, msb), dm = FlagOf(d, msb), rm = FlagOf(r, msb);
  const uint16_t v = add ? CcAddOverflow(sm, dm, rm) : CcSubOverflow(sm, dm, rm);
  const uint16_t c = add ? CcAddCarry(sm, dm, rm) : CcSubCarry(sm, dm, rm);
  const bool z = extend ? (r == 0 && (ccrBefore & Z)) : r == 0;
  uint8_t ccr = static_cast<uint8_t>((rm ? N : 0) | (z ? Z : 0) | (v ? V : 0) | (c ? C : 0));
  ccr |= compare ? (ccrBefore & X) : (c ? X : 0);
  return {r, ccr};
}

TEST_F(AluFlags, LoadedFormsMatchTheMsbEquations) {
  struct Form {
    void (*routine)();
    bool add, extend, compare;
  };
  const Form forms[] = {{mcrADD, true, false, false},  {mcrSUB, false, false, false}, {mcrCMP, false, false, true},
                        {mcrADDX, true, true, false},  {mcrSUBX, false, true, false}};
  for (const Form& f : forms)
    for (uint16_t size = 0; size <= 2; ++size)
      for (uint32_t s : kEdges)
        for (uint32_t d : kEdges)
          for (uint8_t before : {uint8_t{0}, uint8_t{X | Z}, uint8_t{X | N | V | C}}) {
            Op().Size = size;
            CpuSop = s;
            CpuDop = d;
            SetCcr(before);
            Run(f.routine);
            const Expected e = Reference(f.add, f.extend, f.compare, size, s, d, before);
            ASSERT_EQ(CpuDop, e.result) << "size " << size << " s " << s << " d " << d;
            ASSERT_EQ(Ccr(), e.ccr) << "size " << size << " s " << s << " d " << d << " ccr " << int(before);
            ASSERT_TRUE(FlagsWellFormed());
          }
}

// The register forms load Dn themselves and merge the sized result into it.
TEST_F(AluFlags, RegisterFormsMergeBySizeWithTheSameFlags) {
  for (uint16_t size = 0; size <= 2; ++size)
    for (uint32_t s : kEdges)
      for (uint32_t d : kEdges) {
        Op().Size = size;
        Op().SrcMode = 0;
        Op().SrcReg = 1;
        Op().DstReg = 2;
        for (bool add : {true, false}) {
          CpuDReg[1] = s;
          CpuDReg[2] = d;
          SetCcr(0);
          Run(add ? mcrADDAnToDn : mcrSUBAnToDn);
          const Expected e = Reference(add, false, false, size, s, d, 0);
          const uint32_t mask = AluSizeMask[size];
          ASSERT_EQ(CpuDReg[2], (d & ~mask) | e.result);
          ASSERT_EQ(Ccr(), e.ccr);
          ASSERT_EQ(mcPC, static_cast<uint32_t>(McFastFetch));
        }
      }
}

// Bcc and DBcc test their condition over the flags as TestCondition does, also
// for flag values other than 0 and 0xFFFF (any non-zero value counts as set).
TEST_F(AluFlags, BranchConditionsAgreeWithTestCondition) {
  const uint16_t values[] = {0, 0xFFFF, 1, 0x8000};
  for (int cc = 0; cc < 16; ++cc)
    for (int bits = 0; bits < 256; ++bits) {
      CpuN = values[bits & 3];
      CpuZ = values[(bits >> 2) & 3];
      CpuV = values[(bits >> 4) & 3];
      CpuC = values[(bits >> 6) & 3];
      const bool holds = TestCondition(static_cast<uint8_t>(cc)) != 0;
      Op().Extra2 = cc;
      Op().Extra1 = 6;
      CpuPC = 0x1000;
      Run(mcrBccB);
      ASSERT_EQ(CpuPC, holds ? 0x1006u : 0x1000u) << "cc " << cc << " flags " << bits;
      // DBcc: a true condition ends the loop with the counter untouched.
      Op().DstReg = 3;
      CpuDReg[3] = 0xABCD0005;
      CpuExtraWord = 0xFFF0;
      CpuPC = 0x1004;
      Run(mcrDBcc);
      ASSERT_EQ(CpuDReg[3], holds ? 0xABCD0005u : 0xABCD0004u);
      ASSERT_EQ(CpuPC, holds ? 0x1004u : 0x0FF2u);
    }
}

}  // namespace
}  // namespace korva::test
