// MOVEM: a register list moved to or from consecutive memory words.
// The whole transfer runs in one call. Every bus access has a fixed step number
// (word forms: k + 2 for mask bit k; long forms: 2k + 2 and 2k + 3), so after a
// bus or address error the handler's RTE re-enters the routine at the failed
// access, with the address, data and status word restored from the fault frame,
// and the walk goes on from there without repeating accesses that succeeded.
// Registers are numbered 0-7 for D0-D7 and 8-15 for A0-A7; in the predecrement
// forms mask bit k selects register 15 - k.
#include <bit>
#include "cpu/AccessSteps.h"
#include "cpu/Microroutines.h"
#include "microops/MoveCommon.h"

namespace korva {

namespace {

inline uint32_t& ListRegister(unsigned r) { return r < 8 ? CpuDReg[r] : CpuAReg[r - 8]; }

// One prepared word of the transfer: read into AccDataIn, or AccDataOut written.
template <bool kToRegs>
[[gnu::always_inline]] inline bool MovemWord(uint8_t step) {
  if constexpr (kToRegs)
    return StepReadWord(step);
  else
    return StepWriteWord(step);
}

template <bool kLong, bool kToRegs, bool kPredec>
void MovemTransfer() {
  constexpr unsigned kLastStage = kLong ? 33 : 17;
  constexpr uint32_t kStep = kLong ? 4 : 2;
  const unsigned stage = mcStage;
  if (stage < 1 || stage > kLastStage) {
    McrMicrocodeFault();
    return;
  }
  const OpMapEntry& op = CurrentOp();
  const uint16_t mask = CpuExtraWord;
  // Data read or write in the operand's address space; only the function code
  // varies, so the unpacked latches of every access are constants.
  const uint16_t ssw = static_cast<uint16_t>((kToRegs ? 0x1100 : 0x1000) | (CpuEaFc & 7));

  // The accesses of mask bit k, from `half` on (0 the first or only word, 1 the
  // second); fresh: prepare the first access here (else a resume found it restored).
  // The status word is the same for every access: the walk sets its latches once,
  // and nothing between two accesses of this call changes them (cpu/AccessSteps.h);
  // a resumed access has the fault frame's, so its second word sets them again.
  const auto transfer = [&](unsigned k, unsigned half, bool fresh) __attribute__((always_inline)) -> bool {
    uint32_t& reg = ListRegister(kPredec ? 15 - k : k);
    if (fresh) {
      if constexpr (kPredec) {
        // An follows the stores: before each address register it holds the address
        // of the word stored last.
        if (k < 8) AReg(op.DstReg) = CpuEa;
        CpuEa -= kStep;
      }
      AccAddress = CpuEa;
      if constexpr (!kToRegs) AccDataOut = static_cast<uint16_t>(kLong ? reg >> 16 : reg);
    }
    if constexpr (kLong) {
      if (half == 0) {
        if (!MovemWord<kToRegs>(static_cast<uint8_t>(2 * k + 2))) return false;
        if constexpr (kToRegs) CpuTempWord = AccDataIn;
        AccAddress = CpuEa + 2;
        if constexpr (!kToRegs) AccDataOut = static_cast<uint16_t>(reg);
        if (!fresh) SetAccSSWInState(ssw);
      }
    }
    if (!MovemWord<kToRegs>(static_cast<uint8_t>(kLong ? 2 * k + 3 : k + 2))) return false;
    if constexpr (kToRegs) {
      if constexpr (kLong)
        reg = MakeLong(CpuTempWord, AccDataIn);
      else
        reg = SignExtend16(AccDataIn);
    }
    if constexpr (!kPredec) CpuEa += kStep;
    return true;
  };

  unsigned next = 0;  // the first mask bit still to look at
  if (stage == 1) {
    // The address calculator already lowered An by one operand; start from An's old value.
    if constexpr (kPredec) CpuEa += kStep;
  } else {
    // Resumed at an access of register k: finish it, whatever its mask bit, then go on.
    const unsigned k = kLong ? (stage - 2) / 2 : stage - 2;
    const unsigned half = kLong ? (stage - 2) & 1 : 0;
    if (!transfer(k, half, false)) return;
    next = k + 1;
  }
  // Only the set bits of the mask cost a pass.
  uint32_t bits = (static_cast<uint32_t>(mask) >> next) << next;
  if (bits != 0) SetAccSSWInState(ssw);
  for (; bits != 0; bits &= bits - 1) {
    if (!transfer(static_cast<unsigned>(std::countr_zero(bits)), 0, true)) return;
  }

  if constexpr (kPredec) {
    AReg(op.DstReg) = CpuEa;
  } else if constexpr (kToRegs) {
    // (An)+: An ends after the last word read, whatever was loaded into it.
    if (op.SrcMode == EaAnPostInc) AReg(op.SrcReg) = CpuEa;
  }
  McrEndInstruction();
}

}  // namespace

void mcrMOVEMWToRegs() { MovemTransfer<false, true, false>(); }
void mcrMOVEMLToRegs() { MovemTransfer<true, true, false>(); }
void mcrMOVEMWToMem() { MovemTransfer<false, false, false>(); }
void mcrMOVEMLToMem() { MovemTransfer<true, false, false>(); }
void mcrMOVEMWToMemPredec() { MovemTransfer<false, false, true>(); }
void mcrMOVEMLToMemPredec() { MovemTransfer<true, false, true>(); }

}  // namespace korva
