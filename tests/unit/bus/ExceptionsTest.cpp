// The interrupt controller: priority, masks, the level-7 gate and I/O-channel routing.
#include <gtest/gtest.h>

#include "bus/Exceptions.h"

namespace korva {
namespace {

class ExceptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    IMaskFlag = False;
    Exceptions.Reset();
  }
  void TearDown() override { SetUp(); }
  static void Unmask(std::initializer_list<int> entries) {
    for (int e : entries) Exceptions.Mask(e, 0);
  }
};

TEST_F(ExceptionsTest, ResetStateAndTheAbortEntry) {
  EXPECT_EQ(HipEntry, -1);
  // Device entries are masked after a reset; the ABORT button's entry is not.
  Exceptions.SetIP(IntEntryClock);
  EXPECT_EQ(HipPending, 0);
  Exceptions.SetIP(IntEntryAbort);
  EXPECT_EQ(HipPending, 0xFFFF);
  EXPECT_EQ(HipLevel, 7);
  EXPECT_EQ(HipVector, 0x4E);
  EXPECT_EQ(HipVectorAddress, 0x138);

  IMaskFlag = True;  // not the controller's to reset
  Exceptions.Reset();
  EXPECT_EQ(HipEntry, -1);
  EXPECT_EQ(HipVectorAddress, 0);
  EXPECT_EQ(IMaskFlag, True);
}

TEST_F(ExceptionsTest, HighestPendingUnmaskedEntryWinsAndIMaskPassesOnly19And20) {
  Unmask({7, 8});
  Exceptions.SetIP(7);
  Exceptions.SetIP(8);
  EXPECT_EQ(HipVector, 0x4A);
  Exceptions.ClrIP(8);
  EXPECT_EQ(HipVector, 0x42);
  // Unmasking an entry that is already pending publishes it; masking withdraws it.
  Exceptions.SetIP(14);
  EXPECT_EQ(HipEntry, 7);
  Exceptions.Mask(14, 0);
  EXPECT_EQ(HipEntry, 14);
  Exceptions.Mask(14, 1);
  EXPECT_EQ(HipEntry, 7);
  Exceptions.Pending(7, 0);
  EXPECT_EQ(HipPending, 0);

  Unmask({14, 18});
  Exceptions.IMask(True);
  Exceptions.SetIP(18);
  EXPECT_EQ(HipPending, 0);
  Exceptions.SetIP(19);
  EXPECT_EQ(HipEntry, 19);
  Exceptions.ClrIP(19);
  Exceptions.ClrIP(18);
  Exceptions.IMask(False);
  EXPECT_EQ(HipEntry, 14);
}

TEST_F(ExceptionsTest, ChannelSourcesHoldTheirEntry) {
  Unmask({4, 10, 13, 14, 16});
  Exceptions.SetIocIP(2, 4);
  Exceptions.SetIocIP(3, 12);
  EXPECT_EQ(HipEntry, 13);  // level 5 beats level 4
  Exceptions.SetIocIP(3, 0);
  Exceptions.ClrIocIP(3, 12);
  EXPECT_EQ(Exceptions.IsIP(13), True);  // source 0 still holds it
  Exceptions.ClrIocIP(3, 0);
  EXPECT_EQ(Exceptions.IsIP(13), False);
  EXPECT_EQ(HipEntry, 10);
  Exceptions.SetIocIP(4, 16);  // source 16 raises its channel like the others
  EXPECT_EQ(HipEntry, 16);
  Exceptions.IocPending(4, 16, 0);
  EXPECT_EQ(HipEntry, 10);

  // InitIocTable withdraws only what the channels raised.
  Exceptions.SetIP(14);
  InitIocTable();
  EXPECT_EQ(Exceptions.IsIocIP(2, 4), False);
  EXPECT_EQ(Exceptions.IsIP(10), False);  // no source would be left to clear it
  EXPECT_EQ(HipEntry, 14);
}

TEST_F(ExceptionsTest, OutOfRangeArgumentsAreIgnored) {
  for (int e : {-1, 21}) {
    Exceptions.Mask(e, 0);
    Exceptions.SetIP(e);
    EXPECT_EQ(Exceptions.IsIP(e), False);
    EXPECT_EQ(Exceptions.Mask(e), 0);
  }
  for (auto [channel, source] : {std::pair{0, 0}, {5, 0}, {1, -1}, {1, 17}}) {
    Exceptions.SetIocIP(channel, source);
    EXPECT_EQ(Exceptions.IsIocIP(channel, source), False);
  }
  for (const InterruptEntry& entry : InterruptTable) EXPECT_EQ(entry.Pending, 0);
  for (const IocSourceEntry& s : IocTable) EXPECT_EQ(s.Pending, 0);
}

}  // namespace
}  // namespace korva
