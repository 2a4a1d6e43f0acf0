// Access latches, fault flags and the resume point of the CPU's bus cycles.
// A micro-routine describes its access in the latches, calls one bus routine
// (bus/BusCycles.h) and tests FaultFlag.
#pragma once
#include <cstddef>
#include <cstdint>
#include "tables/Types.h"

namespace korva {

// The packed special status word of the current access and its unpacked latches,
// kept in one record so that setting them all is a few wide stores; each latch
// is used by its own name. The packed word and the function code, the two that
// depend on the supervisor state, lie side by side at the end.
struct AccessLatchSet {
  VBool RR;  // rerun: every bus routine does nothing
  VBool IF;  // instruction fetch
  VBool DF;  // data access
  VBool RM;  // read-modify-write (TAS)
  VBool HB;  // byte in the high half of the data latch
  VBool BY;  // byte transfer
  VBool RW;  // true read, false write
  uint16_t SSW;
  uint8_t FC;  // function code 0-7
};
static_assert(offsetof(AccessLatchSet, SSW) == 14 && offsetof(AccessLatchSet, FC) == 16 &&
                  sizeof(AccessLatchSet) == 18,
              "SSW and FC share one 32-bit word at the end of the record");
extern AccessLatchSet AccLatches;
inline uint16_t& AccSSW = AccLatches.SSW;
inline VBool& AccRR = AccLatches.RR;
inline VBool& AccIF = AccLatches.IF;
inline VBool& AccDF = AccLatches.DF;
inline VBool& AccRM = AccLatches.RM;
inline VBool& AccHB = AccLatches.HB;
inline VBool& AccBY = AccLatches.BY;
inline VBool& AccRW = AccLatches.RW;
inline uint8_t& AccFC = AccLatches.FC;
extern uint32_t AccAddress;  // logical byte address
extern uint16_t AccDataOut;
extern uint16_t AccDataIn;
extern uint16_t AccInstIn;

// Fault flags of the last cycle (0 / -1), in one record so that clearing them is one store.
struct FaultFlagSet {
  VBool Fault;
  VBool Mmu;
  VBool AddressError;
  VBool Bus;
};
extern FaultFlagSet FaultFlags;
inline VBool& FaultFlag = FaultFlags.Fault;
inline VBool& MmuFaultFlag = FaultFlags.Mmu;
inline VBool& AddressErrorFlag = FaultFlags.AddressError;
inline VBool& BusErrorFlag = FaultFlags.Bus;
// ClearBusFaults inline, as one store.
[[gnu::always_inline]] inline void ClearFaultFlagSet() { FaultFlags = FaultFlagSet{False, False, False, False}; }

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

// Keeps the fault flags of the access in progress while other accesses run
// (a load from a menu command, a device's own transfer inside a bus cycle):
// they are put back as they were when the keeper goes.
class KeepFaultFlags {
 public:
  KeepFaultFlags() : saved_(FaultFlags) {}
  ~KeepFaultFlags() { FaultFlags = saved_; }
  KeepFaultFlags(const KeepFaultFlags&) = delete;
  KeepFaultFlags& operator=(const KeepFaultFlags&) = delete;

 private:
  FaultFlagSet saved_;
};

}  // namespace korva
