// The decode record of one opcode word: the contract between the opcode map,
// the fetch and the micro-routines.
#pragma once
#include <cstdint>

namespace korva {

// IndirectAn of an operand that is not (An), (An)+ or -(An).
constexpr uint8_t NoIndirectAn = 8;

struct OpMapEntry {
  uint32_t SupervisorStart;  // control-store chain start when S is set (multiple of 16)
  uint32_t UserStart;        // start when S is clear (McPrivilege for a privileged entry)
  int32_t Extra1;            // instruction-specific value (quick data, displacement, ...)
  int32_t Extra2;            // instruction-specific value (condition, direction, ...)
  uint16_t Size;             // SizeCode: 0 byte, 1 word, 2 long
  uint16_t SrcMode;          // EaModeCode of the source operand
  uint8_t SrcReg;
  uint8_t SrcIndirectAn = NoIndirectAn;  // see below
  uint16_t DstMode;          // EaModeCode of the destination operand
  uint8_t DstReg;
  uint8_t DstIndirectAn = NoIndirectAn;
  uint16_t Privileged;       // 0 / 0xFFFF
  // The address calculators' view of each operand, filled from Size, the mode
  // and the register whenever the entry is built (see FillAnFields), so that
  // (An), (An)+ and -(An) are told from the other modes with one test:
  // - IndirectAn: the address register 0-7 of (An), (An)+ and -(An); NoIndirectAn
  //   for any other mode.
  // - The change the mode makes to that register: the pre step is added before
  //   the address is taken (minus the step for -(An)), the post step after it
  //   (the step for (An)+); 0 otherwise. The step is 1 for a byte (2 on A7,
  //   which stays even), 2 for a word, 4 for a long.
  // With them the record is 32 bytes: an entry is found with one shift.
  int8_t SrcPreStep = 0;
  int8_t SrcPostStep = 0;
  int8_t DstPreStep = 0;
  int8_t DstPostStep = 0;
};
static_assert(sizeof(OpMapEntry) == 32, "an opcode-map entry is 32 bytes");

extern OpMapEntry OpMap[65536];

}  // namespace korva
