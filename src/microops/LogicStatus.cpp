// Set-on-condition and the status-register immediates ANDI, ORI and EORI to CCR
// and to SR. The SR forms are privileged by the opcode map (their user entry is
// the privilege-violation routine), so these routines run in supervisor state.
#include "cpu/CpuState.h"
#include "cpu/Microroutines.h"
#include "cpu/classCPU.h"
#include "microops/CcHelpers.h"

namespace korva {

namespace {

// The immediate word is in CpuSop. Byte size: the CCR form, on the five
// condition codes; word size: the SR form, through the SR property so that a
// change of the S bit swaps the stack pointers.
template <Logic Op>
inline void StatusImmediate() {
  const uint16_t imm = static_cast<uint16_t>(CpuSop);
  switch (CurrentOp().Size) {
    case 0:
      Cpu.CCR(static_cast<uint8_t>(ApplyLogic<Op>(Cpu.CCR(), imm & 0xFFu)));
      break;
    case 1:
      Cpu.SR(static_cast<uint16_t>(ApplyLogic<Op>(Cpu.SR(), imm)));
      break;
    default:
      McrMicrocodeFault();
      return;
  }
  McrEndInstruction();
}

}  // namespace

void mcrANDItoSR() { StatusImmediate<Logic::And>(); }
void mcrORItoSR() { StatusImmediate<Logic::Or>(); }
void mcrEORItoSR() { StatusImmediate<Logic::Eor>(); }

// Scc: 0xFF when the condition in Extra2 holds, else 0; the byte write follows.
void mcrScc() {
  CpuDop = TestCondition(static_cast<uint8_t>(CurrentOp().Extra2 & 15)) ? 0xFFu : 0u;
  McrEnd();
}

}  // namespace korva
