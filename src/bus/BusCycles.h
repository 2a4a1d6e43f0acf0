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

// When set, called with the physical address of every CPU write that was made
// (the tests record what an instruction writes). Null otherwise.
extern void (*BusWriteWatch)(uint32_t physical);

// After a faulted access of step `stage`: remember where the routine resumes and
// divert to the address-error (McAddressError) or bus-error (McBusError) entry. Address error wins.
void EnterBusFault(uint8_t stage);
// After a faulted access that cannot be restarted: halt (McHalt).
void AbortOnBusFault();

namespace bus_detail {
// Start a cycle. A rerun clears the fault flags and does nothing more (false):
// the rerun covers exactly the one access it resumes, so the flag is dropped as
// the access is skipped. Otherwise the translation that follows leaves the
// flags of this cycle.
[[gnu::always_inline]] inline bool Begin() {
  if (AccRR == False) return true;
  FaultFlag = MmuFaultFlag = AddressErrorFlag = BusErrorFlag = False;
  AccRR = False;
  AccSSW &= 0x7FFF;
  return false;
}
// Translate AccAddress with AccFC; false when the MMU refused it. A successful
// translation clears all four fault flags; a refusal sets the MMU's flags, and
// an address error left from an earlier cycle is dropped. A refused translation
// makes no physical access: memory and the data latches stay as they were.
[[gnu::always_inline]] inline bool Translate(VBool isWrite, uint32_t& physical) {
  Mmu.TranslateAddress(AccAddress, AccFC, isWrite, physical);
  if (BusErrorFlag == False) return true;
  AddressErrorFlag = False;
  return false;
}
// The physical write of a translated cycle.
[[gnu::always_inline]] inline void Write(uint32_t physical, VBool isByte, uint16_t data) {
  WriteMemory(physical, isByte, data, False);
  if (BusWriteWatch != nullptr) [[unlikely]]
    if (FaultFlag == False) BusWriteWatch(physical);
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
  if (bus_detail::Begin() && bus_detail::Translate(True, physical)) bus_detail::Write(physical, False, AccDataOut);
}
[[gnu::always_inline]] inline void BusWriteByte() {
  uint32_t physical;
  if (bus_detail::Begin() && bus_detail::Translate(True, physical))
    bus_detail::Write(physical, True, static_cast<uint16_t>(AccDataOut & 0xFF));
}

}  // namespace korva
