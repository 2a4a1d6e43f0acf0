// The CPU's bus cycles. A micro-routine describes its access in the latches of
// bus/BusState.h (address, data, special status word), calls one routine here
// and tests FaultFlag. Every cycle translates through the MMU, then reaches the
// physical memory through ReadMemory / WriteMemory.
#pragma once
#include <cstdint>
#include "bus/BusState.h"
#include "bus/MMU.h"
#include "bus/Memory.h"

namespace korva {

// The general cycle, driven entirely by the latches (RR, RM, RW, DF, IF, BY, HB, FC).
void BusCycle();
// Fixed-shape cycles: use only AccRR, AccAddress, AccFC and the data latches.
// They run on every instruction, so they stay inline.
inline void BusReadWord();   // AccDataIn := word
inline void BusReadByte();   // AccDataIn := byte in the low half
inline void BusWriteWord();  // word AccDataOut
inline void BusWriteByte();  // low byte of AccDataOut
inline void BusFetchWord();  // AccInstIn := word

// After a faulted access of step `stage`: remember where the routine resumes and
// divert to the address-error (160) or bus-error (144) entry. Address error wins.
void EnterBusFault(uint8_t stage);
// After a faulted access that cannot be restarted: halt (control-store address 48).
void AbortOnBusFault();

namespace bus_detail {
// Clear the fault flags; false when the cycle is a rerun and does nothing.
[[gnu::always_inline]] inline bool Begin() {
  FaultFlag = MmuFaultFlag = AddressErrorFlag = BusErrorFlag = False;
  return AccRR == False;
}
// Translate AccAddress with AccFC; false when the MMU refused it. A refused
// translation makes no physical access: memory and the data latches stay as they were.
[[gnu::always_inline]] inline bool Translate(VBool isWrite, uint32_t& physical) {
  Mmu.TranslateAddress(AccAddress, AccFC, isWrite, physical);
  return BusErrorFlag == False;
}
}  // namespace bus_detail

[[gnu::always_inline]] inline void BusReadWord() {
  uint32_t physical;
  if (bus_detail::Begin() && bus_detail::Translate(False, physical)) AccDataIn = ReadMemory(physical, False);
}
[[gnu::always_inline]] inline void BusReadByte() {
  uint32_t physical;
  if (bus_detail::Begin() && bus_detail::Translate(False, physical)) AccDataIn = ReadMemory(physical, True);
}
[[gnu::always_inline]] inline void BusFetchWord() {
  uint32_t physical;
  if (bus_detail::Begin() && bus_detail::Translate(False, physical)) AccInstIn = ReadMemory(physical, False);
}
[[gnu::always_inline]] inline void BusWriteWord() {
  uint32_t physical;
  if (bus_detail::Begin() && bus_detail::Translate(True, physical)) WriteMemory(physical, False, AccDataOut, False);
}
[[gnu::always_inline]] inline void BusWriteByte() {
  uint32_t physical;
  if (bus_detail::Begin() && bus_detail::Translate(True, physical))
    WriteMemory(physical, True, static_cast<uint16_t>(AccDataOut & 0xFF), False);
}

}  // namespace korva
