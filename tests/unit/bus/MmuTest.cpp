// The MMU: translation, faults, guest register operations, interrupt and dumps.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "bus/BusState.h"
#include "bus/Exceptions.h"
#include "bus/MMU.h"

namespace korva {
namespace {

// Guest register offsets.
constexpr uint32_t kAccLba = 0x20, kAccLam = 0x22, kAccPba = 0x24, kAccAsn = 0x26, kAccSsr = 0x27,
                   kAccAsm = 0x28, kDp = 0x29, kGsr = 0x2D, kLsr = 0x2F, kStatus = 0x31, kIdp = 0x39,
                   kRdp = 0x3B, kDirect = 0x3D, kLoad = 0x3F;

class MmuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Exceptions.Reset();
    Mmu.ResetMMU();
    ClearBusFaults();
  }
  void TearDown() override { SetUp(); }

  static void PutWord(uint32_t offset, uint16_t v) {
    Mmu.AccessMMU(offset, static_cast<uint8_t>(v >> 8));
    Mmu.AccessMMU(offset + 1, static_cast<uint8_t>(v));
  }
  static uint16_t GetWord(uint32_t offset) {
    return static_cast<uint16_t>((Mmu.AccessMMU(offset) << 8) | Mmu.AccessMMU(offset + 1));
  }
  // Fill the accumulator and load descriptor n; returns the guest's result byte.
  static uint8_t Load(uint8_t n, uint16_t lba, uint16_t lam, uint16_t pba, uint8_t asn, uint8_t ssr) {
    Mmu.AccessMMU(kDp, n);
    PutWord(kAccLba, lba);
    PutWord(kAccLam, lam);
    PutWord(kAccPba, pba);
    Mmu.AccessMMU(kAccAsn, asn);
    Mmu.AccessMMU(kAccSsr, ssr);
    Mmu.AccessMMU(kAccAsm, 0xFF);
    return Mmu.AccessMMU(kLoad);
  }
  static uint32_t Translate(uint32_t logical, uint8_t fc, bool write) {
    uint32_t physical = 0xDEADBEEF;
    Mmu.TranslateAddress(logical, fc, ToVBool(write), physical);
    return physical;
  }
  // Function code 1 gets address space 1, where segment 1 maps logical
  // 0x001000-0x001FFF to physical 0x020000-0x020FFF.
  static void MapUserSpace(uint8_t ssr) {
    Mmu.AccessMMU(2 * 1, 1);
    ASSERT_EQ(Load(1, 0x0010, 0xFFF0, 0x0200, 1, ssr), 0);
  }
};

TEST_F(MmuTest, ResetMapsEveryAddressToItself) {
  FaultFlag = MmuFaultFlag = AddressErrorFlag = BusErrorFlag = True;
  EXPECT_EQ(Translate(0xFF00ABCD, 5, false), 0x0000ABCDu);  // bits 31-24 are not decoded
  EXPECT_EQ(FaultFlag | MmuFaultFlag | AddressErrorFlag | BusErrorFlag, 0);
  EXPECT_EQ(Translate(0x7FFFFE, 6, true), 0x7FFFFEu);

  // A reset disables descriptors 1-31 but keeps their address fields.
  MapUserSpace(MmuSsrE);
  Mmu.ResetMMU();
  EXPECT_EQ(Mmu.Descriptor(1).SSR, 0);
  EXPECT_EQ(Mmu.Descriptor(1).PBA, 0x0200);
  EXPECT_EQ(Mmu.AccessMMU(kRdp), 0x80);
  EXPECT_EQ(Mmu.AccessMMU(0x2B), 0x0F);  // IVR
}

