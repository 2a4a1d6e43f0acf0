// The segmented memory management unit (MC68451 style). Every CPU bus cycle
// translates its logical address through TranslateAddress: the function code
// picks an address space number from the address space table (AST), and one of
// 32 segment descriptors maps the logical page (address bits 23-8) to a
// physical one. One instance, in the slot Mmu.
//
// Guest registers: the I/O page F1A800-F1A83F (device code 25). The read and
// write dispatch call
//     uint8_t Mmu.AccessMMU(address & 63)           byte read
//     void    Mmu.AccessMMU(address & 63, byte)     byte write
// and split a word access into two byte accesses (high byte first). Some reads
// start an operation (0x31, 0x39, 0x3D, 0x3F), so a read must be made exactly
// once per guest access; the debugger must not read these registers to show them.
//
// Register map (offset = address & 63):
//   0x00-0x1E even  AST entry offset/2        write clears both caches
//   0x20-0x28       accumulator LBA hi/lo, LAM hi/lo, PBA hi/lo, ASN, SSR, ASM
//   0x29 DP   0x2B IVR   0x2D GSR   0x2F LSR
//   0x31 segment status (read: load accumulator from descriptor DP)
//   0x39 IDP (read: find interrupting descriptor)   0x3B RDP
//   0x3D direct translation (read)   0x3F load descriptor (read)
//   every other offset reads 0xFF and ignores writes.
#pragma once
#include <bit>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <string>
#include "bus/BusState.h"
#include "bus/Memory.h"
#include "tables/Types.h"

namespace korva {

struct MmuDescriptor {
  uint16_t LBA;  // logical base address, address bits 23-8
  uint16_t LAM;  // logical address mask: 1 bits take part in the comparison
  uint16_t PBA;  // physical base address, bits 23-8
  uint8_t ASN;   // address space number
  uint8_t SSR;   // segment status (MmuSsr* bits)
  uint8_t ASM;   // address space mask: 1 bits take part in the ASN comparison
};

// Segment status bits.
constexpr uint8_t MmuSsrU = 0x80;   // used
constexpr uint8_t MmuSsrI = 0x10;   // interrupt on access
constexpr uint8_t MmuSsrIP = 0x08;  // interrupt pending
constexpr uint8_t MmuSsrM = 0x04;   // modified
constexpr uint8_t MmuSsrWP = 0x02;  // write protect
constexpr uint8_t MmuSsrE = 0x01;   // enable: only enabled descriptors translate

constexpr int MmuDescriptorCount = 32;

class classMMU {
 public:
  // The state that ResetMMU leaves: every address of every space maps to itself
  // through descriptor 0.
  constexpr classMMU() : desc_{} { ResetState(); }

  // Translate one bus cycle's address. Success: physical := the 24-bit physical
  // address and the four fault flags are cleared. Refusal (no descriptor, or a
  // write to a write-protected segment): the fault is recorded in GSR, LSR, RDP
  // and the accumulator, MmuFaultFlag, BusErrorFlag and FaultFlag are set and
  // physical := logical.
  void TranslateAddress(uint32_t logical, uint8_t fc, VBool isWrite, uint32_t& physical);

  // Translation without side effects for the debugger and disassembler:
  // result := descriptor number << 24 | 24-bit physical address, or
  // 0x20000000 | logical when no descriptor matches (top byte 32 or more).
  void TTA(uint32_t logical, uint8_t fc, uint32_t& result) const;

  // Guest register access (see the map above).
  uint8_t AccessMMU(uint32_t offset);
  void AccessMMU(uint32_t offset, uint8_t value);

  void ResetMMU();

  // The MMU interrupt (interrupt entry 11).
  void SetMMUIP();     // raise it when IsMMUIP
  void ClrMMUIP();     // withdraw it
  VBool IsMMUIP() const;  // interrupts enabled (GSR bit 0) and some descriptor has I

  // The debugger's dumps, rows separated by CR LF.
  void DisplayMMU(std::string& text) const;
  void DisplayMmuDescriptors(std::string& text) const;
  void DisplayMmuASTC(std::string& text) const;

