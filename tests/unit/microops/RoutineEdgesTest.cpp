// The micro-routines called one at a time, for what the guest programs and the
// vectors cannot observe: decode values no opcode produces (sizes and selectors
// without a case end in the microcode-fault entry and change nothing), the
// status words of the routines' own accesses, the operands ADDA/SUBA/CMPA keep
// for a restart, the tail taken while a trace or an interrupt is pending, the
// corners of the long divide, packed decimal on every operand, and the branch
// conditions over flag values only the register setters can leave.
#include <gtest/gtest.h>
#include <cstdint>
#include "bus/BusState.h"
#include "bus/Memory.h"
#include "cpu/AccessSteps.h"
#include "cpu/CpuState.h"
#include "cpu/Microroutines.h"
#include "cpu/classCPU.h"
#include "microops/MulDiv.h"
#include "support/TestMachine.h"

namespace korva::test {
namespace {

// A fresh test machine (all RAM, MC68010) and one hand-filled opcode-map entry;
// each routine is called directly as the step at control-store address kStep.
enum : uint8_t { X = 0x10, N = 8, Z = 4, V = 2, C = 1 };

class RoutineTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kOpcode = 0xA5A5;
  static constexpr uint32_t kStep = 1234;

  RoutineTest() {
    OpMap[kOpcode] = OpMapEntry{};  // the machine's reset rebuilds the map for the next test
    CpuOpcode = kOpcode;
    mcPC = kStep;
    mcStage = 1;
  }

  static OpMapEntry& Op() { return OpMap[kOpcode]; }
  static void SetCcr(uint8_t v) { Cpu.CCR(v); }
  static uint8_t Ccr() { return Cpu.CCR(); }
  static bool FlagsWellFormed() {
    for (uint16_t f : {CpuX, CpuN, CpuZ, CpuV, CpuC})
      if (f != 0 && f != 0xFFFF) return false;
    return true;
  }

  // Run `routine` once from step kStep, step 1.
  static void Run(void (*routine)()) {
    mcPC = kStep;
    mcStage = 1;
    routine();
  }

  static void ExpectNext() {
    EXPECT_EQ(mcPC, kStep + 1);
    EXPECT_EQ(mcStage, 1);
  }
  static void ExpectIllegal() {
    EXPECT_EQ(mcPC, static_cast<uint32_t>(McIllegal));
    EXPECT_EQ(mcStage, 1);
  }
  static void ExpectMicrocodeFault() {
    EXPECT_EQ(mcPC, static_cast<uint32_t>(McFault));
    EXPECT_EQ(mcErrorPC, kStep);
  }