// Repeated translations of one page are answered from a shortcut; the used and
// modified bits and the guest's changes must still be seen exactly.
TEST_F(MmuTest, RepeatedTranslationsKeepStatusBitsAndSeeGuestChanges) {
  MapUserSpace(MmuSsrE);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Translate(0x001234, 1, false), 0x020234u);
  EXPECT_EQ(Mmu.Descriptor(1).SSR, MmuSsrU | MmuSsrE);  // a read does not mark it modified
  EXPECT_EQ(Translate(0x001236, 1, true), 0x020236u);
  EXPECT_EQ(Mmu.Descriptor(1).SSR, MmuSsrU | MmuSsrM | MmuSsrE);

  // The guest clears U and M: the next write sets them again.
  Mmu.AccessMMU(kDp, 1);
  Mmu.AccessMMU(kStatus, MmuSsrE);
  EXPECT_EQ(Translate(0x001234, 1, true), 0x020234u);
  EXPECT_EQ(Mmu.Descriptor(1).SSR, MmuSsrU | MmuSsrM | MmuSsrE);

  // Write protection set after repeated writes refuses the next one.
  Mmu.AccessMMU(kStatus, MmuSsrE | MmuSsrWP);
  Translate(0x001234, 1, true);
  EXPECT_TRUE(BusErrorFlag);

  // Disabling the segment ends the mapping at once.
  Mmu.AccessMMU(kStatus, 0);
  Translate(0x001234, 1, false);
  EXPECT_TRUE(BusErrorFlag);
}

// Code working in several pages keeps each of them repeating, per function code
// and direction; a ninth page takes the place of the oldest.
TEST_F(MmuTest, SeveralPagesRepeatPerFunctionCodeAndDirection) {
  Translate(0x7F0000, 5, false);  // marks descriptor 0 used: from now on its reads repeat
  for (int round = 0; round < 2; ++round)
    for (uint32_t p = 0x010000; p < 0x090000; p += 0x10000) EXPECT_EQ(Translate(p | 0x42, 5, false), p | 0x42);
  for (uint32_t p = 0x010000; p < 0x090000; p += 0x10000) {
    const auto* r = Mmu.KeptRepeatFor(p | 0x80, 5, false);
    ASSERT_NE(r, nullptr) << std::hex << p;
    EXPECT_EQ(r->Base, p);
    EXPECT_EQ(Mmu.RepeatFor(p, 5, false, false), r);  // now the one looked at inline
  }
  EXPECT_EQ(Mmu.KeptRepeatFor(0x010000, 5, true), nullptr);   // never written
  EXPECT_EQ(Mmu.KeptRepeatFor(0x010000, 1, false), nullptr);  // another function code
  EXPECT_EQ(Translate(0x0A0000, 5, false), 0x0A0000u);
  EXPECT_EQ(Mmu.KeptRepeatFor(0x010000, 5, false), nullptr);
  EXPECT_NE(Mmu.KeptRepeatFor(0x020000, 5, false), nullptr);
}

// A page made repeating ahead of its cycle: only where the cycle's translation
// would change nothing (descriptor already used, and modified for a write, no
// protection, no fault), and then nothing else is touched.
TEST_F(MmuTest, RepeatsAheadOfACycleOnlyWhereTheTranslationChangesNothing) {
  MapUserSpace(MmuSsrE);
  Load(2, 0x0030, 0xFFF0, 0x0500, 1, MmuSsrE | MmuSsrWP);  // 0x003000-0x003FFF, write-protected
  const uint8_t gsr = Mmu.AccessMMU(kGsr);
  FaultFlag = BusErrorFlag = True;
  EXPECT_EQ(Mmu.RepeatAfterMiss(0x001234, 1, false), nullptr);  // not used yet: the cycle marks it
  EXPECT_EQ(Mmu.RepeatAfterMiss(0x005000, 1, false), nullptr);  // no descriptor: the cycle faults
  EXPECT_EQ(Mmu.Descriptor(1).SSR, MmuSsrE);
  EXPECT_EQ(Mmu.AccessMMU(kGsr), gsr);
  EXPECT_TRUE(FaultFlag && BusErrorFlag);
  ClearBusFaults();

  Translate(0x001234, 1, false);
  const auto* r = Mmu.RepeatAfterMiss(0x001356, 1, false);  // another page of the used segment
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->Base, 0x020300u);
  EXPECT_EQ(r->WordSsw, 0x1101);
  EXPECT_EQ(Mmu.RepeatFor(0x001356, 1, false, false), r);
  EXPECT_EQ(Mmu.RepeatAfterMiss(0x001400, 1, true), nullptr);  // not modified yet
  EXPECT_EQ(Mmu.Descriptor(1).SSR, MmuSsrU | MmuSsrE);
  Translate(0x001400, 1, true);
  r = Mmu.RepeatAfterMiss(0x001500, 1, true);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->WordSsw, 0x1001);
  Translate(0x003000, 1, false);
  EXPECT_NE(Mmu.RepeatAfterMiss(0x003100, 1, false), nullptr);
  EXPECT_EQ(Mmu.RepeatAfterMiss(0x003100, 1, true), nullptr);  // write-protected
  Mmu.RepeatWrites(false);
  EXPECT_EQ(Mmu.RepeatAfterMiss(0x001600, 1, true), nullptr);  // writes are being watched
  Mmu.RepeatWrites(true);
}

