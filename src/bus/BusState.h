// Access latches, fault flags and the resume point of the CPU's bus cycles.
// A micro-routine describes its access in the latches, calls one bus routine
// (bus/BusCycles.h) and tests FaultFlag.
#pragma once
#include <cstddef>
#include <cstdint>
#include "tables/Types.h"

namespace korva {

// The special status word of the current access. It is the only store of the
// access latches: each latch is a view of its bit, and the function code is its
// low three bits, so preparing an access is one store of the word.
struct AccessLatchSet {
  uint16_t SSW;
};
extern AccessLatchSet AccLatches;
inline uint16_t& AccSSW = AccLatches.SSW;

// One latch: reads as True when its bit of the status word is set; assigning
// sets or clears that bit alone.
template <uint16_t Bit>
struct SswLatch {
  operator VBool() const { return (AccLatches.SSW & Bit) ? True : False; }  // NOLINT: used as the latch itself
  const SswLatch& operator=(VBool v) const {
    AccLatches.SSW = static_cast<uint16_t>(v ? (AccLatches.SSW | Bit) : (AccLatches.SSW & ~Bit));
    return *this;
  }
};
// The function code 0-7: the status word's low three bits.
struct SswFunctionCode {
  operator uint8_t() const { return static_cast<uint8_t>(AccLatches.SSW & 7); }  // NOLINT: used as the latch itself
  const SswFunctionCode& operator=(uint8_t fc) const {
    AccLatches.SSW = static_cast<uint16_t>((AccLatches.SSW & ~7u) | (fc & 7u));
    return *this;
  }
};
inline constexpr SswLatch<0x8000> AccRR{};  // rerun: every bus routine does nothing
inline constexpr SswLatch<0x2000> AccIF{};  // instruction fetch
inline constexpr SswLatch<0x1000> AccDF{};  // data access
inline constexpr SswLatch<0x0800> AccRM{};  // read-modify-write (TAS)
inline constexpr SswLatch<0x0400> AccHB{};  // byte in the high half of the data latch
inline constexpr SswLatch<0x0200> AccBY{};  // byte transfer
inline constexpr SswLatch<0x0100> AccRW{};  // true read, false write
inline constexpr SswFunctionCode AccFC{};
// The bits the latches keep; the others of a word written to the status word
// read back as 0.
constexpr uint16_t kSswLatchBits = 0xBF07;
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