  // Pages whose translation repeats without changing anything, per function
  // code and direction (see TranslateCached): such a translation may be made
  // again without the MMU. Page is the page's logical address bits 23-8 in
  // place, NoRepeat when the entry is empty. The inline path looks at one entry
  // per function code and direction, the page used last; up to RepeatWays pages
  // are kept behind it, so that code working in several pages at once (code,
  // stack and a few data pages) finds each of them without the full lookup.
  struct alignas(32) RepeatEntry {  // a power of two: the tables are indexed with shifts
    uint32_t Page;
    uint32_t Base;      // the physical page's address
    MemoryCell* Cells;  // and its first cell
    // The special status word of a data word moved through this entry: a data
    // access (DF), a read or a write (RW) as the entry's, in its function code.
    // A word or long answered inline sets the status latches from it.
    uint16_t WordSsw;
  };
  static constexpr uint32_t NoRepeat = 0xFFFFFFFFu;
  static constexpr unsigned RepeatWays = 8;

  // Whether writes get repeat entries (on unless writes are being watched).
  void RepeatWrites(bool on) {
    repeatWrites_ = on;
    if (!on)
      for (unsigned f = 0; f < 16; ++f) ForgetRepeats(f, 1);
  }

  // The repeat entry of this function code and direction when it holds the
  // page of `logical`, else null. With `evenOnly` an odd address never matches.
  [[gnu::always_inline]] const RepeatEntry* RepeatFor(uint32_t logical, uint8_t fc, bool isWrite,
                                                      bool evenOnly) const {
    const RepeatEntry& r = repeat_[fc & 15u][isWrite ? 1 : 0];
    return (logical & (evenOnly ? 0xFFFF01u : 0xFFFF00u)) == r.Page ? &r : nullptr;
  }

  // The inline read entry of the program space, function code 6 in supervisor
  // state and 2 otherwise, when it holds the word at `logical` (even). The two
  // entries lie four function codes apart, so `supervisor`, all ones or 0 as
  // the processor keeps its S bit, picks one with a single mask.
  [[gnu::always_inline]] const RepeatEntry* ProgramReadRepeatFor(uint32_t logical, uint32_t supervisor) const {
    return RepeatForState(logical, static_cast<uint16_t>(supervisor), 2, false, true);
  }

  // The same for function code `space` (1 data, 2 program) in user state and
  // `space | 4` in supervisor state, either direction: the supervisor code's
  // entries lie four function codes above the user code's, and that distance,
  // masked out of the state's all-ones, picks one of them with a single AND.
  [[gnu::always_inline]] const RepeatEntry* RepeatForState(uint32_t logical, uint16_t state, unsigned space,
                                                           bool isWrite, bool evenOnly) const {
    const RepeatEntry& r = RepeatEntryForState(state, space, isWrite);
    return (logical & (evenOnly ? 0xFFFF01u : 0xFFFF00u)) == r.Page ? &r : nullptr;
  }
  // The user-state read entry of the program space and the distance to its
  // supervisor-state twin, for a caller that finds the entry itself.
  [[gnu::always_inline]] const RepeatEntry& ProgramReadRepeatUser() const { return repeat_[2][0]; }
  static constexpr uint16_t SupervisorRepeatDistance() { return 4 * sizeof(repeat_[0]); }
  // The entry itself, whatever page it holds (Page is NoRepeat when empty).
  [[gnu::always_inline]] const RepeatEntry& RepeatEntryForState(uint16_t state, unsigned space, bool isWrite) const {
    static_assert(4 * sizeof(repeat_[0]) <= 0xFFFF, "the distance is a mask of the 16-bit state");
    constexpr uint16_t kSupervisor = 4 * sizeof(repeat_[0]);
    const unsigned char* user = reinterpret_cast<const unsigned char*>(&repeat_[space & 3u][isWrite ? 1 : 0]);
    return *reinterpret_cast<const RepeatEntry*>(user + (state & kSupervisor));
  }