// Every change the guest or a fault makes forgets the repeating pages of every
// function code, so the next translation of each sees the new state.
TEST_F(MmuTest, EveryStateChangeForgetsTheRepeatingPages) {
  MapUserSpace(MmuSsrE);
  ASSERT_EQ(Load(2, 0x0020, 0xFFF0, 0x0400, 1, MmuSsrE), 0);  // 0x002000-0x002FFF of space 1
  const std::pair<const char*, void (*)()> changes[] = {
      {"AST write", [] { Mmu.AccessMMU(2 * 7, 3); }},
      {"GSR write", [] { Mmu.AccessMMU(kGsr, 0); }},
      {"register read", [] { Mmu.AccessMMU(kIdp); }},
      {"refused access", [] { Translate(0x003000, 1, false); }},
      {"another descriptor", [] { Translate(0x002000, 1, false); }},
      {"reset", [] { Mmu.ResetMMU(), MapUserSpace(MmuSsrE); }},
      {"watched writes", [] { Mmu.RepeatWrites(false); }},
  };
  const auto fc = [](uint32_t p) -> uint8_t { return p < 0x10000 ? 1 : 5; };
  for (const auto& [what, change] : changes) {
    SCOPED_TRACE(what);
    for (int round = 0; round < 3; ++round)
      for (uint32_t p : {0x001000u, 0x001100u, 0x001200u, 0x041000u}) Translate(p, fc(p), round == 1);
    ASSERT_NE(Mmu.KeptRepeatFor(0x001100, 1, true), nullptr);
    ASSERT_NE(Mmu.KeptRepeatFor(0x041000, 5, false), nullptr);
    change();
    const bool readsStay = what == std::string("watched writes");
    for (uint32_t p : {0x001000u, 0x001100u, 0x001200u, 0x041000u}) {
      EXPECT_EQ(Mmu.KeptRepeatFor(p, fc(p), true), nullptr) << std::hex << p;
      EXPECT_EQ(Mmu.KeptRepeatFor(p, fc(p), false) != nullptr, readsStay) << std::hex << p;
    }
    ClearBusFaults();
  }
  Mmu.RepeatWrites(true);
  // The guest moves the segment between two reads of a kept page (not the one
  // used last): the read after the move reaches the new place.
  Mmu.AccessMMU(kDp, 1);
  PutWord(kAccPba, 0x0300);
  ASSERT_EQ(Mmu.AccessMMU(kLoad), 0);
  EXPECT_EQ(Translate(0x001142, 1, false), 0x030142u);
}

