// The CPU's bus cycles. A micro-routine describes its access in the latches of
// bus/BusState.h (address, data, special status word), calls one routine here
// and tests FaultFlag. Every cycle translates through the MMU, then reaches the
// physical memory through ReadMemory / WriteMemory.
#pragma once
#include <cstdint>
#include "bus/BusState.h"

namespace korva {

// The general cycle, driven entirely by the latches (RR, RM, RW, DF, IF, BY, HB, FC).
void BusCycle();
// Fixed-shape cycles: use only AccRR, AccAddress, AccFC and the data latches.
void BusReadWord();   // AccDataIn := word
void BusReadByte();   // AccDataIn := byte in the low half
void BusWriteWord();  // word AccDataOut
void BusWriteByte();  // low byte of AccDataOut
void BusFetchWord();  // AccInstIn := word

// After a faulted access of step `stage`: remember where the routine resumes and
// divert to the address-error (160) or bus-error (144) entry. Address error wins.
void EnterBusFault(uint8_t stage);
// After a faulted access that cannot be restarted: halt (control-store address 48).
void AbortOnBusFault();

}  // namespace korva
