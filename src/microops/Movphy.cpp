// MOVPHY, the emulator's own physical-move instruction (line 1111, present only
// while MovePhysEn is on): a byte, word or long between a data register and the
// physical address in an address register, past the MMU, the function codes and
// the bus-fault machinery. A faulting access is dropped (a read gives 0); no
// exception is ever taken, and neither An nor the condition codes change.
// Instruction word: bit 8 direction (1 register to memory), bits 7-6 size,
// bits 5-3 An, bits 2-0 Dn.
#include "bus/Memory.h"
#include "cpu/Microroutines.h"
#include "microops/MoveCommon.h"

namespace korva {

void mcrMOVPHY() {
  const uint32_t opcode = CpuOpcode;
  const bool toMemory = (opcode & 0x100) != 0;
  const unsigned size = (opcode >> 6) & 3;
  uint32_t& d = CpuDReg[opcode & 7];
  const uint32_t address = CpuAReg[(opcode >> 3) & 7] & 0xFFFFFF;
  const uint32_t address2 = (address + 2) & 0xFFFFFF;

  ClearBusFaults();
  if (toMemory) {
    switch (size) {
      case 0: WriteMemory(address, True, static_cast<uint16_t>(d & 0xFF), False); break;
      case 1: WriteMemory(address, False, static_cast<uint16_t>(d), False); break;
      case 2:
        WriteMemory(address, False, static_cast<uint16_t>(d >> 16), False);
        WriteMemory(address2, False, static_cast<uint16_t>(d), False);
        break;
      default: break;  // size 3 is never mapped to this routine
    }
  } else {
    switch (size) {
      case 0: d = SignExtend16(ReadMemory(address, True)); break;
      case 1: d = SignExtend16(ReadMemory(address, False)); break;
      case 2: {
        const uint32_t high = ReadMemory(address, False);
        d = (high << 16) | ReadMemory(address2, False);
        break;
      }
      default: break;
    }
  }
  ClearBusFaults();
  McrEndInstruction();
}

}  // namespace korva
