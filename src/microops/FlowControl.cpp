// Program-flow micro-routines: Bcc, BRA and BSR with byte, word and long
// displacements, DBcc, and JMP (JSR is JMP after the return-address push).
// CpuPC already points past the opcode and every extension word fetched, so the
// word and long forms subtract 2 or 4 to branch relative to the opcode address + 2.
// All sums wrap at 32 bits; an odd or unmapped target faults at the next fetch.
// None of them has steps of its own: they end with McrEndInstructionStepless.
#include "cpu/Microroutines.h"
#include "microops/CcHelpers.h"
#include "microops/MoveCommon.h"

namespace korva {

// The routines marked always-inline below are small and run on most
// instructions of a typical program: the link-time optimiser puts them in line
// in every fused chain that calls them, which saves the call, the return and
// the reload of mcPC after each. Without link-time optimisation the mark changes
// nothing; GCC's note that such a routine "might not be inlinable" (into the
// other files that call it) is expected and kept quiet here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
[[gnu::always_inline]] void mcrBccB() {
  const OpMapEntry& op = CurrentOp();
  if (ConditionHolds(static_cast<uint32_t>(op.Extra2))) CpuPC += static_cast<uint32_t>(op.Extra1);
  McrEndInstructionStepless();
}

[[gnu::always_inline]] void mcrBccW() {
  if (ConditionHolds(static_cast<uint32_t>(CurrentOp().Extra2))) CpuPC += SignExtend16(CpuExtraWord) - 2u;
  McrEndInstructionStepless();
}

void mcrBccL() {
  if (ConditionHolds(static_cast<uint32_t>(CurrentOp().Extra2))) CpuPC += CpuSop - 4u;
  McrEndInstructionStepless();
}

void mcrBRAB() {
  CpuPC += static_cast<uint32_t>(CurrentOp().Extra1);
  McrEndInstructionStepless();
}

void mcrBRAW() {
  CpuPC += SignExtend16(CpuExtraWord) - 2u;
  McrEndInstructionStepless();
}

void mcrBRAL() {
  CpuPC += CpuSop - 4u;
  McrEndInstructionStepless();
}

// DBcc: a true condition ends the loop; otherwise the low word of Dn counts down
// and the branch is taken unless it has passed 0 (reached 0xFFFF).
[[gnu::always_inline]] void mcrDBcc() {
  const uint32_t target = CpuPC + SignExtend16(CpuExtraWord) - 2u;
  const OpMapEntry& op = CurrentOp();
  // DBF (DBRA), the plain counted loop, is the common form: its condition never
  // holds, so it is told apart by the whole field before any mask or table.
  const int32_t cond = op.Extra2;
  uint32_t& d = DReg(op.DstReg);
  if (cond == 1 || !ConditionHolds(static_cast<uint32_t>(cond) & 15)) {
    // Only the low word of Dn counts: it is read and written alone.
    uint16_t counter = LowWord(d);
    const bool passedZero = counter == 0;
    --counter;
    SetLowWord(d, counter);
    if (!passedZero) CpuPC = target;
  }
  McrEndInstructionStepless();
}
#pragma GCC diagnostic pop

void mcrJMP() {
  CpuPC = CpuEa;
  McrEndInstructionStepless();
}

}  // namespace korva
