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

// The index register of an extension word: Dn or An by DA, register Reg.
inline uint32_t IndexRegister(const ExtWordEntry& x) {
  return x.DA ? CpuAReg[x.Reg & 7] : CpuDReg[x.Reg & 7];
}

// The index: the register's sign-extended low word, or the whole register by WL.
inline uint32_t IndexValue(const ExtWordEntry& x) {
  uint32_t r = IndexRegister(x);
  return x.WL ? r : SignExtend16(r);
}

// The effective address is complete: its function-code class (1 data, 2 program).
inline void EaDone(uint8_t fc) {
  CpuEaFc = fc;
  McrEnd();
}

// ---- CPU32 full-format extension words ----

// Base + displacement (parked in CpuEa) + scaled index; the indexed modes' last step.
template <bool PcMode>
inline void FinishIndexed32(uint32_t reg) {
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
void BaseDisplacement32(uint8_t step, uint32_t reg) {
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
inline void IndexWord32(uint32_t reg) {
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
inline void IndexWord(uint32_t reg) {
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

// The steps that begin with an extension fetch, each entered with its fetch
// prepared (by step 1, or restored from the fault frame on a resume).
template <bool Cpu32>
struct EaFetchSteps {
  using S = EaSteps<Cpu32>;
  [[gnu::always_inline]] static void AnDisp(uint32_t reg) {
    if (!StepFetchWord(S::AnDisp)) return;
    CpuPC += 2;
    CpuEa = CpuAReg[reg] + SignExtend16(AccInstIn);
    EaDone(1);
  }
  [[gnu::always_inline]] static void AnIndex(uint32_t reg) {
    if (!StepFetchWord(S::AnIndex)) return;
    if constexpr (Cpu32)
      IndexWord32<false>(reg);
    else
      IndexWord<false>(reg);
  }
  [[gnu::always_inline]] static void AbsWord() {
    if (!StepFetchWord(S::AbsWord)) return;
    CpuPC += 2;
    CpuEa = SignExtend16(AccInstIn);
    EaDone(1);
  }
  // Fresh: entered from step 1, whose latches still hold for the second word.
  template <bool Fresh = false>
  [[gnu::always_inline]] static void AbsLong() {
    if (Fresh ? FreshFetchLong(S::AbsLong, CpuEa) : StepsFetchLong(S::AbsLong, CpuEa)) EaDone(1);
  }
  [[gnu::always_inline]] static void PcDisp() {
    if (!StepFetchWord(S::PcDisp)) return;
    CpuEa = CpuPC + SignExtend16(AccInstIn);  // CpuPC is still the displacement's address
    CpuPC += 2;
    EaDone(2);
  }
  [[gnu::always_inline]] static void PcIndex(uint32_t reg) {
    if (!StepFetchWord(S::PcIndex)) return;
    if constexpr (Cpu32)
      IndexWord32<true>(reg);
    else
      IndexWord<true>(reg);
  }
};

// Step 1 of a mode with extension words: prepare the first fetch and run its
// step. Kept out of line, so that the register modes, which make no access,
// are not charged for the bus code's registers and stack frame.
template <bool Cpu32, EaModeCode Mode>
[[gnu::noinline]] void EaFirstFetchOutOfLine(uint32_t reg) {
  using F = EaFetchSteps<Cpu32>;
  PrepareFetchAccess();
  if constexpr (Mode == EaAnDisp16)
    F::AnDisp(reg);
  else if constexpr (Mode == EaAnIndex)
    F::AnIndex(reg);
  else if constexpr (Mode == EaAbsWord)
    F::AbsWord();
  else if constexpr (Mode == EaAbsLong)
    F::template AbsLong<true>();
  else if constexpr (Mode == EaPcDisp16)
    F::PcDisp();
  else
    F::PcIndex(reg);
}
template <bool Cpu32, EaModeCode Mode>
[[gnu::always_inline]] inline void EaFirstFetch(uint32_t reg) {
  EaFirstFetchOutOfLine<Cpu32, Mode>(reg);
  LeaveCommonWay();
}

template <bool Cpu32>
void EaResume(uint8_t step, uint32_t reg);

// The end of step 1 in the register-indirect and immediate modes: mcStage is
// still 1 (the step just tested, and nothing on the way changes it), so only
// mcPC moves on.
[[gnu::always_inline]] inline void EaDoneAtStepOne(uint8_t fc) {
  CpuEaFc = fc;
  mcPC += 1;
}

// Step 1 branches once on the mode: the register modes finish at once, the
// others prepare their first extension fetch and go straight into its step.
template <bool Dst, bool Cpu32>
[[gnu::always_inline]] inline void EaCalc() {
  const OpMapEntry& e = CurrentOp();
  const uint8_t step = mcStage;
  if (step != 1) [[unlikely]]
    return EaResume<Cpu32>(step, (Dst ? e.DstReg : e.SrcReg) & 7u);
  // (An), (An)+ and -(An), the modes met most, are told from the others by one
  // test of the entry's IndirectAn, whose bound also keeps the index inside the
  // register file, and then run without a branch: the entry holds the
  // register's change before and after the address is taken (0 where the mode
  // makes none). The opcode-map build works both out from the size, mode and
  // register. Laid out in line, where a fused chain runs straight through them.
  const uint32_t indirectAn = Dst ? e.DstIndirectAn : e.SrcIndirectAn;
  if (indirectAn < NoIndirectAn) [[likely]] {
    uint32_t& an = CpuAReg[indirectAn];
    const int32_t pre = Dst ? e.DstPreStep : e.SrcPreStep;
    const int32_t post = Dst ? e.DstPostStep : e.SrcPostStep;
    const uint32_t ea = an + static_cast<uint32_t>(pre);
    CpuEa = ea;
    an = ea + static_cast<uint32_t>(post);
    return EaDoneAtStepOne(1);
  }
  // The others by plain tests rather than one switch: d16(An), met most among
  // them, is decided by a predictable branch instead of an indirect jump.
  const uint32_t mode = Dst ? e.DstMode : e.SrcMode;
  const uint32_t reg = (Dst ? e.DstReg : e.SrcReg) & 7u;
  if (mode == EaAnDisp16) return EaFirstFetch<Cpu32, EaAnDisp16>(reg);
  switch (mode) {
    case EaAnIndex: return EaFirstFetch<Cpu32, EaAnIndex>(reg);
    case EaAbsWord: return EaFirstFetch<Cpu32, EaAbsWord>(reg);
    case EaAbsLong: return EaFirstFetch<Cpu32, EaAbsLong>(reg);
    case EaPcDisp16: return EaFirstFetch<Cpu32, EaPcDisp16>(reg);
    case EaPcIndex: return EaFirstFetch<Cpu32, EaPcIndex>(reg);
    case EaAnIndirect:
    case EaAnPostInc:
    case EaAnPreDec:
      // Only an entry written by hand without FillAnFields comes here: the
      // register and its step are worked out from the mode and size instead.
      if (mode == EaAnPreDec) CpuAReg[reg] -= AnStep(static_cast<int>(reg), e.Size);
      CpuEa = CpuAReg[reg];
      if (mode == EaAnPostInc) CpuAReg[reg] += AnStep(static_cast<int>(reg), e.Size);
      return EaDoneAtStepOne(1);
    case EaImmediate:
      // The operand read fetches the immediate and advances CpuPC.
      CpuEa = CpuPC;
      return EaDoneAtStepOne(2);
    default:  // Dn, An, quick data and unused codes change nothing
      mcPC += 1;
      return;
  }
}

// A resumed step (after a fault frame's RTE): the fetch of `step` is restored.
template <bool Cpu32>
[[gnu::noinline]] void EaResume(uint8_t step, uint32_t reg) {
  using S = EaSteps<Cpu32>;
  using F = EaFetchSteps<Cpu32>;
  switch (step) {
    case S::AnDisp: return F::AnDisp(reg);
    case S::AnIndex: return F::AnIndex(reg);
    case S::AbsWord: return F::AbsWord();
    case S::AbsLong:
    case S::AbsLong + 1: return F::AbsLong();
    case S::PcDisp: return F::PcDisp();
    case S::PcIndex: return F::PcIndex(reg);
    default:
      if constexpr (Cpu32) {
        if (step >= 4 && step <= 6) return BaseDisplacement32<false>(step, reg);
        if (step >= 12 && step <= 14) return BaseDisplacement32<true>(step, reg);
      }
      return McrMicrocodeFault();
  }
}

}  // namespace

// The MC68000/MC68010 calculators run in most instructions with a memory
// operand; their register-indirect modes are a few instructions. Marked
// always-inline: put in line in the fused chains by the link-time optimiser
// (see microops/FlowControl.cpp).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
[[gnu::always_inline]] void mcrDstEA() { EaCalc<true, false>(); }
[[gnu::always_inline]] void mcrSrcEA() { EaCalc<false, false>(); }
#pragma GCC diagnostic pop
void mcrDstEA32() { EaCalc<true, true>(); }
void mcrSrcEA32() { EaCalc<false, true>(); }

}  // namespace korva
