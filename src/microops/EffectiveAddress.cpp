// Effective-address calculators: mcrDstEA and mcrSrcEA (MC68000/MC68010
// forms) and mcrDstEA32 and mcrSrcEA32 (CPU32 forms, with the scaled index and the full-format
// extension word). Each turns the source or destination operand of the current
// opcode into CpuEa / CpuEaFc, fetches the extension words the mode needs and
// performs the register update of (An)+ and -(An).
//
// Every extension fetch is its own restartable step: after a bus or address
// error the long fault frame brings back CpuPC, CpuEa (which may hold a parked
// base displacement), CpuTempWord, CpuExtWord and CpuExtCount, so the routine
// resumes at the failed fetch without fetching earlier words again.
#include "cpu/AccessSteps.h"
#include "cpu/Microroutines.h"
#include "microops/MoveCommon.h"
#include "tables/OpMap.h"
#include "tables/OperandFields.h"

namespace korva {
namespace {

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

// The index: the register's sign-extended low word, or the whole register by WL.
inline uint32_t IndexValue(const ExtWordEntry& x) {
  uint32_t r = IndexRegister(x);
  return x.WL ? r : SignExtend16(r);
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

// The effective address is complete: its function-code class (1 data, 2 program).
inline void EaDone(uint8_t fc) {
  CpuEaFc = fc;
  McrEnd();
}

// ---- CPU32 full-format extension words ----

// Base + displacement (parked in CpuEa) + scaled index; the indexed modes' last step.
template <bool PcMode>
inline void FinishIndexed32(uint16_t reg) {
  const ExtWordEntry& x = ExtWordTable[CpuExtWord & 0xFFFF];
  uint32_t base = 0;
  if (!x.BS) base = PcMode ? CpuPC - CpuExtCount : CpuAReg[reg & 7];
  uint32_t index = 0;
  if (!x.IS) index = IndexValue(x) << (x.Scale & 3);  // doubling Scale times, wrapping at 32 bits
  CpuEa = base + CpuEa + index;
  EaDone(PcMode ? 2 : 1);
}

// The base displacement of a full-format extension word: a word (An: step 4,
// PC: 12) or a long (An: 5-6, PC: 13-14). The PC-relative forms count the
// extension words fetched in CpuExtCount, which finds their base again.
template <bool PcMode>
void BaseDisplacement32(uint8_t step, uint16_t reg) {
  constexpr uint8_t kWordStep = PcMode ? 12 : 4;
  auto countWord = [] {
    if (PcMode) CpuExtCount = static_cast<uint16_t>(CpuExtCount + 2);
  };
  switch (step - kWordStep) {
    case 0:
      if (!StepFetchWord(kWordStep)) return;
      CpuPC += 2;
      countWord();
      CpuEa = SignExtend16(AccInstIn);
      return FinishIndexed32<PcMode>(reg);
    case 1:
      if (!StepFetchWord(kWordStep + 1)) return;
      CpuTempWord = AccInstIn;
      CpuPC += 2;
      countWord();
      PrepareFetchAccess();
      [[fallthrough]];
    case 2:
      if (!StepFetchWord(kWordStep + 2)) return;
      CpuPC += 2;
      countWord();
      CpuEa = MakeLong(CpuTempWord, AccInstIn);
      return FinishIndexed32<PcMode>(reg);
    default:
      return McrMicrocodeFault();
  }
}

// After the extension word of an indexed mode: reject unsupported forms, then
// either finish (no or brief displacement) or go on to the displacement fetch.
template <bool PcMode>
inline void IndexWord32(uint16_t reg) {
  CpuExtWord = AccInstIn;
  CpuPC += 2;
  if (PcMode) CpuExtCount = 2;
  const ExtWordEntry& x = ExtWordTable[CpuExtWord & 0xFFFF];
  if (x.Unsupported) return McrIllegal();
  constexpr uint8_t kWordStep = PcMode ? 12 : 4;
  switch (x.BDSize) {
    case 1:  // null displacement
      CpuEa = 0;
      break;
    case 2:
    case 3:
      PrepareFetchAccess();
      return BaseDisplacement32<PcMode>(static_cast<uint8_t>(kWordStep + x.BDSize - 2), reg);
    default:  // brief format
      CpuEa = static_cast<uint32_t>(x.Disp8);
      break;
  }
  FinishIndexed32<PcMode>(reg);
}

// ---- MC68000 / MC68010 brief extension words ----

template <bool PcMode>
inline void IndexWord(uint16_t reg) {
  CpuExtWord = AccInstIn;
  const ExtWordEntry& x = ExtWordTable[CpuExtWord & 0xFFFF];
  const uint32_t base = PcMode ? CpuPC : CpuAReg[reg];  // the PC is the extension word's address
  CpuPC += 2;
  CpuEa = base + IndexValue(x) + static_cast<uint32_t>(x.Disp8);
  EaDone(PcMode ? 2 : 1);
}

// ---- The calculators ----

// Step numbers of the extension fetches. The CPU32 forms insert the base
// displacement steps of the full-format extension word (4-6 and 12-14), which
// moves the absolute and PC-relative steps up:
//              d16(An) d8(An,Xn) abs.W abs.L d16(PC) d8(PC,Xn)
//   MC68000       2        3       4    5-6     7        8
//   CPU32         2        3       7    8-9    10       11
template <bool Cpu32>
struct EaSteps {
  static constexpr uint8_t AnDisp = 2, AnIndex = 3;
  static constexpr uint8_t AbsWord = Cpu32 ? 7 : 4, AbsLong = Cpu32 ? 8 : 5;
  static constexpr uint8_t PcDisp = Cpu32 ? 10 : 7, PcIndex = Cpu32 ? 11 : 8;
};

template <bool Dst, bool Cpu32>
void EaCalc() {
  using S = EaSteps<Cpu32>;
  const Operand op = CurrentOperand<Dst>();
  uint8_t step = mcStage;
  if (step == 1) {
    switch (op.mode) {
      case EaAnDisp16: step = S::AnDisp; break;
      case EaAnIndex: step = S::AnIndex; break;
      case EaAbsWord: step = S::AbsWord; break;
      case EaAbsLong: step = S::AbsLong; break;
      case EaPcDisp16: step = S::PcDisp; break;
      case EaPcIndex: step = S::PcIndex; break;
      default:
        SimpleModes(op);  // Dn, An, quick data and unused codes change nothing
        McrEnd();
        return;
    }
    PrepareFetchAccess();
  }
  switch (step) {
    case S::AnDisp:
      if (!StepFetchWord(step)) return;
      CpuPC += 2;
      CpuEa = CpuAReg[op.reg] + SignExtend16(AccInstIn);
      return EaDone(1);
    case S::AnIndex:
      if (!StepFetchWord(step)) return;
      if constexpr (Cpu32) return IndexWord32<false>(op.reg);
      return IndexWord<false>(op.reg);
    case S::AbsWord:
      if (!StepFetchWord(step)) return;
      CpuPC += 2;
      CpuEa = SignExtend16(AccInstIn);
      return EaDone(1);
    case S::AbsLong:
    case S::AbsLong + 1:
      if (StepsFetchLong(S::AbsLong, CpuEa)) EaDone(1);
      return;
    case S::PcDisp:
      if (!StepFetchWord(step)) return;
      CpuEa = CpuPC + SignExtend16(AccInstIn);  // CpuPC is still the displacement's address
      CpuPC += 2;
      return EaDone(2);
    case S::PcIndex:
      if (!StepFetchWord(step)) return;
      if constexpr (Cpu32) return IndexWord32<true>(op.reg);
      return IndexWord<true>(op.reg);
    default:
      if constexpr (Cpu32) {
        if (step >= 4 && step <= 6) return BaseDisplacement32<false>(step, op.reg);
        if (step >= 12 && step <= 14) return BaseDisplacement32<true>(step, op.reg);
      }
      return McrMicrocodeFault();
  }
}

}  // namespace

void mcrDstEA() { EaCalc<true, false>(); }
void mcrSrcEA() { EaCalc<false, false>(); }
void mcrDstEA32() { EaCalc<true, true>(); }
void mcrSrcEA32() { EaCalc<false, true>(); }

}  // namespace korva
