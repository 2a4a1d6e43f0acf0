// The CPU's bus cycles. A micro-routine describes its access in the latches of
// bus/BusState.h (address, data, special status word), calls one routine here
// and tests FaultFlag. Every cycle translates through the MMU, then reaches the
// physical memory through ReadMemory / WriteMemory.
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include "bus/BusState.h"
#include "bus/MMU.h"
#include "bus/Memory.h"

namespace korva {

// The general cycle, driven entirely by the latches (RR, RM, RW, DF, IF, BY, HB, FC).
void BusCycle();
// Fixed-shape cycles: use only AccRR, AccAddress, AccFC and the data latches.
// They run on every instruction: their common case is answered inline.
inline void BusReadWord();   // AccDataIn := word
inline void BusReadByte();   // AccDataIn := byte in the low half
inline void BusWriteWord();  // word AccDataOut
inline void BusWriteByte();  // low byte of AccDataOut
inline void BusFetchWord();  // AccInstIn := word

// When set, called with the physical address of every CPU write that was made
// (the tests record what an instruction writes). Null otherwise. While it is
// set, the MMU keeps no repeat entries for writes, so that every write takes
// the full cycle, which calls it.
class WriteWatchSlot {
 public:
  using Watch = void (*)(uint32_t physical);
  WriteWatchSlot& operator=(Watch watch) {
    watch_ = watch;
    Mmu.RepeatWrites(watch == nullptr);
    return *this;
  }
  bool operator==(std::nullptr_t) const { return watch_ == nullptr; }
  void operator()(uint32_t physical) const { watch_(physical); }