TEST_F(MmuTest, LoadDescriptorNeedsItsAccumulatorAndRefusesCollisions) {
  Mmu.AccessMMU(kDp, 2);
  EXPECT_EQ(Mmu.AccessMMU(kLoad), 0xFF);  // nothing written since the reset
  EXPECT_EQ(Mmu.AccessMMU(kRdp), 0x80);
  EXPECT_EQ(Mmu.AccessMMU(kLsr) & 0xF8, 0x90);

  // Descriptor 0 covers every page of space 0.
  EXPECT_EQ(Load(1, 0x0010, 0xFFF0, 0x0200, 0, MmuSsrE), 0xFF);
  EXPECT_EQ(Mmu.AccessMMU(kRdp), 0);
  EXPECT_EQ(Mmu.AccessMMU(kLsr) & 0xF8, 0x90);
  EXPECT_EQ(Mmu.Descriptor(1).SSR & MmuSsrE, 0);

  EXPECT_EQ(Load(1, 0x0010, 0xFFF0, 0x0200, 1, MmuSsrE), 0);
  EXPECT_EQ(Mmu.AccessMMU(kLsr), 0x06);  // accumulator fields written, no fault bits
  Mmu.AccessMMU(2 * 1, 1);
  uint32_t r = 0;
  Mmu.TTA(0x001234, 1, r);
  EXPECT_EQ(r, 0x01020234u);
  Mmu.TTA(0x002234, 1, r);
  EXPECT_EQ(r, 0x20002234u);  // no descriptor: 32 in the top byte
}

TEST_F(MmuTest, WriteProtectFaultRecordsTheAccess) {
  MapUserSpace(MmuSsrE | MmuSsrWP);
  EXPECT_EQ(Translate(0x001F00, 1, false), 0x020F00u);  // reads pass
  EXPECT_EQ(Translate(0x001F02, 1, true), 0x001F02u);
  EXPECT_EQ(BusErrorFlag & MmuFaultFlag & FaultFlag, True);
  EXPECT_EQ(Mmu.AccessMMU(kGsr), 0x80);
  EXPECT_EQ(Mmu.AccessMMU(kRdp), 1);
  EXPECT_EQ(Mmu.AccessMMU(kLsr), 0xC0);
  EXPECT_EQ(GetWord(kAccLba), 0x001F);
  EXPECT_EQ(Mmu.AccessMMU(kAccAsn), 1);
  EXPECT_EQ(Mmu.Descriptor(1).SSR & MmuSsrM, 0);

  Translate(0x001000, 1, true);
  EXPECT_EQ(Mmu.AccessMMU(kGsr), 0xC0);  // second fault before GSR was rewritten
  Mmu.AccessMMU(kGsr, 0);
  EXPECT_EQ(Mmu.AccessMMU(kLsr), 0x00);  // GSR bit 7 clear drops LSR's fault bits
}

TEST_F(MmuTest, UnmatchedAccessesFault) {
  Mmu.AccessMMU(2 * 3, 7);  // function code 3 -> space 7, which nothing maps
  EXPECT_EQ(Translate(0x345678, 3, false), 0x345678u);
  EXPECT_EQ(BusErrorFlag, True);
  EXPECT_EQ(Mmu.AccessMMU(kLsr), 0xA0);
  EXPECT_EQ(Mmu.AccessMMU(kRdp), 0x80);
  EXPECT_EQ(GetWord(kAccLba), 0x3456);
  Translate(0x345678, 3, true);
  EXPECT_EQ(Mmu.AccessMMU(kLsr), 0xA8);
}

TEST_F(MmuTest, StatusWritesNeverEnable) {
  Mmu.AccessMMU(kDp, 0);
  Mmu.AccessMMU(kStatus, 0x88);  // bit 0 clear: E goes, and IP with it
  EXPECT_EQ(Mmu.Descriptor(0).SSR, 0x80);
  Translate(0x1000, 5, false);
  EXPECT_EQ(BusErrorFlag, True);
  Mmu.AccessMMU(kStatus, 0x81);
  EXPECT_EQ(Mmu.Descriptor(0).SSR, 0x80);
}