  // For a cycle the inline entry did not answer: the kept entry of this
  // function code and direction that holds the page of `logical`, made the
  // inline one; null when no kept page holds it. The entry's translation
  // changes nothing in the MMU, as the inline one's.
  [[gnu::always_inline]] const RepeatEntry* KeptRepeatFor(uint32_t logical, uint8_t fc, bool isWrite) {
    const unsigned f = fc & 15u, w = isWrite ? 1u : 0u;
    const unsigned ways = KeptWaysOf(repeatPages_[f][w], logical & 0xFFFF00u);
    if (ways == 0) return nullptr;
    return &(repeat_[f][w] = repeatSet_[f][w][std::countr_zero(ways)]);
  }
  // For an access the inline entry did not answer, before its cycle: the entry
  // that repeats the translation of the page of `logical`, made the inline one;
  // null when there is none, and the cycle's full translation decides. A kept
  // page answers, or a page the caches translate with nothing to change, which
  // becomes a kept page as the cycle's translation would make it. Nothing else
  // changes: registers, descriptors and fault flags stay as they are.
  const RepeatEntry* RepeatAfterMiss(uint32_t logical, unsigned f, bool isWrite);

  // The translation of a page that no repeat entry holds (KeptRepeatFor found
  // none): as TranslateAddress.
  void TranslateUnkept(uint32_t logical, uint8_t fc, VBool isWrite, uint32_t& physical) {
    TranslateCached(logical, fc & 15u, isWrite != False, physical);
  }

  // Read-only views of the state for inspection.
  const MmuDescriptor& Descriptor(unsigned n) const { return desc_[n & 31]; }
  uint8_t ReadCache(unsigned f) const { return readCache_[f & 15]; }
  uint8_t WriteCache(unsigned f) const { return writeCache_[f & 15]; }

 private:
  // Accumulator "written" flags, one per accumulator byte.
  enum : uint16_t {
    kWrLbaH = 1 << 0, kWrLbaL = 1 << 1, kWrLamH = 1 << 2, kWrLamL = 1 << 3, kWrPbaH = 1 << 4,
    kWrPbaL = 1 << 5, kWrAsn = 1 << 6, kWrSsr = 1 << 7, kWrAsm = 1 << 8,
  };

  // Bit i set when way i holds `page`: the eight ways compared at once, at the
  // same cost whether the page is kept or not (a page is kept in one way at most).
  static unsigned KeptWaysOf(const uint32_t* pages, uint32_t page) {
    static_assert(RepeatWays == 8, "the comparison covers eight ways");
#if defined(__SSE2__)
    const __m128i key = _mm_set1_epi32(static_cast<int>(page));
    const __m128i low = _mm_cmpeq_epi32(_mm_load_si128(reinterpret_cast<const __m128i*>(pages)), key);
    const __m128i high = _mm_cmpeq_epi32(_mm_load_si128(reinterpret_cast<const __m128i*>(pages + 4)), key);
    return static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(low))) |
           static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(high))) << 4;
#else
    unsigned ways = 0;
    for (unsigned i = 0; i < RepeatWays; ++i) ways |= static_cast<unsigned>(pages[i] == page) << i;
    return ways;
