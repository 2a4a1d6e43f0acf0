// Small inline helpers shared by the move, flow, bound and multiply/divide
// micro-routines: condition-code setting and register selection.
#pragma once
#include <bit>
#include <cstdint>
#include <cstring>
#include "cpu/CpuState.h"
#include "tables/OperandCodes.h"

namespace korva {

// N and Z from a value of the given width; V and C cleared. X is never touched here.
// N is the sign bit spread by an arithmetic shift (no branch).
inline void SetNZClearVC32(uint32_t v) {
  CpuN = static_cast<uint16_t>(static_cast<int32_t>(v) >> 31);
  CpuZ = ToFlag(v == 0);
  CpuV = 0;
  CpuC = 0;
}
inline void SetNZClearVC16(uint32_t v) {
  CpuN = static_cast<uint16_t>(static_cast<int16_t>(v) >> 15);
  CpuZ = ToFlag((v & 0xFFFFu) == 0);
  CpuV = 0;
  CpuC = 0;
}
inline void SetNZClearVC8(uint32_t v) {
  CpuN = static_cast<uint16_t>(static_cast<int8_t>(v) >> 7);
  CpuZ = ToFlag((v & 0xFFu) == 0);
  CpuV = 0;
  CpuC = 0;
}

inline uint32_t SignExtend8(uint32_t v) { return static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(v & 0xFF))); }
inline uint32_t SignExtend16(uint32_t v) {
  return static_cast<uint32_t>(static_cast<int32_t>(static_cast<int16_t>(v & 0xFFFF)));
}

// Data register n / address register n; the register number is masked so that
// a stray decode value can never index outside the register file.
inline uint32_t& DReg(unsigned n) { return CpuDReg[n & 7]; }
inline uint32_t& AReg(unsigned n) { return CpuAReg[n & 7]; }
// The normal ends (McrEnd, McrEndInstruction) of a routine without steps of its
// own: it is entered at step 1 (the routine before it, or the fetch, has left
// the stage there), so the stage is stored only when it is not 1 already. In a
// fused chain the stage is known to be 1 and neither the test nor the store
// remains; run by itself at a stray stage, the routine still ends at step 1.
inline void McrEndStepless() {
  if (mcStage != 1) [[unlikely]]
    mcStage = 1;
  mcPC += 1;
}
inline void McrEndInstructionStepless() {
  if (mcStage != 1) [[unlikely]]
    mcStage = 1;
  if (!PendingAtEndOfInstruction())
    mcPC = McFastFetch;
  else
    mcPC += 1;
}

// The low word of a register, read or written alone (the upper word untouched):
// on a little-endian host the two bytes at the register's address.
inline uint16_t LowWord(const uint32_t& r) {
  if constexpr (std::endian::native == std::endian::little) {
    uint16_t w;
    std::memcpy(&w, &r, sizeof w);
    return w;
  } else {
    return static_cast<uint16_t>(r);
  }
}
inline void SetLowWord(uint32_t& r, uint16_t w) {
  if constexpr (std::endian::native == std::endian::little)
    std::memcpy(&r, &w, sizeof w);
  else
    r = (r & 0xFFFF0000u) | w;
}
// The source register of the register-to-register forms: An when the source mode is not Dn.
// The register file is chosen first and indexed once, with no branch.
inline uint32_t SourceRegister(const OpMapEntry& op) {
  const uint32_t* file = op.SrcMode != EaDn ? CpuAReg : CpuDReg;
  return file[op.SrcReg & 7];
}
// The general register named by an extension word: bit 15 address/data, bits 14-12 the number.
inline uint32_t& ExtWordReg(uint16_t ext) {
  return (ext & 0x8000) ? CpuAReg[(ext >> 12) & 7] : CpuDReg[(ext >> 12) & 7];
}

}  // namespace korva
