// MOVES: a move between a general register and the address space named by the
// source or destination function-code register. The status words are given to
// the latches as they are (not through MakeFunctionCode), so the access uses
// exactly the function code in CpuSFC / CpuDFC. Each word is one restartable
// step; the set-up of the next word is done only after the previous succeeded.
#include "cpu/AccessSteps.h"
#include "cpu/Microroutines.h"
#include "cpu/classCPU.h"
#include "microops/MoveCommon.h"

namespace korva {

namespace {
// The status word of a read (function code CpuSFC) or a write (CpuDFC).
template <bool Write>
inline uint16_t MovesSsw(bool byte) {
  if constexpr (Write)
    return static_cast<uint16_t>((byte ? 0x1200 : 0x1000) | (CpuDFC & 7));
  else
    return static_cast<uint16_t>((byte ? 0x1300 : 0x1100) | (CpuSFC & 7));
}

// The memory side of MOVES: a read into CpuSop or a write of CpuDop, in steps
// byte 2, word 3, long 4-5.
template <bool Write>
void MovesTransfer() {
  const uint16_t size = CurrentOp().Size;
  unsigned step = mcStage;
  if (step == 1) {
    if (size > 2) return McrMicrocodeFault();
    AccAddress = CpuEa;
    if constexpr (Write)
      AccDataOut = static_cast<uint16_t>(size == 0 ? CpuDop & 0xFF : size == 1 ? CpuDop : CpuDop >> 16);
    Cpu.SSW(MovesSsw<Write>(size == 0));
    step = 2 + size;
  }
  switch (step) {
    case 2:
    case 3:
      if (!StepCycle(static_cast<uint8_t>(step))) return;
      if constexpr (!Write) CpuSop = step == 2 ? (AccDataIn & 0xFFu) : AccDataIn;
      break;
    case 4:
      if (!StepCycle(4)) return;
      if constexpr (Write)
        AccDataOut = static_cast<uint16_t>(CpuDop);
      else
        CpuTempWord = AccDataIn;
      AccAddress = CpuEa + 2;
      Cpu.SSW(MovesSsw<Write>(false));
      [[fallthrough]];
    case 5:
      if (!StepCycle(5)) return;
      if constexpr (!Write) CpuSop = MakeLong(CpuTempWord, AccDataIn);
      break;
    default: return McrMicrocodeFault();
  }
  McrEnd();
}
}  // namespace

// Extension word: bit 15 An/Dn, 14-12 the register, 11 register to memory; 10-0 must be 0.
void mcrMOVESDecode() {
  mcStage = 1;
  if (CpuExtraWord & 0x07FF)
    mcPC = McIllegal;
  else
    mcPC = (CpuExtraWord & 0x0800) ? McMOVESToMem : McMOVESToReg;
}

// Into An: byte and word sign-extended to 32 bits; into Dn: only the low byte or word.
void mcrMOVESToReg() {
  const uint16_t size = CurrentOp().Size;
  const bool isAddress = (CpuExtraWord & 0x8000) != 0;
  uint32_t& reg = ExtWordReg(CpuExtraWord);
  switch (size) {
    case 0: reg = isAddress ? SignExtend8(CpuSop) : (reg & 0xFFFFFF00u) | (CpuSop & 0xFF); break;
    case 1: reg = isAddress ? SignExtend16(CpuSop) : (reg & 0xFFFF0000u) | (CpuSop & 0xFFFF); break;
    case 2: reg = CpuSop; break;
    default: McrMicrocodeFault(); return;
  }
  McrEnd();
}

void mcrMOVESFromReg() {
  CpuDop = ExtWordReg(CpuExtraWord);
  McrEnd();
}

void mcrMOVESRead() { MovesTransfer<false>(); }
void mcrMOVESWrite() { MovesTransfer<true>(); }

}  // namespace korva
