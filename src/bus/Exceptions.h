// The interrupt controller. Devices raise and clear numbered requests; the
// controller keeps 21 request entries (seven levels, three sources per level),
// folds the VMEbus boards' requests onto four I/O-channel entries, and publishes
// the single highest pending unmasked entry in the Hip* globals (bus/Hip.h),
// which the end of every instruction tests. One instance, in the slot Exceptions.
//
// Entry numbers are 0-20 (higher number = higher priority), I/O channels 1-4,
// channel sources 0-16. An argument outside those ranges is ignored: reads
// answer 0 / False and writes change nothing.
#pragma once
#include <cstdint>
#include "bus/Hip.h"
#include "tables/Types.h"

namespace korva {

struct InterruptEntry {
  uint16_t Pending;       // 0 / 0xFFFF: the request is raised
  uint16_t Mask;          // nonzero = masked
  uint8_t Level;          // 1-7
  uint8_t Kind;           // 0 autovector, 1 first vectored source, 2 second vectored source
  uint16_t Vector;        // vector number; 0xFFFF for an autovector entry
  int32_t VectorAddress;  // vector number * 4; -1 for an autovector entry
};

struct IocSourceEntry {
  uint16_t Pending;      // 0 / 0xFFFF
  uint16_t TargetEntry;  // the InterruptTable entry this source raises
};

constexpr int InterruptEntryCount = 21;
constexpr int IocChannelCount = 4;   // channels 1-4
constexpr int IocSourceCount = 17;   // sources 0-16

// Well-known entries.
constexpr int IntEntryKeyboardRx = 7;
constexpr int IntEntryKeyboardTx = 8;
constexpr int IntEntryMmu = 11;
constexpr int IntEntryClock = 14;
constexpr int IntEntryAbort = 20;

extern InterruptEntry InterruptTable[InterruptEntryCount];
// Element (channel - 1) + 4 * source.
extern IocSourceEntry IocTable[IocChannelCount * IocSourceCount];

// While true only entries 20 and 19 can become the highest entry. Written by the
// system control module's CR6 (directly or through classExceptions::IMask).
extern VBool IMaskFlag;

// All 21 entries to their reset contents: not pending, masked except 18-20.
void InitInterruptTable();
// Every channel source not pending, each channel's sources aimed at entries 4,
// 10, 13 and 16. A channel entry that was raised by its sources is withdrawn.
void InitIocTable();

class classExceptions {
 public:
  constexpr classExceptions() = default;

  VBool IMask() const { return IMaskFlag; }
  void IMask(VBool value);  // always recomputes the published entry

  uint16_t Mask(int entry) const;
  void Mask(int entry, uint16_t value);
  uint16_t Pending(int entry) const;
  void Pending(int entry, uint16_t value);
  VBool IsIP(int entry) const;
  void SetIP(int entry);
  void ClrIP(int entry);

  uint16_t IocPending(int channel, int source) const;
  void IocPending(int channel, int source, uint16_t value);
  VBool IsIocIP(int channel, int source) const;
  void SetIocIP(int channel, int source);
  void ClrIocIP(int channel, int source);

  // Recompute the Hip* globals from the table.
  void UpdateHIP();
  // Both tables to their reset contents and nothing published. IMaskFlag is kept.
  void Reset();

 private:
  static bool ValidEntry(int entry) { return entry >= 0 && entry < InterruptEntryCount; }
  static bool ValidSource(int channel, int source) {
    return channel >= 1 && channel <= IocChannelCount && source >= 0 && source < IocSourceCount;
  }
  static IocSourceEntry& Source(int channel, int source) {
    return IocTable[(channel - 1) + IocChannelCount * source];
  }
  void RecomputeChannel(int channel);
};

extern classExceptions Exceptions;

}  // namespace korva
