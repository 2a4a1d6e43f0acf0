// Access latches, fault flags and the resume point of the CPU's bus cycles.
// A micro-routine describes its access in the latches, calls one bus routine
// (bus/BusCycles.h) and tests FaultFlag.
#pragma once
#include <cstdint>
#include "tables/Types.h"

namespace korva {

// The packed special status word of the current access and its unpacked latches.
extern uint16_t AccSSW;
extern VBool AccRR;  // rerun: every bus routine does nothing
extern VBool AccIF;  // instruction fetch
extern VBool AccDF;  // data access
extern VBool AccRM;  // read-modify-write (TAS)
extern VBool AccHB;  // byte in the high half of the data latch
extern VBool AccBY;  // byte transfer
extern VBool AccRW;  // true read, false write
extern uint8_t AccFC;  // function code 0-7
extern uint32_t AccAddress;  // logical byte address
extern uint16_t AccDataOut;
extern uint16_t AccDataIn;
extern uint16_t AccInstIn;

// Fault flags of the last cycle (0 / -1).
extern VBool FaultFlag;
extern VBool MmuFaultFlag;
extern VBool AddressErrorFlag;
extern VBool BusErrorFlag;

// Where a faulted micro-routine resumes (McrResumePoint).
extern uint32_t FaultMcPC;
extern uint8_t FaultMcStage;

// Setters: each sets its flag and FaultFlag; SetBusError and SetAddressError return -1.
VBool SetBusError();
VBool SetAddressError();
void SetMmuFault();
void ClearBusError();
void ClearAddressError();
void ClearBusFaults();
// Latches, fault flags and resume point to their start-up values.
void ResetBusState();

}  // namespace korva
