// The interrupt controller: request table, I/O-channel routing and the
// published highest pending unmasked entry.
#include "bus/Exceptions.h"

namespace korva {

// Both tables start all zero (unmasked, level 0, nothing pending) until the
// first reset, which every power-on reset runs before the CPU starts.
InterruptEntry InterruptTable[InterruptEntryCount] = {};
IocSourceEntry IocTable[IocChannelCount * IocSourceCount] = {};
VBool IMaskFlag = False;
constinit classExceptions Exceptions;

namespace {

// The entry that each I/O channel's sources raise (channels 1-4).
constexpr uint16_t kChannelEntry[IocChannelCount] = {4, 10, 13, 16};

void ClearPublished() {
  HipEntry = -1;
  HipLevel = 0;
  HipKind = 0;
  HipVector = 0;
  HipVectorAddress = 0;
  HipPending = 0;
}

}  // namespace

void InitInterruptTable() {
  for (int e = 0; e < InterruptEntryCount; ++e) {
    InterruptEntry& entry = InterruptTable[e];
    const uint8_t level = static_cast<uint8_t>(e / 3 + 1);
    const uint8_t kind = static_cast<uint8_t>(e % 3);
    entry.Pending = 0;
    entry.Mask = e >= 18 ? 0 : 0xFFFF;  // only the level-7 entries start unmasked
    entry.Level = level;
    entry.Kind = kind;
    if (kind == 0) {
      entry.Vector = 0xFFFF;
      entry.VectorAddress = -1;
    } else {
      entry.Vector = static_cast<uint16_t>((kind == 1 ? 0x40 : 0x48) + level - 1);
      entry.VectorAddress = static_cast<int32_t>(entry.Vector) * 4;
    }
  }
}

void InitIocTable() {
  // A channel entry is level-held by its sources. Forgetting the sources while
  // the entry stays raised would leave a request that no device can withdraw
  // (the boards' own resets clear sources that are already clear), so every
  // entry that a pending source was holding is withdrawn with it.
  bool withdraw[InterruptEntryCount] = {};
  for (const IocSourceEntry& s : IocTable) {
    if (s.Pending && s.TargetEntry < InterruptEntryCount) withdraw[s.TargetEntry] = true;
  }
  for (int source = 0; source < IocSourceCount; ++source) {
    for (int channel = 1; channel <= IocChannelCount; ++channel) {
      IocSourceEntry& s = IocTable[(channel - 1) + IocChannelCount * source];
      s.Pending = 0;
      s.TargetEntry = kChannelEntry[channel - 1];
    }
  }
  for (int e = 0; e < InterruptEntryCount; ++e) {
    if (withdraw[e]) Exceptions.ClrIP(e);
  }
}

void classExceptions::IMask(VBool value) {
  IMaskFlag = value;
  UpdateHIP();
}

uint16_t classExceptions::Mask(int entry) const {
  return ValidEntry(entry) ? InterruptTable[entry].Mask : 0;
}

void classExceptions::Mask(int entry, uint16_t value) {
  if (!ValidEntry(entry) || InterruptTable[entry].Mask == value) return;
  InterruptTable[entry].Mask = value;
  UpdateHIP();
}

uint16_t classExceptions::Pending(int entry) const {
  return ValidEntry(entry) ? InterruptTable[entry].Pending : 0;
}

void classExceptions::Pending(int entry, uint16_t value) {
  if (!ValidEntry(entry) || InterruptTable[entry].Pending == value) return;
  InterruptTable[entry].Pending = value;
  UpdateHIP();
}

VBool classExceptions::IsIP(int entry) const {
  return ToVBool(ValidEntry(entry) && InterruptTable[entry].Pending != 0);
}

void classExceptions::SetIP(int entry) {
  if (!ValidEntry(entry) || InterruptTable[entry].Pending != 0) return;
  InterruptTable[entry].Pending = 0xFFFF;
  // Only an entry above the current winner can change the outcome
  // (HipEntry is -1 when nothing is published).
  if (entry > HipEntry) UpdateHIP();
}

void classExceptions::ClrIP(int entry) {
  if (!ValidEntry(entry) || InterruptTable[entry].Pending == 0) return;
  InterruptTable[entry].Pending = 0;
  if (entry == HipEntry) UpdateHIP();
}

uint16_t classExceptions::IocPending(int channel, int source) const {
  return ValidSource(channel, source) ? Source(channel, source).Pending : 0;
}

void classExceptions::IocPending(int channel, int source, uint16_t value) {
  if (!ValidSource(channel, source) || Source(channel, source).Pending == value) return;
  Source(channel, source).Pending = value;
  RecomputeChannel(channel);
}

VBool classExceptions::IsIocIP(int channel, int source) const {
  return ToVBool(ValidSource(channel, source) && Source(channel, source).Pending != 0);
}

void classExceptions::SetIocIP(int channel, int source) {
  if (!ValidSource(channel, source) || Source(channel, source).Pending != 0) return;
  Source(channel, source).Pending = 0xFFFF;
  RecomputeChannel(channel);
}

void classExceptions::ClrIocIP(int channel, int source) {
  if (!ValidSource(channel, source) || Source(channel, source).Pending == 0) return;
  Source(channel, source).Pending = 0;
  RecomputeChannel(channel);
}

// The channel's entry is raised exactly while one of its sources is pending.
void classExceptions::RecomputeChannel(int channel) {
  for (int source = 0; source < IocSourceCount; ++source) {
    const IocSourceEntry& s = Source(channel, source);
    if (s.Pending) {
      SetIP(s.TargetEntry);
      return;
    }
  }
  ClrIP(Source(channel, IocSourceCount - 1).TargetEntry);
}

void classExceptions::UpdateHIP() {
  const int lowest = IMaskFlag ? 19 : 0;
  for (int e = InterruptEntryCount - 1; e >= lowest; --e) {
    const InterruptEntry& entry = InterruptTable[e];
    if (entry.Mask == 0 && entry.Pending != 0) {
      HipEntry = static_cast<int16_t>(e);
      HipLevel = entry.Level;
      HipKind = entry.Kind;
      HipVector = entry.Vector;
      HipVectorAddress = entry.VectorAddress;
      HipPending = 0xFFFF;
      return;
    }
  }
  ClearPublished();
}

void classExceptions::Reset() {
  InitInterruptTable();
  InitIocTable();
  ClearPublished();
}

}  // namespace korva
