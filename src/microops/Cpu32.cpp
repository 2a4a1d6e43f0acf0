// CPU32 line-F800 decode (LPSTOP), the checked status-register load shared by
// STOP and LPSTOP, and the table-lookup steps. The table-lookup-and-interpolate
// instructions themselves are not carried out: every extension word other than
// LPSTOP's takes the line-1111 exception.
#include "cpu/Microroutines.h"
#include "cpu/classCPU.h"
#include "microops/MoveCommon.h"

namespace korva {

namespace {
constexpr uint16_t kLpstopExtension = 0x01C0;
}  // namespace

void mcrLPSTOPDecode() {
  mcStage = 1;
  mcPC = CpuExtraWord == kLpstopExtension ? McLPSTOP : McLine1111;
}

// STOP and LPSTOP: load SR from the immediate in CpuSop and go on into the stop
// wait. Both are privileged: in user state, or with an immediate whose S bit is
// clear, the privilege-violation exception is taken and SR is left unchanged.
// (STOP's user-state case never gets here, the opcode map diverts it; LPSTOP's
// opcode is not privileged in the map, so the state is tested here.)
void mcrLoadSRChecked() {
  if (!CpuS || (CpuSop & 0x2000) == 0) {
    McrPrivilege();
    return;
  }
  Cpu.SR(static_cast<uint16_t>(CpuSop & 0xFFFF));
  McrEnd();
}

// Entry address of a table lookup: CpuEa += (bits 15-8 of Dn) x entry size.
void mcrTBLEntryAddress() {
  const uint16_t ext = CpuExtraWord;
  const uint32_t index = (CpuDReg[(ext >> 12) & 7] >> 8) & 0xFF;
  uint32_t scale = 1;
  switch ((ext >> 6) & 3) {
    case 1: scale = 2; break;
    case 2: scale = 4; break;
    default: break;
  }
  CpuEa += index * scale;
  McrEnd();
}

void mcrStep() { McrEnd(); }

}  // namespace korva