TEST_F(MmuTest, InterruptFollowsGsrBit0AndTheIBits) {
  MapUserSpace(MmuSsrE | MmuSsrI);
  EXPECT_EQ(Exceptions.IsIP(IntEntryMmu), False);
  Mmu.AccessMMU(kGsr, 0x01);
  EXPECT_EQ(Exceptions.IsIP(IntEntryMmu), True);
  EXPECT_EQ(Mmu.AccessMMU(kIdp), 0x80);
  Translate(0x001010, 1, false);
  EXPECT_EQ(Mmu.AccessMMU(kIdp), 1);

  // Clearing IP while I stays set leaves the request raised; dropping I withdraws it.
  Mmu.AccessMMU(kDp, 1);
  Mmu.AccessMMU(kStatus, MmuSsrI | MmuSsrE);
  EXPECT_EQ(Mmu.AccessMMU(kIdp), 0x80);
  EXPECT_EQ(Exceptions.IsIP(IntEntryMmu), True);
  Mmu.AccessMMU(kStatus, MmuSsrE);
  EXPECT_EQ(Exceptions.IsIP(IntEntryMmu), False);
}

TEST_F(MmuTest, DirectTranslation) {
  EXPECT_EQ(Mmu.AccessMMU(kDirect), 0xFF);  // nothing written since the reset
  EXPECT_EQ(Mmu.AccessMMU(kRdp), 0x80);
  MapUserSpace(MmuSsrE);
  PutWord(kAccLba, 0x001C);
  Mmu.AccessMMU(kAccAsn, 1);
  Mmu.AccessMMU(kDp, 5);
  EXPECT_EQ(Mmu.AccessMMU(kDirect), 0);
  EXPECT_EQ(GetWord(kAccPba), 0x020C);
  EXPECT_EQ(Mmu.AccessMMU(kDp), 1);
  PutWord(kAccLba, 0x0030);
  EXPECT_EQ(Mmu.AccessMMU(kDirect), 0xFF);
  EXPECT_EQ(Mmu.AccessMMU(kRdp), 0x80);
}

TEST_F(MmuTest, AstWritesEmptyTheCaches) {
  MapUserSpace(MmuSsrE);
  Translate(0x001000, 1, false);
  Translate(0x001002, 0x11, true);  // the function code is taken modulo 16
  EXPECT_EQ(Mmu.ReadCache(1) + Mmu.WriteCache(1), 2);
  Mmu.AccessMMU(2 * 9, 0);
  EXPECT_EQ(Mmu.ReadCache(1) + Mmu.WriteCache(1), 0);
  EXPECT_EQ(Translate(0x001FFF, 1, false), 0x020FFFu);  // found again by the search
  // Giving function code 1 another space makes the cached segment miss.
  Mmu.AccessMMU(2 * 1, 0);
  EXPECT_EQ(Translate(0x001000, 1, false), 0x001000u);
}

// The dumps show the accumulator, which survives a reset, and each descriptor's
// status bits by name.
TEST_F(MmuTest, Dumps) {
  PutWord(kAccLba, 0x1234);
  std::string text;
  Mmu.DisplayMMU(text);
  EXPECT_EQ(text.substr(0, 16), "ACC LBA - 1234\tA");
  MapUserSpace(MmuSsrE | MmuSsrWP | MmuSsrI);
  Translate(0x001000, 1, false);
  Mmu.DisplayMmuDescriptors(text);
  EXPECT_NE(text.find("\r\nD-1 LBA - 0010 LAM - FFF0 PBA - 0200 ASN - 01 ASM - FF SSR - 9B U I IP WP E"
                      "\tLA - 00001000\tPA - 00020000 Size - 00001000\r\nD-2 "),
            std::string::npos);
  EXPECT_EQ(text.find("\r\nD-1F "), text.rfind("\r\n"));
  Mmu.DisplayMmuASTC(text);
  EXPECT_EQ(text.substr(29, 13), " ASTC(1) - 01");
}

}  // namespace
}  // namespace korva
