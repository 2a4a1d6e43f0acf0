// Bit test and bit change micro-routines BTST, BSET, BCLR and BCHG, shared by
// the dynamic (bit number in Dn) and static (bit number in an extension word)
// forms. The bit number is taken modulo 8 for a memory byte and modulo 32 for
// a data register. Z reflects the bit before any change; no other flag moves.
#include "cpu/CpuState.h"
#include "cpu/Microroutines.h"
#include "microops/CcHelpers.h"
#include "microops/MoveCommon.h"
#include "tables/FixedTables.h"

namespace korva {

namespace {

enum class BitOp { Test, Set, Clear, Change };

template <BitOp Op>
inline void BitOperation() {
  uint32_t mask;
  switch (CurrentOp().Size) {
    case 0:
      mask = BitTable[CpuSop & 7u];
      break;
    case 2:
      mask = BitTable[CpuSop & 31u];
      break;
    default:
      McrMicrocodeFault();
      return;
  }
  CpuZ = ToFlag((CpuDop & mask) == 0);
  if constexpr (Op == BitOp::Test) {
    McrEndInstructionStepless();
  } else {
    if constexpr (Op == BitOp::Set)
      CpuDop |= mask;
    else if constexpr (Op == BitOp::Clear)
      CpuDop &= ~mask;
    else
      CpuDop ^= mask;
    McrEndStepless();
  }
}

}  // namespace

void mcrBTST() { BitOperation<BitOp::Test>(); }
void mcrBSET() { BitOperation<BitOp::Set>(); }
void mcrBCLR() { BitOperation<BitOp::Clear>(); }
void mcrBCHG() { BitOperation<BitOp::Change>(); }

}  // namespace korva