  TestMachine machine;
};

TEST_F(RoutineTest, DecodeValuesWithoutACaseAreMicrocodeFaults) {
  for (auto routine : {mcrEXT, mcrEXG, mcrMOVEToCCR, mcrMOVEFromSR}) {
    Op().Extra2 = 5;
    Run(routine);
    ExpectMicrocodeFault();
  }
  Op().Size = 3;
  Run(mcrCMP2);
  ExpectMicrocodeFault();
  Run(mcrMOVESRead);
  ExpectMicrocodeFault();
  Run(mcrMOVESWrite);
  ExpectMicrocodeFault();
  for (auto routine : {mcrRTS, mcrRTR, mcrRTD, mcrUNLK, mcrLINK, mcrPEA, mcrTAS, mcrMOVEMWToMem, mcrMOVEMLToRegs}) {
    mcPC = kStep;
    mcStage = 40;
    routine();
    ExpectMicrocodeFault();
  }
}

TEST_F(RoutineTest, MovecFrameKindAndUnknownCodes) {
  Op().Extra2 = 0;
  CpuExtraWord = 0x3705;  // 0x705 -> D3
  UseFormat2Stack = True;
  Run(mcrMOVEC);
  EXPECT_EQ(CpuDReg[3], 0x105u);
  UseFormat2Stack = False;
  Run(mcrMOVEC);
  EXPECT_EQ(CpuDReg[3], 0x101u);
  CpuExtraWord = 0x3002;  // not offered here (CACR on larger processors)
  CpuDReg[3] = 7;
  Run(mcrMOVEC);
  ExpectIllegal();
  EXPECT_EQ(CpuDReg[3], 7u);
}

TEST_F(RoutineTest, LongDivideCorners) {
  struct Case { uint16_t ext; uint32_t dr, dq, divisor, q, r; uint8_t ccr; };
  // ext: Dq = D1, Dr = D2; 0x1C02 signed 64-bit, 0x1402 unsigned 64-bit, 0x1802 signed 32-bit.
  for (Case c : {Case{0x1C02, 0, 0x80000000, 0x80000000, 0xFFFFFFFF, 0, N},  // 2^31 / -2^31
                 Case{0x1C02, 0x80000000, 0, 0xFFFFFFFF, 0x80000000, 0, V},  // -2^63 / -1
                 Case{0x1802, 0, static_cast<uint32_t>(-7), 2, static_cast<uint32_t>(-3),
                      static_cast<uint32_t>(-1), N}}) {
    CpuDReg[1] = c.dq;
    CpuDReg[2] = c.dr;
    CpuSop = c.divisor;
    CpuExtraWord = c.ext;
    Run(mcrDIVL);
    EXPECT_EQ(Ccr(), c.ccr) << std::hex << c.ext << " " << c.dr << ":" << c.dq << " / " << c.divisor;
    if (!(c.ccr & V)) {
      EXPECT_EQ(CpuDReg[1], c.q);
      EXPECT_EQ(CpuDReg[2], c.r);
    } else {
      EXPECT_EQ(CpuDReg[1], c.dq);  // overflow changes no register
      EXPECT_EQ(CpuDReg[2], c.dr);
      ExpectNext();                 // on to the zero-divide step, which passes
      EXPECT_FALSE(CpuZeroDivide);
    }
  }
  uint32_t qh, ql, rh, rl;
  EXPECT_FALSE(DivideU64(1, 0, 0, 0, qh, ql, rh, rl));
  uint32_t h = 0, l = 0;
  EXPECT_TRUE(Negate64(h, l));
}

TEST_F(RoutineTest, StatusWordsOfTheOwnAccesses) {
  Op().DstMode = 2;
  CpuEa = 0x3001;
  Run(mcrTAS);
  EXPECT_EQ(AccSSW, 0x1B05);  // read-modify-write
  CpuEaFc = 2;                // MOVEM from a PC-relative source: program space
  CpuExtraWord = 1;
  CpuEa = 0x3000;
  Run(mcrMOVEMWToRegs);
  EXPECT_EQ(AccSSW, 0x1106);
  Cpu.SR(0x0000);  // MOVES ignores the state: the function code is SFC's
  Op().Size = 0;
  CpuSFC = 5;
  Run(mcrMOVESRead);
  EXPECT_EQ(AccSSW, 0x1305);
  Op().Size = 2;
  CpuDFC = 3;
  CpuEa = 0x4000;
  Run(mcrMOVESWrite);
  EXPECT_EQ(AccSSW, 0x1003);
  EXPECT_EQ(AccAddress, 0x4002u);
}

// A long whose first word went through and whose second word faults: the frame
// must describe the second access (its address, its data, the same status word).
TEST_F(RoutineTest, SecondWordOfALongFaultsWithItsOwnLatches) {
  machine.SetDeviceCode(0x5000, 0x50FF, DcBoardIo);  // bus error from 0x5000 on
  machine.SetSR(0x2000);
  const auto expectSecondWordFault = [](uint8_t step, uint32_t address, uint16_t ssw) {
    EXPECT_EQ(mcPC, static_cast<uint32_t>(McBusError));
    EXPECT_EQ(FaultMcStage, step);
    EXPECT_EQ(AccAddress, address);
    EXPECT_EQ(AccSSW, ssw);
  };
  Op().DstMode = 2;
  CpuEa = 0x4FFE;
  CpuDop = 0x12345678;
  Run(mcrWriteDstLong);
  expectSecondWordFault(3, 0x5000, 0x1005);
  EXPECT_EQ(AccDataOut, 0x5678);
  EXPECT_EQ(machine.ReadWord(0x4FFE), 0x1234);
  Op().Size = 2;
  Run(mcrWriteDst);
  expectSecondWordFault(5, 0x5000, 0x1005);
  Op().SrcMode = 9;  // d16(PC): program space
  machine.WriteWord(0x4FFE, 0xBEEF);
  Run(mcrReadSrcLong);
  expectSecondWordFault(5, 0x5000, 0x1106);
  EXPECT_EQ(CpuTempWord, 0xBEEF);
  CpuAReg[7] = 0x5002;  // the pushed word at 0x4FFE goes through, 0x5000 faults
  CpuPC = 0x00ABCDEF;
  Run(mcrPushReturn);
  expectSecondWordFault(3, 0x5000, 0x1005);
  EXPECT_EQ(AccDataOut, 0xCDEF);
  EXPECT_EQ(CpuAReg[7], 0x4FFEu);
  Run(mcrRTS);
  expectSecondWordFault(3, 0x5000, 0x1105);
  CpuEaFc = 1;  // MOVEM.L D0/D1 from 0x4FFA: the low word of D1 is the one at 0x5000
  CpuExtraWord = 0x0003;
  CpuEa = 0x4FFA;
  CpuDReg[1] = 0xCAFEF00D;
  Run(mcrMOVEMLToMem);
  expectSecondWordFault(5, 0x5000, 0x1005);
  EXPECT_EQ(AccDataOut, 0xF00D);
  EXPECT_EQ(machine.ReadWord(0x4FFE), 0xCAFE);
}

// A long inside one page moves both words at once only when both are memory;
// with a device word in the same page it goes word by word and faults on it.
// Either way the latches, address and data end as after the two accesses.
TEST_F(RoutineTest, LongsInsideOnePageEndAsTwoWordAccesses) {
  machine.SetDeviceCode(0x6002, 0x6003, DcBoardIo);  // one faulting word in mid-page
  machine.SetSR(0x2000);
  Op().DstMode = 2;
  Op().SrcMode = 2;
  struct Case {
    uint32_t ea;
    bool faults;
  };
  for (const Case c : {Case{0x6010, false}, Case{0x6000, true}}) {
    SCOPED_TRACE(c.ea);
    CpuDop = 0x12345678;
    CpuEa = c.ea;
    Run(mcrWriteDstLong);
    EXPECT_EQ(mcPC, c.faults ? static_cast<uint32_t>(McBusError) : static_cast<uint32_t>(McFastFetch));
    EXPECT_EQ(AccAddress, c.ea + 2);
    EXPECT_EQ(AccDataOut, 0x5678);
    EXPECT_EQ(AccSSW, 0x1005);
    EXPECT_EQ(machine.ReadWord(c.ea), 0x1234);
    if (!c.faults) EXPECT_EQ(machine.ReadWord(c.ea + 2), 0x5678);
    machine.WriteWord(c.ea, 0xBEEF);
    CpuEa = c.ea;
    Run(mcrReadSrcLong);
    EXPECT_EQ(AccAddress, c.ea + 2);
    EXPECT_EQ(AccSSW, 0x1105);
    EXPECT_EQ(CpuTempWord, 0xBEEF);
    if (c.faults) {
      EXPECT_EQ(mcPC, static_cast<uint32_t>(McBusError));
      EXPECT_EQ(FaultMcStage, 3);
    } else {
      ExpectNext();
      EXPECT_EQ(CpuSop, 0xBEEF5678u);
      EXPECT_EQ(AccDataIn, 0x5678);
    }
    EXPECT_EQ(FaultFlag, c.faults ? True : False);
  }
}

TEST_F(RoutineTest, MovesDecodeRefusesReservedBits) {
  CpuExtraWord = 0x0801;
  Run(mcrMOVESDecode);
  ExpectIllegal();
}

TEST_F(RoutineTest, TableLookupEntryAddress) {
  CpuDReg[2] = 0x00001234;
  CpuEa = 0x1000;
  for (auto [ext, ea] : {std::pair<uint16_t, uint32_t>{0x2080, 0x1048},  // long entries: + 0x12 x 4
                         {0x2040, 0x106C},                                // word entries
                         {0x20C0, 0x107E}}) {                             // byte entries
    CpuExtraWord = ext;
    Run(mcrTBLEntryAddress);
    EXPECT_EQ(CpuEa, ea);
  }
  Run(mcrStep);
  ExpectNext();
}

// ADDA, SUBA, CMPA: the word source is sign-extended in CpuSop, ADDA and SUBA
// leave the old An in CpuDop and change no flag, CMPA leaves the difference.
TEST_F(RoutineTest, AddressFormsKeepTheirOperandsForARestart) {
  Op().Size = 1;
  CpuAReg[0] = 0x00010000;
  CpuSop = 0xABCD8000;
  SetCcr(N | C);
  Run(mcrADDA);
  EXPECT_EQ(CpuAReg[0], 0x00008000u);
  EXPECT_EQ(CpuSop, 0xFFFF8000u);
  EXPECT_EQ(CpuDop, 0x00010000u);
  EXPECT_EQ(Ccr(), N | C);
  EXPECT_EQ(mcPC, static_cast<uint32_t>(McFastFetch));
  CpuSop = 0xFFFF;
  Run(mcrCMPA);
  EXPECT_EQ(CpuDop, 0x00008001u);
  EXPECT_EQ(CpuAReg[0], 0x00008000u);
  EXPECT_EQ(Ccr(), C);
}

// A routine that ends its instruction steps into the tail while a trace or an
// interrupt is pending; a loaded form always steps on to its write-back.
TEST_F(RoutineTest, TheTailRunsWhenTraceOrInterruptIsPending) {
  Op().Size = 2;
  CpuTracePending = True;
  Run(mcrNEGDn);
  EXPECT_EQ(mcPC, kStep + 1);
  CpuTracePending = False;
  HipPending = 0xFFFF;
  Run(mcrCMPAAn);
  EXPECT_EQ(mcPC, kStep + 1);
  HipPending = 0;
  Run(mcrADDImm);
  EXPECT_EQ(mcPC, kStep + 1);
  Run(mcrADDImmToDn);
  EXPECT_EQ(mcPC, static_cast<uint32_t>(McFastFetch));
}

// Decimal operands give the decimal sum or difference with the decimal carry;
// any operand gives a byte and well-formed flags, V is never touched and Z
// only ever clears.
TEST_F(RoutineTest, BcdAllOperandsGiveDefinedResults) {
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
TEST_F(RoutineTest, BcdNonDecimalDigitsAreCorrectedOnce) {
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

struct Sized {
  void (*routine)();
  uint8_t faultingSizes;  // bit k: size code k faults (bit 3 stands for 3 and above)
};

TEST_F(RoutineTest, UnknownSizesAreMicrocodeFaults) {
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
        // The register forms have loaded the register before the size branch.
        if (s.routine == mcrADDToDn || s.routine == mcrNEGDn || s.routine == mcrASLReg) {
          EXPECT_EQ(CpuDop, 0x11111111u);
        }
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
TEST_F(RoutineTest, ClearFlagsComeFirstAndQuickAddressIgnoresTheSize) {
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

// Bcc and DBcc take any non-zero flag as set, as TestCondition does, also for
// values other than 0 and 0xFFFF that only the register setters can leave.
TEST_F(RoutineTest, BranchConditionsCountAnyNonZeroFlagAsSet) {
  const uint16_t values[] = {0, 0xFFFF, 1, 0x8000};
  Op().Extra1 = 6;
  Op().DstReg = 3;
  CpuExtraWord = 0xFFF0;
  for (int cc = 0; cc < 16; ++cc)
    for (int bits = 0; bits < 256; ++bits) {
      CpuN = values[bits & 3];
      CpuZ = values[(bits >> 2) & 3];
      CpuV = values[(bits >> 4) & 3];
      CpuC = values[(bits >> 6) & 3];
      const bool holds = TestCondition(static_cast<uint8_t>(cc)) != 0;
      Op().Extra2 = cc;
      CpuPC = 0x1000;
      Run(mcrBccB);
      ASSERT_EQ(CpuPC, holds ? 0x1006u : 0x1000u) << "cc " << cc << " flags " << bits;
      CpuDReg[3] = 0xABCD0005;  // a true condition ends the loop with the counter untouched
      CpuPC = 0x1004;
      Run(mcrDBcc);
      ASSERT_EQ(CpuDReg[3], holds ? 0xABCD0005u : 0xABCD0004u) << "cc " << cc << " flags " << bits;
      ASSERT_EQ(CpuPC, holds ? 0x1004u : 0x0FF2u);
    }
}

// Routines without steps of their own end at step 1 even when run by
// themselves at a stage left over; the extension-word fetch answers step 1 and
// a resumed step 2 alike, and any other stage is a fault.
TEST_F(RoutineTest, SteplessRoutinesEndAtStepOneFromAnyStage) {
  Op().Size = 2;
  Op().DstReg = 2;
  Op().Extra2 = 1;  // DBF
  CpuSop = 0x80000000;
  CpuEa = 0x2000;
  CpuExtraWord = 0x0010;
  for (void (*routine)() : {mcrMOVEL, mcrMOVELToDn, mcrMOVEAL, mcrMOVELRnDn, mcrMOVEQ, mcrSWAP, mcrBccB, mcrBRAW,
                            mcrJMP, mcrDBcc}) {
    CpuPC = 0x1004;
    CpuDReg[2] = 0x12340000;
    mcPC = kStep;
    mcStage = 7;
    routine();
    EXPECT_EQ(mcStage, 1);
    EXPECT_TRUE(mcPC == kStep + 1 || mcPC == McFastFetch);
  }
  // DBF on a zero counter: the low word wraps to 0xFFFF, the high word stays, no branch.
  EXPECT_EQ(CpuDReg[2], 0x1234FFFFu);
  EXPECT_EQ(CpuPC, 0x1004u);

  machine.Words(0x3000, {0xBEEF, 0xCAFE});
  for (uint8_t stage : {1, 2}) {
    CpuPC = 0x3000;
    if (stage == 2) {  // a resumed fetch finds its access prepared again
      CpuPC = 0x3002;
      PrepareFetchAccess();
    }
    mcPC = kStep;
    mcStage = stage;
    mcrFetchExt();
    ExpectNext();
    EXPECT_EQ(CpuExtraWord, stage == 1 ? 0xBEEF : 0xCAFE);
    EXPECT_EQ(CpuPC, stage == 1 ? 0x3002u : 0x3004u);
  }
  mcPC = kStep;
  mcStage = 3;
  mcrFetchExt();
  ExpectMicrocodeFault();
}

}  // namespace
}  // namespace korva::test
