// Operand-pair read (mcrReadSrcPair): two consecutive operands of the
// instruction's size at CpuEa, the first into CpuSop and the second into CpuDop.
// CHK2/CMP2 read their bounds with it, the CPU32 table lookups two adjacent
// entries. Each read is a restartable step; the long fault frame keeps CpuSop,
// CpuTempWord and CpuEa, so reads already done are not repeated.
//
//  data space:    2-3 bytes   4-5 words   6-7 first long   8-9 second long
//  program space: 10-11 bytes 12-13 words 14-15 first long 16-17 second long
#include "cpu/AccessSteps.h"
#include "cpu/Microroutines.h"
#include "tables/OperandFields.h"

namespace korva {
namespace {

// Set the address and status word of the next read.
inline void Prepare(uint32_t offset, uint16_t ssw) { PrepareAccess(CpuEa + offset, ssw); }

// One pair in one address space: `first` is the first step of the space
// (2 data, 10 program); the byte, word and long steps follow from it.
inline void ReadPair(uint8_t first, uint16_t byteSsw, uint16_t wordSsw) {
  const int rel = mcStage - first;  // 0-7 within the space
  switch (rel) {
    case 0:
      if (!StepReadByte(first)) return;
      CpuSop = AccDataIn & 0xFF;
      Prepare(1, byteSsw);
      [[fallthrough]];
    case 1:
      if (!StepReadByte(static_cast<uint8_t>(first + 1))) return;
      CpuDop = AccDataIn & 0xFF;
      return McrEnd();
    case 2:
      if (!StepReadWord(static_cast<uint8_t>(first + 2))) return;
      CpuSop = AccDataIn;
      Prepare(2, wordSsw);
      [[fallthrough]];
    case 3:
      if (!StepReadWord(static_cast<uint8_t>(first + 3))) return;
      CpuDop = AccDataIn;
      return McrEnd();
    case 4:
    case 5:
      if (!StepsReadLong(static_cast<uint8_t>(first + 4), CpuEa, CpuSop, wordSsw)) return;
      Prepare(4, wordSsw);
      [[fallthrough]];
    case 6:
    case 7:
      if (StepsReadLong(static_cast<uint8_t>(first + 6), CpuEa + 4, CpuDop, wordSsw)) McrEnd();
      return;
    default:
      return McrMicrocodeFault();
  }
}

}  // namespace

void mcrReadSrcPair() {
  if (mcStage == 1) {
    const OpMapEntry& e = CurrentOp();
    int first;
    uint16_t byteSsw, wordSsw;
    switch (e.SrcMode) {
      case EaAnIndirect:
      case EaAnDisp16:
      case EaAnIndex:
      case EaAbsWord:
      case EaAbsLong:
        first = 2, byteSsw = 0x1301, wordSsw = 0x1101;
        break;
      case EaPcDisp16:
      case EaPcIndex:
        first = 10, byteSsw = 0x1302, wordSsw = 0x1102;
        break;
      default:  // no memory operand: nothing to read
        return McrEnd();
    }
    switch (e.Size) {
      case 0: Prepare(0, byteSsw); break;
      case 1: Prepare(0, wordSsw); first += 2; break;
      case 2: Prepare(0, wordSsw); first += 4; break;
      default: return McrEnd();
    }
    mcStage = static_cast<uint8_t>(first);
  }
  if (mcStage >= 2 && mcStage <= 9)
    return ReadPair(2, 0x1301, 0x1101);
  if (mcStage >= 10 && mcStage <= 17)
    return ReadPair(10, 0x1302, 0x1102);
  McrMicrocodeFault();
}

}  // namespace korva