 private:
  Watch watch_ = nullptr;
};
extern WriteWatchSlot BusWriteWatch;

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
  ClearFaultFlagSet();
  AccSSW &= 0x7FFF;  // the rerun latch
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

// The full fixed-shape cycles, out of line: rerun, MMU translation, dispatch.
void ReadWordCycle();
void ReadByteCycle();
void FetchWordCycle();
void WriteWordCycle();
void WriteByteCycle();

// ---- Cycles answered inline ----
// Most cycles are no rerun, are translated by the MMU's repeat table and reach a
// word of RAM or ROM at an address the access may use. Such a cycle has nothing
// more to do than clear the four fault flags and move the data, and is answered
// here. Any other cycle goes to the full one, which repeats the translation
// (a repeated translation changes nothing in the MMU).

// The repeat entry that translates the current access (null for a rerun).
[[gnu::always_inline]] inline const classMMU::RepeatEntry* QuickRepeat(bool isWrite, bool evenOnly) {
  if (AccRR != False) return nullptr;
  return Mmu.RepeatFor(AccAddress, AccFC, isWrite, evenOnly);
}
// The cell of the current access in the page of repeat entry r: the word's
// offset in the page, times two, is the cell's byte offset (a cell is 4 bytes).
[[gnu::always_inline]] inline MemoryCell& QuickCell(const classMMU::RepeatEntry& r) {
  static_assert(sizeof(MemoryCell) == 4, "a cell is twice the size of its word");
  return *reinterpret_cast<MemoryCell*>(reinterpret_cast<unsigned char*>(r.Cells) + (AccAddress & 0xFEu) * 2);
}

// The cell of the word at `address` in the page of repeat entry r.
[[gnu::always_inline]] inline MemoryCell* CellIn(const classMMU::RepeatEntry& r, uint32_t address) {
  return reinterpret_cast<MemoryCell*>(reinterpret_cast<unsigned char*>(r.Cells) + (address & 0xFEu) * 2);
}

// Both words of two neighbouring cells answer a read: each is RAM or ROM. Their
// device codes are tested at once, with one 64-bit load: a code c is RAM or ROM
// when c - DcRam is 0 or 1, that is when (c - DcRam) & 0xFE is 0. Subtracting
// DcRam from both code bytes at once borrows into the next byte only when the
// lower code is below DcRam, and that lower code then fails the test itself.
[[gnu::always_inline]] inline bool BothReadable(const MemoryCell* cells) {
  static_assert(DcRom == DcRam + 1, "RAM and ROM are neighbouring codes");
  static_assert(std::endian::native == std::endian::little && offsetof(MemoryCell, Device) == 2,
                "a cell's device code is the third byte of its 32-bit word");
  constexpr uint64_t kRam = (uint64_t{DcRam} << 16) | (uint64_t{DcRam} << 48);
  constexpr uint64_t kNotRamOrRom = (uint64_t{0xFE} << 16) | (uint64_t{0xFE} << 48);
  uint64_t both;
  std::memcpy(&both, cells, sizeof both);
  return ((both - kRam) & kNotRamOrRom) == 0;
}

// A word read through repeat entry r (null: none holds the page) at an even
// `address`, answered when the word is RAM or ROM.
[[gnu::always_inline]] inline bool ReadWordThrough(const classMMU::RepeatEntry* r, uint32_t address,
                                                   uint16_t& value) {
  if (r == nullptr) return false;
  const MemoryCell& cell = *CellIn(*r, address);
  if (!ReadsFromCell(cell)) return false;
  ClearFaultFlagSet();
  value = cell.Data;
  return true;
}

// A word read at `address` in the space of `fc`, answered inline when the repeat
// table holds its page and the word is RAM or ROM; the latches are not looked at.
[[gnu::always_inline]] inline bool QuickReadWordAt(uint32_t address, uint8_t fc, uint16_t& value) {
  return ReadWordThrough(Mmu.RepeatFor(address, fc, false, true), address, value);
}
// The same in function code `space` (1 data, 2 program) of the processor state
// `state` (CpuS): the entry is found with fewer instructions.
[[gnu::always_inline]] inline bool QuickReadWordIn(uint32_t address, uint16_t state, unsigned space,
                                                   uint16_t& value) {
  return ReadWordThrough(Mmu.RepeatForState(address, state, space, false, true), address, value);
}

// The cells of a long at word `word` (0-126) of the page of repeat entry r
// when both words are RAM or ROM (RAM to write), with the status word of the
// two data accesses in `ssw`; else null.
[[gnu::always_inline]] inline MemoryCell* LongCellsThrough(const classMMU::RepeatEntry& r, uint32_t word,
                                                           bool isWrite, uint16_t& ssw) {
  MemoryCell* cells = r.Cells + word;
  if (isWrite ? !(WritesToCell(cells[0]) && WritesToCell(cells[1])) : !BothReadable(cells)) return nullptr;
  ssw = r.WordSsw;
  return cells;
}

// The two words of a long at an even `address` in function code `space`
// (1 data, 2 program) of the processor state `state` (CpuS), answered inline
// when one repeat entry holds both (the long does not cross its page) and both
// are words of RAM or ROM (of RAM to write); the latches are not looked at.
// Nothing is read or written unless both words are answered; `ssw` is then the
// status word of the two data accesses.
[[gnu::always_inline]] inline MemoryCell* QuickLongCells(uint32_t address, uint16_t state, unsigned space,
                                                         bool isWrite, uint16_t& ssw) {
  // One comparison decides that the entry holds the page, that the address is
  // even and that the long stays in the page: the address's low 24 bits, XORed
  // with the entry's page, are then an even number below 0xFE, which rotated
  // right by one is the first word's index in the page (below 0x7F) and
  // otherwise has its top bit or a high bit set. An empty entry's page has its
  // top byte set, which no 24-bit address cancels.
  const classMMU::RepeatEntry& r = Mmu.RepeatEntryForState(state, space, isWrite);
  const uint32_t word = std::rotr((address & 0xFFFFFFu) ^ r.Page, 1);
  if (word >= 0x7Fu) return nullptr;
  return LongCellsThrough(r, word, isWrite, ssw);
}

// For a long QuickLongCells did not answer: when the long is even and stays in
// one page, the inline entry is first made to hold its page where the
// translation repeats without change (classMMU::RepeatAfterMiss), as the first
// word's cycle would make it; then the long is answered as by QuickLongCells.
// Met at the first long of each new page, from the routines' out-of-line ways.
[[gnu::always_inline]] inline MemoryCell* QuickLongCellsAfterMiss(uint32_t address, uint16_t state, unsigned space,
                                                                  bool isWrite, uint16_t& ssw) {
  if ((address & 1u) != 0 || (address & 0xFEu) == 0xFEu) return nullptr;
  const classMMU::RepeatEntry* r = Mmu.RepeatAfterMiss(address, space | (state & 4u), isWrite);
  if (r == nullptr) return nullptr;
  return LongCellsThrough(*r, (address & 0xFEu) >> 1, isWrite, ssw);
}

[[gnu::always_inline]] inline bool QuickReadWord(uint16_t& value) {
  if (AccRR != False) return false;
  return QuickReadWordAt(AccAddress, AccFC, value);
}
[[gnu::always_inline]] inline bool QuickReadByte(uint16_t& value) {
  const classMMU::RepeatEntry* r = QuickRepeat(false, false);
  if (r == nullptr) return false;
  const MemoryCell& cell = QuickCell(*r);
  if (!ReadsFromCell(cell)) return false;
  ClearFaultFlagSet();
  value = (AccAddress & 1) ? static_cast<uint16_t>(cell.Data & 0xFF) : static_cast<uint16_t>(cell.Data >> 8);
  return true;
}
[[gnu::always_inline]] inline bool QuickWriteWord(uint16_t data) {
  const classMMU::RepeatEntry* r = QuickRepeat(true, true);
  if (r == nullptr) return false;
  MemoryCell& cell = QuickCell(*r);
  if (!WritesToCell(cell)) return false;
  ClearFaultFlagSet();
  cell.Data = data;
  return true;
}
[[gnu::always_inline]] inline bool QuickWriteByte(uint16_t data) {
  const classMMU::RepeatEntry* r = QuickRepeat(true, false);
  if (r == nullptr) return false;
  MemoryCell& cell = QuickCell(*r);
  if (!WritesToCell(cell)) return false;
  ClearFaultFlagSet();
  if (AccAddress & 1)
    cell.Data = static_cast<uint16_t>((cell.Data & 0xFF00) | (data & 0xFF));
  else
    cell.Data = static_cast<uint16_t>((cell.Data & 0x00FF) | ((data & 0xFF) << 8));
  return true;
}
}  // namespace bus_detail

// Every fixed-shape cycle: the inline answer when there is one, else the full cycle.
[[gnu::always_inline]] inline void BusReadWord() {
  uint16_t value;
  if (bus_detail::QuickReadWord(value)) [[likely]]
    AccDataIn = value;
  else
    bus_detail::ReadWordCycle();
}
[[gnu::always_inline]] inline void BusReadByte() {
  uint16_t value;
  if (bus_detail::QuickReadByte(value)) [[likely]]
    AccDataIn = value;
  else
    bus_detail::ReadByteCycle();
}
[[gnu::always_inline]] inline void BusFetchWord() {
  uint16_t value;
  if (bus_detail::QuickReadWord(value)) [[likely]]
    AccInstIn = value;
  else
    bus_detail::FetchWordCycle();
}
[[gnu::always_inline]] inline void BusWriteWord() {
  if (!bus_detail::QuickWriteWord(AccDataOut)) [[unlikely]] bus_detail::WriteWordCycle();
}
[[gnu::always_inline]] inline void BusWriteByte() {
  if (!bus_detail::QuickWriteByte(static_cast<uint16_t>(AccDataOut & 0xFF))) [[unlikely]]
    bus_detail::WriteByteCycle();
}

}  // namespace korva