#endif
  }
  static bool Matches(const MmuDescriptor& d, uint8_t asn, uint32_t page) {
    return (d.SSR & MmuSsrE) && ((d.ASN ^ asn) & d.ASM) == 0 && ((d.LBA ^ page) & d.LAM) == 0;
  }
  static uint32_t TranslatePage(const MmuDescriptor& d, uint32_t page) {
    return ((d.PBA & d.LAM) | (page & ~static_cast<uint32_t>(d.LAM))) & 0xFFFFu;
  }
  // First enabled descriptor 0-31 that maps (asn, page); -1 when none.
  int Search(uint8_t asn, uint32_t page) const;
  bool AnyInterruptEnabled() const;  // some descriptor has I
  void ClearCaches();
  void InterruptRecheck();

  void TranslateMissed(uint32_t logical, unsigned f, bool isWrite, uint32_t& physical);
  [[gnu::always_inline]] inline void KeepRepeat(unsigned f, unsigned w, uint32_t page, uint32_t base);
  [[gnu::always_inline]] inline int RepeatingDescriptor(unsigned f, uint32_t page, bool isWrite) const;
  [[gnu::noinline]] void TranslateCached(uint32_t logical, unsigned f, bool isWrite, uint32_t& physical);
  [[gnu::noinline]] void TranslateChanging(uint32_t logical, unsigned f, bool isWrite, uint32_t& physical);
  void TranslateSearch(uint32_t logical, unsigned f, bool isWrite, uint32_t& physical);
  void TranslateHit(unsigned d, uint32_t logical, unsigned f, bool isWrite, uint32_t& physical);
  void TranslateFault(uint32_t logical, unsigned f, bool isWrite, uint8_t rdp, uint8_t lsr,
                      uint32_t& physical);

  uint8_t LoadAccumulator();
  void WriteSegmentStatus(uint8_t value);
  uint8_t FindInterruptingDescriptor();
  uint8_t DirectTranslation();
  uint8_t LoadDescriptor();
  uint8_t LocalStatus() const;

  constexpr void ResetState() {
    gsr_ = 0;
    interruptEnable_ = false;
    lsr_ = 0;
    dp_ = 0;
    rdp_ = 0x80;
    ivr_ = 0x0F;
    for (int i = 0; i < 16; ++i) ast_[i] = readCache_[i] = writeCache_[i] = 0;
    written_ = 0;
    for (MmuDescriptor& d : desc_) d.SSR = 0;
    desc_[0] = MmuDescriptor{0, 0, 0, 0, MmuSsrE, 0xFF};
    for (unsigned f = 0; f < 16; ++f) ForgetRepeats(f);
    repeatLive_ = 0;
  }

  // Any change to the MMU's state outside the inline path forgets the repeat entries.
  constexpr void ForgetRepeats(unsigned f, unsigned w) {
    repeat_[f][w].Page = NoRepeat;
    for (uint32_t& page : repeatPages_[f][w]) page = NoRepeat;
  }
  constexpr void ForgetRepeats(unsigned f) {
    ForgetRepeats(f, 0);
    ForgetRepeats(f, 1);
  }
  // Only the function codes that have entries are visited: the guest's MMU
  // register accesses and every full lookup come here.
  void ForgetAllRepeats() {
    for (unsigned live = repeatLive_; live != 0; live &= live - 1) ForgetRepeats(std::countr_zero(live));
    repeatLive_ = 0;
  }
  RepeatEntry repeat_[16][2] = {};                  // the page used last, looked at inline
  RepeatEntry repeatSet_[16][2][RepeatWays] = {};   // every kept page, the last one included
  alignas(16) uint32_t repeatPages_[16][2][RepeatWays] = {};  // their pages (NoRepeat: empty), searched
  uint8_t repeatNext_[16][2] = {};                  // the way a new page takes (oldest first)
  uint16_t repeatLive_ = 0;                         // function codes that have entries
  bool repeatWrites_ = true;  // not touched by a reset

  MmuDescriptor desc_[MmuDescriptorCount];
  uint8_t ast_[16] = {};
  uint8_t readCache_[16] = {};   // descriptor that last translated a read, per AST index
  uint8_t writeCache_[16] = {};  // and a write
  // The accumulator.
  uint16_t accLBA_ = 0, accLAM_ = 0, accPBA_ = 0;
  uint8_t accASN_ = 0, accSSR_ = 0, accASM_ = 0;
  uint16_t written_ = 0;
  uint8_t dp_ = 0, ivr_ = 0x0F, gsr_ = 0, lsr_ = 0, idp_ = 0, rdp_ = 0x80;
  bool interruptEnable_ = false;
};

extern classMMU Mmu;

// The common case stays inline: it is taken on every bus cycle. A page this
// function code translated last time with nothing left to change (descriptor
// already marked, caches already pointing at it) is answered from the repeat
// table; everything else goes out of line (TranslateCached).
[[gnu::always_inline]] inline void classMMU::TranslateAddress(uint32_t logical, uint8_t fc, VBool isWrite,
                                                              uint32_t& physical) {
  if (const RepeatEntry* r = RepeatFor(logical, fc, isWrite != False, false)) [[likely]] {
    physical = r->Base | (logical & 0xFFu);
    FaultFlags = FaultFlagSet{False, False, False, False};
    return;
  }
  TranslateMissed(logical, fc & 15u, isWrite != False, physical);
}

}  // namespace korva
