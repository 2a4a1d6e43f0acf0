// The CPU's bus cycles: clear the fault flags, translate through the MMU, then
// one physical access. A refused translation makes no access at all, so a
// refused write leaves memory as it was and a refused read leaves the data
// latches as they were. Faults raised by the physical access stay in the flags
// for the calling micro-routine.
#include "bus/BusCycles.h"
#include "cpu/CpuState.h"

namespace korva {

using bus_detail::Begin;
using bus_detail::Translate;
using bus_detail::Write;

WriteWatchSlot BusWriteWatch;


void BusCycle() {
  ClearFaultFlagSet();
  if (AccRR) {
    // The rerun covers exactly this one access: skip it and drop the flag.
    AccRR = False;
    return;
  }
  uint32_t physical = 0;
  if (AccRM) {
    // Test-and-set: read the byte, write it back with bit 7 set. A fault raised by
    // the read does not stop the write, which then faults at the same word.
    if (!Translate(False, physical)) return;
    AccDataIn = ReadMemory(physical, True);
    if (!Translate(True, physical)) return;
    Write(physical, True, static_cast<uint16_t>(AccDataIn | 0x80));
    return;
  }
  if (AccRW) {
    if (!Translate(False, physical)) return;
    if (AccDF) {
      if (AccBY) {
        const uint16_t b = ReadMemory(physical, True);
        AccDataIn = AccHB ? static_cast<uint16_t>(b << 8) : b;
      } else {
        AccDataIn = ReadMemory(physical, False);
      }
    } else if (AccIF) {
      AccInstIn = ReadMemory(physical, False);
    }
    // Neither data nor instruction: the translation alone.
    return;
  }
  if (!Translate(True, physical)) return;
  if (AccBY)
    Write(physical, True, AccHB ? static_cast<uint16_t>(AccDataOut >> 8) : (AccDataOut & 0xFF));
  else
    Write(physical, False, AccDataOut);
}

namespace bus_detail {

namespace {
// The translation of a fixed-shape cycle that the inline answer did not take:
// most often a page the MMU keeps as repeating behind the inline entry (code
// working in several pages), which translates without the MMU's lookup;
// otherwise the full translation. As Translate: false when the MMU refused it.
[[gnu::always_inline]] inline bool TranslateOutOfLine(VBool isWrite, uint32_t& physical) {
  if (const classMMU::RepeatEntry* r = Mmu.KeptRepeatFor(AccAddress, AccFC, isWrite != False)) [[likely]] {
    ClearFaultFlagSet();
    physical = r->Base | (AccAddress & 0xFFu);
    return true;
  }
  Mmu.TranslateUnkept(AccAddress, AccFC, isWrite, physical);
  if (BusErrorFlag == False) return true;
  AddressErrorFlag = False;
  return false;
}
}  // namespace

void ReadWordCycle() {
  uint32_t physical;
  if (Begin() && TranslateOutOfLine(False, physical)) AccDataIn = ReadMemory(physical, False);
}
void ReadByteCycle() {
  uint32_t physical;
  if (Begin() && TranslateOutOfLine(False, physical)) AccDataIn = ReadMemory(physical, True);
}
void FetchWordCycle() {
  uint32_t physical;
  if (Begin() && TranslateOutOfLine(False, physical)) AccInstIn = ReadMemory(physical, False);
}
void WriteWordCycle() {
  uint32_t physical;
  if (Begin() && TranslateOutOfLine(True, physical)) Write(physical, False, AccDataOut);
}
void WriteByteCycle() {
  uint32_t physical;
  if (Begin() && TranslateOutOfLine(True, physical)) Write(physical, True, static_cast<uint16_t>(AccDataOut & 0xFF));
}

}  // namespace bus_detail

void EnterBusFault(uint8_t stage) {
  if (AddressErrorFlag) {
    FaultMcStage = stage;
    FaultMcPC = mcPC;
    mcStage = 1;
    mcPC = McAddressError;
  } else if (BusErrorFlag) {
    FaultMcStage = stage;
    FaultMcPC = mcPC;
    mcStage = 1;
    mcPC = McBusError;
  }
}

void AbortOnBusFault() {
  if (BusErrorFlag || AddressErrorFlag) {
    mcStage = 1;
    mcPC = McHalt;
  }
}

}  // namespace korva
