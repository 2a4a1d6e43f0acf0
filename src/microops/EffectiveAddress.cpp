// Effective-address calculators: micro-routines 37 and 39 (MC68000/MC68010
// forms) and 38 and 40 (CPU32 forms, with the scaled index and the full-format
// extension word). Each turns the source or destination operand of the current
// opcode into CpuEa / CpuEaFc, fetches the extension words the mode needs and
// performs the register update of (An)+ and -(An).
//
// Every extension fetch is its own restartable step: after a bus or address
// error the long fault frame brings back CpuPC, CpuEa (which may hold a parked
// base displacement), CpuTempWord, CpuExtWord and CpuExtCount, so the routine
// resumes at the failed fetch without fetching earlier words again.
#include "bus/BusCycles.h"
#include "cpu/CpuState.h"
#include "cpu/Microroutines.h"
#include "tables/OpMap.h"
#include "tables/OperandFields.h"

namespace korva {
namespace {

constexpr uint16_t SswProgramFetch = 0x2102;

inline uint32_t SignExtendWord(uint16_t w) { return static_cast<uint32_t>(static_cast<int32_t>(static_cast<int16_t>(w))); }

// Prepare the next instruction-stream fetch at CpuPC.
inline void PrepareExtFetch() {
  AccAddress = CpuPC;
  SetAccSSW(MakeFunctionCode(SswProgramFetch));
}

struct Operand {
  uint16_t mode;
  uint16_t reg;
};

template <bool Dst>
inline Operand CurrentOperand() {
  const OpMapEntry& e = CurrentOp();
  if constexpr (Dst)
    return {e.DstMode, static_cast<uint16_t>(e.DstReg & 7)};
  else
    return {e.SrcMode, static_cast<uint16_t>(e.SrcReg & 7)};
}

// The index register of an extension word: Dn or An by DA, register Reg.
inline uint32_t IndexRegister(const ExtWordEntry& x) {
  return x.DA ? CpuAReg[x.Reg & 7] : CpuDReg[x.Reg & 7];
}

// MC68000/MC68010 index: the sign-extended low word, or the whole register by WL.
inline uint32_t BriefIndex(const ExtWordEntry& x) {
  uint32_t r = IndexRegister(x);
  return x.WL ? r : SignExtendWord(static_cast<uint16_t>(r));
}

// The register steps shared by both calculator families (modes without extension words).
// Returns true when the mode has been handled completely.
inline bool SimpleModes(const Operand& op) {
  switch (op.mode) {
    case EaAnIndirect:
      CpuEa = CpuAReg[op.reg];
      CpuEaFc = 1;
      return true;
    case EaAnPostInc:
      CpuEa = CpuAReg[op.reg];
      PostIncrementAn(op.reg, CurrentOp().Size);
      CpuEaFc = 1;
      return true;
    case EaAnPreDec:
      PreDecrementAn(op.reg, CurrentOp().Size);
      CpuEa = CpuAReg[op.reg];
      CpuEaFc = 1;
      return true;
    case EaImmediate:
      // The operand read fetches the immediate and advances CpuPC.
      CpuEa = CpuPC;
      CpuEaFc = 2;
      return true;
    default:
      return false;
  }
}

// ---- MC68000 / MC68010 calculators ----
//  2 d16(An)   3 d8(An,Xn)   4 abs.W   5-6 abs.L   7 d16(PC)   8 d8(PC,Xn)
template <bool Dst>
void EaCalc() {
  const Operand op = CurrentOperand<Dst>();
  switch (mcStage) {
    case 1:
      switch (op.mode) {
        case EaAnDisp16: PrepareExtFetch(); goto step2;
        case EaAnIndex: PrepareExtFetch(); goto step3;
        case EaAbsWord: PrepareExtFetch(); goto step4;
        case EaAbsLong: PrepareExtFetch(); goto step5;
        case EaPcDisp16: PrepareExtFetch(); goto step7;
        case EaPcIndex: PrepareExtFetch(); goto step8;
        default:
          SimpleModes(op);  // Dn, An, quick data and unused codes change nothing
          McrEnd();
          return;
      }
    case 2:
    step2:
      BusFetchWord();
      if (FaultFlag) return EnterBusFault(2);
      CpuPC += 2;
      CpuEa = CpuAReg[op.reg] + SignExtendWord(AccInstIn);
      CpuEaFc = 1;
      return McrEnd();
    case 3:
    step3: {
      BusFetchWord();
      if (FaultFlag) return EnterBusFault(3);
      CpuExtWord = AccInstIn;
      CpuPC += 2;
      const ExtWordEntry& x = ExtWordTable[CpuExtWord & 0xFFFF];
      CpuEa = CpuAReg[op.reg] + BriefIndex(x) + static_cast<uint32_t>(x.Disp8);
      CpuEaFc = 1;
      return McrEnd();
    }
    case 4:
    step4:
      BusFetchWord();
      if (FaultFlag) return EnterBusFault(4);
      CpuPC += 2;
      CpuEa = SignExtendWord(AccInstIn);
      CpuEaFc = 1;
      return McrEnd();
    case 5:
    step5:
      BusFetchWord();
      if (FaultFlag) return EnterBusFault(5);
      CpuTempWord = AccInstIn;
      CpuPC += 2;
      PrepareExtFetch();
      [[fallthrough]];
    case 6:
      BusFetchWord();
      if (FaultFlag) return EnterBusFault(6);
      CpuPC += 2;
      CpuEa = (static_cast<uint32_t>(CpuTempWord) << 16) | AccInstIn;
      CpuEaFc = 1;
      return McrEnd();
    case 7:
    step7:
      BusFetchWord();
      if (FaultFlag) return EnterBusFault(7);
      CpuEa = CpuPC + SignExtendWord(AccInstIn);  // CpuPC is still the displacement's address
      CpuPC += 2;
      CpuEaFc = 2;
      return McrEnd();
    case 8:
    step8: {
      BusFetchWord();
      if (FaultFlag) return EnterBusFault(8);
      CpuExtWord = AccInstIn;
      const ExtWordEntry& x = ExtWordTable[CpuExtWord & 0xFFFF];
      CpuEa = CpuPC + BriefIndex(x) + static_cast<uint32_t>(x.Disp8);
      CpuPC += 2;
      CpuEaFc = 2;
      return McrEnd();
    }
    default:
      return McrMicrocodeFault();
  }
}

// ---- CPU32 calculators ----
//  2 d16(An)   3 d8(An,Xn) ext   4 word bd   5-6 long bd   7 abs.W   8-9 abs.L
// 10 d16(PC)  11 d8(PC,Xn) ext  12 word bd  13-14 long bd

// Base + displacement (parked in CpuEa) + scaled index; the indexed modes' last step.
template <bool PcMode>
inline void FinishIndexed32(uint16_t reg) {
  const ExtWordEntry& x = ExtWordTable[CpuExtWord & 0xFFFF];
  uint32_t base = 0;
  if (!x.BS) base = PcMode ? CpuPC - CpuExtCount : CpuAReg[reg & 7];
  uint32_t index = 0;
  if (!x.IS) {
    uint32_t r = IndexRegister(x);
    if (!x.WL) r = SignExtendWord(static_cast<uint16_t>(r));
    index = r << (x.Scale & 3);  // doubling Scale times, wrapping at 32 bits
  }
  CpuEa = base + CpuEa + index;
  CpuEaFc = PcMode ? 2 : 1;
  McrEnd();
}

// After the extension word of an indexed mode: reject unsupported forms, then
// either finish (no or brief displacement) or go on to the displacement fetch.
// Returns the next step (0 when the routine is done).
template <bool PcMode>
inline int AfterIndexWord32(uint16_t reg) {
  CpuExtWord = AccInstIn;
  CpuPC += 2;
  if (PcMode) CpuExtCount = 2;
  const ExtWordEntry& x = ExtWordTable[CpuExtWord & 0xFFFF];
  if (x.Unsupported) {
    McrIllegal();
    return 0;
  }
  switch (x.BDSize) {
    case 1:  // null displacement
      CpuEa = 0;
      break;
    case 2:
      PrepareExtFetch();
      return PcMode ? 12 : 4;
    case 3:
      PrepareExtFetch();
      return PcMode ? 13 : 5;
    default:  // brief format
      CpuEa = static_cast<uint32_t>(x.Disp8);
      break;
  }
  FinishIndexed32<PcMode>(reg);
  return 0;
}

template <bool Dst>
void EaCalc32() {
  const Operand op = CurrentOperand<Dst>();
  int next = 0;
  switch (mcStage) {
    case 1:
      switch (op.mode) {
        case EaAnDisp16: PrepareExtFetch(); goto step2;
        case EaAnIndex: PrepareExtFetch(); goto step3;
        case EaAbsWord: PrepareExtFetch(); goto step7;
        case EaAbsLong: PrepareExtFetch(); goto step8;
        case EaPcDisp16: PrepareExtFetch(); goto step10;
        case EaPcIndex: PrepareExtFetch(); goto step11;
        default:
          SimpleModes(op);
          McrEnd();
          return;
      }
    case 2:
    step2:
      BusFetchWord();
      if (FaultFlag) return EnterBusFault(2);
      CpuPC += 2;
      CpuEa = CpuAReg[op.reg] + SignExtendWord(AccInstIn);
      CpuEaFc = 1;
      return McrEnd();
    case 3:
    step3:
      BusFetchWord();
      if (FaultFlag) return EnterBusFault(3);
      next = AfterIndexWord32<false>(op.reg);
      if (next == 4) goto step4;
      if (next == 5) goto step5;
      return;
    case 4:
    step4:
      BusFetchWord();
      if (FaultFlag) return EnterBusFault(4);
      CpuPC += 2;
      CpuEa = SignExtendWord(AccInstIn);
      return FinishIndexed32<false>(op.reg);
    case 5:
    step5:
      BusFetchWord();
      if (FaultFlag) return EnterBusFault(5);
      CpuTempWord = AccInstIn;
      CpuPC += 2;
      PrepareExtFetch();
      [[fallthrough]];
    case 6:
      BusFetchWord();
      if (FaultFlag) return EnterBusFault(6);
      CpuPC += 2;
      CpuEa = (static_cast<uint32_t>(CpuTempWord) << 16) | AccInstIn;
      return FinishIndexed32<false>(op.reg);
    case 7:
    step7:
      BusFetchWord();
      if (FaultFlag) return EnterBusFault(7);
      CpuPC += 2;
      CpuEa = SignExtendWord(AccInstIn);
      CpuEaFc = 1;
      return McrEnd();
    case 8:
    step8:
      BusFetchWord();
      if (FaultFlag) return EnterBusFault(8);
      CpuTempWord = AccInstIn;
      CpuPC += 2;
      PrepareExtFetch();
      [[fallthrough]];
    case 9:
      BusFetchWord();
      if (FaultFlag) return EnterBusFault(9);
      CpuPC += 2;
      CpuEa = (static_cast<uint32_t>(CpuTempWord) << 16) | AccInstIn;
      CpuEaFc = 1;
      return McrEnd();
    case 10:
    step10:
      BusFetchWord();
      if (FaultFlag) return EnterBusFault(10);
      CpuEa = CpuPC + SignExtendWord(AccInstIn);
      CpuPC += 2;
      CpuEaFc = 2;
      return McrEnd();
    case 11:
    step11:
      BusFetchWord();
      if (FaultFlag) return EnterBusFault(11);
      next = AfterIndexWord32<true>(op.reg);
      if (next == 12) goto step12;
      if (next == 13) goto step13;
      return;
    case 12:
    step12:
      BusFetchWord();
      if (FaultFlag) return EnterBusFault(12);
      CpuPC += 2;
      CpuExtCount = static_cast<uint16_t>(CpuExtCount + 2);
      CpuEa = SignExtendWord(AccInstIn);
      return FinishIndexed32<true>(op.reg);
    case 13:
    step13:
      BusFetchWord();
      if (FaultFlag) return EnterBusFault(13);
      CpuTempWord = AccInstIn;
      CpuPC += 2;
      CpuExtCount = static_cast<uint16_t>(CpuExtCount + 2);
      PrepareExtFetch();
      [[fallthrough]];
    case 14:
      BusFetchWord();
      if (FaultFlag) return EnterBusFault(14);
      CpuPC += 2;
      CpuExtCount = static_cast<uint16_t>(CpuExtCount + 2);
      CpuEa = (static_cast<uint32_t>(CpuTempWord) << 16) | AccInstIn;
      return FinishIndexed32<true>(op.reg);
    default:
      return McrMicrocodeFault();
  }
}

}  // namespace

void mcrDstEA() { EaCalc<true>(); }
void mcrSrcEA() { EaCalc<false>(); }
void mcrDstEA32() { EaCalc32<true>(); }
void mcrSrcEA32() { EaCalc32<false>(); }

}  // namespace korva
