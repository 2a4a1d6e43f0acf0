// The segmented MMU: translation, guest register operations, reset and dumps.
#include "bus/MMU.h"

#include "bus/Exceptions.h"
#include "tables/TextFormat.h"

namespace korva {

constinit classMMU Mmu;

namespace {
constexpr uint8_t kNone = 0x80;  // RDP / IDP value: no descriptor
}

// ---------------------------------------------------------------------------
// Searches and helpers

int classMMU::Search(uint8_t asn, uint32_t page) const {
  for (int d = 0; d < MmuDescriptorCount; ++d) {
    if (Matches(desc_[d], asn, page)) return d;
  }
  return -1;
}

bool classMMU::AnyInterruptEnabled() const {
  for (const MmuDescriptor& d : desc_) {
    if (d.SSR & MmuSsrI) return true;
  }
  return false;
}

void classMMU::ClearCaches() {
  for (int i = 0; i < 16; ++i) readCache_[i] = writeCache_[i] = 0;
}

// The request follows GSR bit 0 and the descriptors' I bits.
void classMMU::InterruptRecheck() {
  if (AnyInterruptEnabled()) {
    SetMMUIP();
  } else {
    ClrMMUIP();
  }
}

// ---------------------------------------------------------------------------
// Translation


// Neither cache entry matched: search the descriptors in order.
void classMMU::TranslateSearch(uint32_t logical, unsigned f, bool isWrite, uint32_t& physical) {
  ForgetAllRepeats();
  const int d = Search(ast_[f], (logical >> 8) & 0xFFFFu);
  if (d < 0) {
    TranslateFault(logical, f, isWrite, kNone, isWrite ? 0xA8 : 0xA0, physical);
    return;
  }
  TranslateHit(static_cast<unsigned>(d), logical, f, isWrite, physical);
}

void classMMU::TranslateHit(unsigned d, uint32_t logical, unsigned f, bool isWrite, uint32_t& physical) {
  ForgetAllRepeats();
  MmuDescriptor& s = desc_[d];
  if (isWrite && (s.SSR & MmuSsrWP)) {
    TranslateFault(logical, f, isWrite, static_cast<uint8_t>(d), 0xC0, physical);
    return;
  }
  s.SSR |= isWrite ? (MmuSsrU | MmuSsrM) : MmuSsrU;
  if (s.SSR & MmuSsrI) {
    s.SSR |= MmuSsrIP;
    SetMMUIP();
  }
  physical = (TranslatePage(s, (logical >> 8) & 0xFFFFu) << 8) | (logical & 0xFFu);
  FaultFlag = MmuFaultFlag = AddressErrorFlag = BusErrorFlag = False;
  (isWrite ? writeCache_ : readCache_)[f] = static_cast<uint8_t>(d);
}

// A refused translation: record it for the guest and end the cycle in a bus error.
void classMMU::TranslateFault(uint32_t logical, unsigned f, bool /*isWrite*/, uint8_t rdp, uint8_t lsr,
                              uint32_t& physical) {
  rdp_ = rdp;
  lsr_ = lsr;
  // A second fault before the guest clears GSR bit 7 is marked in bit 6.
  gsr_ |= (gsr_ & 0x80) ? 0x40 : 0x80;
  accLBA_ = static_cast<uint16_t>((logical >> 8) & 0xFFFFu);
  accASN_ = ast_[f];
  written_ &= static_cast<uint16_t>(~(kWrLbaH | kWrLbaL | kWrAsn));
  SetMmuFault();
  SetBusError();
  physical = logical;
}

void classMMU::TTA(uint32_t logical, uint8_t fc, uint32_t& result) const {
  const uint32_t page = (logical >> 8) & 0xFFFFu;
  const int d = Search(ast_[fc & 15u], page);
  if (d < 0) {
    result = 0x20000000u | logical;
    return;
  }
  result = (static_cast<uint32_t>(d) << 24) | (TranslatePage(desc_[d], page) << 8) | (logical & 0xFFu);
}

// ---------------------------------------------------------------------------
// Guest registers

uint8_t classMMU::LocalStatus() const {
  uint8_t v = lsr_ & 0xF8;
  if (AnyInterruptEnabled()) v |= 1;
  if ((written_ & (kWrLbaH | kWrLbaL | kWrLamH | kWrLamL | kWrAsn | kWrAsm)) ==
      (kWrLbaH | kWrLbaL | kWrLamH | kWrLamL | kWrAsn | kWrAsm)) {
    v |= 2;
  }
  if ((written_ & (kWrLbaH | kWrLbaL | kWrAsn)) == (kWrLbaH | kWrLbaL | kWrAsn)) v |= 4;
  return v;
}

uint8_t classMMU::AccessMMU(uint32_t offset) {
  ForgetAllRepeats();  // some reads load descriptors or the accumulator
  offset &= 63;
  if (offset < 0x20) return (offset & 1) ? 0xFF : ast_[offset >> 1];
  switch (offset) {
    case 0x20: return static_cast<uint8_t>(accLBA_ >> 8);
    case 0x21: return static_cast<uint8_t>(accLBA_);
    case 0x22: return static_cast<uint8_t>(accLAM_ >> 8);
    case 0x23: return static_cast<uint8_t>(accLAM_);
    case 0x24: return static_cast<uint8_t>(accPBA_ >> 8);
    case 0x25: return static_cast<uint8_t>(accPBA_);
    case 0x26: return accASN_;
    case 0x27: return accSSR_;
    case 0x28: return accASM_;
    case 0x29: return dp_;
    case 0x2B: return ivr_;
    case 0x2D: return gsr_;
    case 0x2F: return LocalStatus();
    case 0x31: return LoadAccumulator();
    case 0x39: return FindInterruptingDescriptor();
    case 0x3B: return rdp_;
    case 0x3D: return DirectTranslation();
    case 0x3F: return LoadDescriptor();
    default: return 0xFF;
  }
}

void classMMU::AccessMMU(uint32_t offset, uint8_t value) {
  ForgetAllRepeats();
  offset &= 63;
  if (offset < 0x20) {
    if (offset & 1) return;
    ast_[offset >> 1] = value;
    ClearCaches();
    return;
  }
  auto setHigh = [value](uint16_t& field) { field = static_cast<uint16_t>((field & 0x00FF) | (value << 8)); };
  auto setLow = [value](uint16_t& field) { field = static_cast<uint16_t>((field & 0xFF00) | value); };
  switch (offset) {
    case 0x20: setHigh(accLBA_); written_ |= kWrLbaH; break;
    case 0x21: setLow(accLBA_); written_ |= kWrLbaL; break;
    case 0x22: setHigh(accLAM_); written_ |= kWrLamH; break;
    case 0x23: setLow(accLAM_); written_ |= kWrLamL; break;
    case 0x24: setHigh(accPBA_); written_ |= kWrPbaH; break;
    case 0x25: setLow(accPBA_); written_ |= kWrPbaL; break;
    case 0x26: accASN_ = value; written_ |= kWrAsn; break;
    case 0x27: accSSR_ = value; written_ |= kWrSsr; break;
    case 0x28: accASM_ = value; written_ |= kWrAsm; break;
    case 0x29: dp_ = value & 31; break;
    case 0x2B: ivr_ = value; break;
    case 0x2D:
      gsr_ = value;
      interruptEnable_ = (value & 1) != 0;
      if (interruptEnable_) {
        SetMMUIP();
      } else {
        ClrMMUIP();
      }
      if (!(value & 0x80)) lsr_ &= 0x0F;
      break;
    case 0x2F: lsr_ = value; break;
    case 0x31: WriteSegmentStatus(value); break;
    default: break;  // read-only or unused
  }
}

uint8_t classMMU::LoadAccumulator() {
  const MmuDescriptor& d = desc_[dp_ & 31];
  accLBA_ = d.LBA;
  accLAM_ = d.LAM;
  accPBA_ = d.PBA;
  accASN_ = d.ASN;
  accSSR_ = d.SSR;
  accASM_ = d.ASM;
  written_ = 0;
  return accSSR_;
}

// A status write never sets E: with bit 0 set the old E is kept.
void classMMU::WriteSegmentStatus(uint8_t value) {
  ClearCaches();
  MmuDescriptor& d = desc_[dp_ & 31];
  d.SSR = (value & MmuSsrE) ? static_cast<uint8_t>((value & 0xFE) | (d.SSR & MmuSsrE)) : value;
  if (!(d.SSR & MmuSsrE)) d.SSR &= static_cast<uint8_t>(~MmuSsrIP);
  InterruptRecheck();
}

uint8_t classMMU::FindInterruptingDescriptor() {
  idp_ = kNone;
  for (int d = 0; d < MmuDescriptorCount; ++d) {
    if (desc_[d].SSR & MmuSsrIP) {
      idp_ = static_cast<uint8_t>(d);
      break;
    }
  }
  return idp_;
}

uint8_t classMMU::DirectTranslation() {
  constexpr uint16_t kNeeded = kWrLbaH | kWrLbaL | kWrAsn;
  if ((written_ & kNeeded) != kNeeded) {
    rdp_ = kNone;
    lsr_ &= 0x0F;
    return 0xFF;
  }
  const int d = Search(accASN_, accLBA_);
  if (d < 0) {
    lsr_ = 0;
    rdp_ = kNone;
    return 0xFF;
  }
  lsr_ = 0x80;
  dp_ = static_cast<uint8_t>(d);
  rdp_ = static_cast<uint8_t>(d);
  accPBA_ = static_cast<uint16_t>(TranslatePage(desc_[d], accLBA_));
  written_ &= static_cast<uint16_t>(~(kWrPbaH | kWrPbaL));
  return 0;
}

uint8_t classMMU::LoadDescriptor() {
  constexpr uint16_t kNeeded = kWrLbaH | kWrLbaL | kWrLamH | kWrLamL | kWrAsn | kWrAsm;
  if ((written_ & kNeeded) != kNeeded) {
    rdp_ = kNone;
    lsr_ = static_cast<uint8_t>((lsr_ & 0x0F) | 0x90);
    return 0xFF;
  }
  MmuDescriptor& target = desc_[dp_ & 31];
  target.SSR &= static_cast<uint8_t>(~MmuSsrE);
  for (const MmuDescriptor& d : desc_) {
    if (!(d.SSR & MmuSsrE)) continue;
    const uint8_t m = d.ASM & accASM_;
    const uint16_t n = d.LAM & accLAM_;
    if (((d.ASN ^ accASN_) & m) == 0 && ((d.LBA ^ accLBA_) & n) == 0) {
      rdp_ = 0;
      lsr_ = static_cast<uint8_t>((lsr_ & 0x0F) | 0x90);
      return 0xFF;  // the target stays disabled
    }
  }
  target.LBA = accLBA_;
  target.LAM = accLAM_;
  target.PBA = accPBA_;
  target.ASN = accASN_;
  target.SSR = accSSR_;
  InterruptRecheck();
  target.ASM = accASM_;
  lsr_ &= 0x0F;
  ClearCaches();
  return 0;
}

// ---------------------------------------------------------------------------
// Reset and interrupt

void classMMU::ResetMMU() {
  ResetState();
  ClrMMUIP();
}

void classMMU::SetMMUIP() {
  if (IsMMUIP()) Exceptions.SetIP(IntEntryMmu);
}

void classMMU::ClrMMUIP() { Exceptions.ClrIP(IntEntryMmu); }

VBool classMMU::IsMMUIP() const { return ToVBool(interruptEnable_ && AnyInterruptEnabled()); }

// ---------------------------------------------------------------------------
// Debugger dumps. Items on one row are separated by a tab where the next label
// does not start with a blank; index numbers are hexadecimal without leading zeros.

void classMMU::DisplayMMU(std::string& text) const {
  text = "ACC LBA - " + HexWord(accLBA_) + "\tACC LAM - " + HexWord(accLAM_) + "\tACC PBA - " +
         HexWord(accPBA_) + "\r\n";
  text += "ACC ASN - " + HexByte(accASN_) + "\tACC SSR - " + HexByte(accSSR_) + "\tACC ASM - " +
          HexByte(accASM_) + "\r\n";
  text += "\r\n";
  text += "DP - " + HexByte(dp_) + "\tIVR - " + HexByte(ivr_) + "\tGSR - " + HexByte(gsr_) + "\tLSR - " +
          HexByte(lsr_) + "\tIDP - " + HexByte(idp_) + "\tRDP - " + HexByte(rdp_) + "\r\n";
  text += "\r\n";
  for (int n = 0; n < 16; ++n) {
    if (n % 4 != 0) text += "\t";
    text += "AST" + HexLongTrim(static_cast<uint32_t>(n)) + " - " + HexByte(ast_[n]);
    if (n % 4 == 3 && n != 15) text += "\r\n";
  }
}

void classMMU::DisplayMmuDescriptors(std::string& text) const {
  static constexpr struct {
    uint8_t bit;
    const char* name;
  } kFlags[] = {{MmuSsrU, " U"}, {MmuSsrI, " I"}, {MmuSsrIP, " IP"},
                {MmuSsrM, " M"}, {MmuSsrWP, " WP"}, {MmuSsrE, " E"}};
  text.clear();
  for (int n = 0; n < MmuDescriptorCount; ++n) {
    const MmuDescriptor& d = desc_[n];
    if (n) text += "\r\n";
    text += "D-" + HexLongTrim(static_cast<uint32_t>(n)) + " LBA - " + HexWord(d.LBA) + " LAM - " +
            HexWord(d.LAM) + " PBA - " + HexWord(d.PBA) + " ASN - " + HexByte(d.ASN) + " ASM - " +
            HexByte(d.ASM) + " SSR - " + HexByte(d.SSR);
    for (const auto& flag : kFlags) {
      if (d.SSR & flag.bit) text += flag.name;
    }
    const uint32_t size = 0u - ((static_cast<uint32_t>(d.LAM) << 8) | 0xFF000000u);
    text += "\tLA - " + HexLong(static_cast<uint32_t>(d.LBA) << 8) + "\tPA - " +
            HexLong(static_cast<uint32_t>(d.PBA) << 8) + " Size - " + HexLong(size);
  }
}

void classMMU::DisplayMmuASTC(std::string& text) const {
  text.clear();
  for (int n = 0; n < 16; ++n) {
    if (n) text += "\r\n";
    const std::string index = HexLongTrim(static_cast<uint32_t>(n));
    text += " ASTC(" + index + ") - " + HexByte(readCache_[n]) + " ASTCw(" + index + ") - " +
            HexByte(writeCache_[n]);
  }
}

// The inline entry missed: a kept page of this function code and direction
// becomes the inline entry and answers; any other page takes the full lookup.
// This stays a small leaf: the full lookup is a call of its own.
void classMMU::TranslateMissed(uint32_t logical, unsigned f, bool isWrite, uint32_t& physical) {
  if (const RepeatEntry* r = KeptRepeatFor(logical, static_cast<uint8_t>(f), isWrite)) {
    physical = r->Base | (logical & 0xFFu);
    FaultFlags = FaultFlagSet{False, False, False, False};
    return;
  }
  TranslateCached(logical, f, isWrite, physical);
}

// A new repeating page (logical page bits 23-8, physical base address): the
// inline entry, and kept in place of the oldest page.
void classMMU::KeepRepeat(unsigned f, unsigned w, uint32_t page, uint32_t base) {
  const RepeatEntry entry{page << 8, base, &RamArray[base >> 1],
                          static_cast<uint16_t>(0x1000u | (w ? 0u : 0x0100u) | (f & 7u))};
  repeat_[f][w] = entry;
  uint8_t& next = repeatNext_[f][w];
  repeatSet_[f][w][next] = entry;
  repeatPages_[f][w][next] = entry.Page;
  next = static_cast<uint8_t>((next + 1) % RepeatWays);
  repeatLive_ = static_cast<uint16_t>(repeatLive_ | (1u << f));
}

// The descriptor through which the caches translate `page` of function code f
// with nothing to change (no cache to move, no used or modified bit to set, no
// write protection or interrupt), else -1. A read found through the write
// cache would move the read cache, so a read takes the read cache alone.
inline int classMMU::RepeatingDescriptor(unsigned f, uint32_t page, bool isWrite) const {
  const uint8_t asn = ast_[f];
  unsigned d = readCache_[f];
  if (!Matches(desc_[d], asn, page)) {
    d = writeCache_[f];
    if (!isWrite || !Matches(desc_[d], asn, page)) return -1;
  }
  const uint8_t need = isWrite ? (MmuSsrU | MmuSsrM) : MmuSsrU;
  const uint8_t refuse = isWrite ? (MmuSsrI | MmuSsrWP) : MmuSsrI;
  const MmuDescriptor& s = desc_[d];
  if ((s.SSR & (need | refuse)) != need || (isWrite && writeCache_[f] != d)) return -1;
  return static_cast<int>(d);
}

// A page no repeat entry holds, translated by the descriptor a cache points at
// with nothing to change: it becomes a repeating page. Code streaming through
// memory comes here at every new page, so this case stays short; any other
// goes to TranslateChanging.
void classMMU::TranslateCached(uint32_t logical, unsigned f, bool isWrite, uint32_t& physical) {
  const uint32_t page = (logical >> 8) & 0xFFFFu;
  const int d = RepeatingDescriptor(f, page, isWrite);
  if (d < 0) return TranslateChanging(logical, f, isWrite, physical);
  physical = (TranslatePage(desc_[d], page) << 8) | (logical & 0xFFu);
  if (!isWrite || repeatWrites_) {
    const uint32_t base = physical & 0xFFFF00u;
    KeepRepeat(f, isWrite ? 1u : 0u, page, base);
  }
  FaultFlags = FaultFlagSet{False, False, False, False};
}

const classMMU::RepeatEntry* classMMU::RepeatAfterMiss(uint32_t logical, unsigned f, bool isWrite) {
  f &= 15u;
  if (const RepeatEntry* r = KeptRepeatFor(logical, static_cast<uint8_t>(f), isWrite)) return r;
  if (isWrite && !repeatWrites_) return nullptr;
  const uint32_t page = (logical >> 8) & 0xFFFFu;
  const int d = RepeatingDescriptor(f, page, isWrite);
  if (d < 0) return nullptr;
  const unsigned w = isWrite ? 1u : 0u;
  KeepRepeat(f, w, page, TranslatePage(desc_[d], page) << 8);
  return &repeat_[f][w];
}

// A cached descriptor without write protection or interrupt; else the search or
// the hit with its side effects.
void classMMU::TranslateChanging(uint32_t logical, unsigned f, bool isWrite, uint32_t& physical) {
  const unsigned w = isWrite ? 1u : 0u;
  const uint32_t page = (logical >> 8) & 0xFFFFu;
  const uint8_t asn = ast_[f];
  unsigned d = readCache_[f];
  bool viaReadCache = true;
  if (!Matches(desc_[d], asn, page)) {
    d = writeCache_[f];
    viaReadCache = false;
    if (!Matches(desc_[d], asn, page)) {
      TranslateSearch(logical, f, w != 0, physical);
      return;
    }
  }
  MmuDescriptor& s = desc_[d];
  if ((s.SSR & MmuSsrI) || (w && (s.SSR & MmuSsrWP))) {
    TranslateHit(d, logical, f, w != 0, physical);
    return;
  }
  const uint8_t need = w ? (MmuSsrU | MmuSsrM) : MmuSsrU;
  uint8_t* cache = w ? writeCache_ : readCache_;
  // A translation that changes nothing may be repeated from the table: the same
  // cache lookup would pick the same descriptor again. A read picked through
  // the read cache qualifies; a write qualifies when it would pick this
  // descriptor through either cache.
  const bool repeatable = (s.SSR & need) == need && cache[f] == d && (w == 0 ? viaReadCache : true);
  if (cache[f] != d) {
    cache[f] = static_cast<uint8_t>(d);
    ForgetRepeats(f);  // the cache now picks another descriptor for this space
  }
  s.SSR |= need;
  physical = (TranslatePage(s, page) << 8) | (logical & 0xFFu);
  if (repeatable && (w == 0 || repeatWrites_)) {
    const uint32_t base = physical & 0xFFFF00u;
    KeepRepeat(f, w, page, base);
  }
  FaultFlag = MmuFaultFlag = AddressErrorFlag = BusErrorFlag = False;
}

}  // namespace korva
