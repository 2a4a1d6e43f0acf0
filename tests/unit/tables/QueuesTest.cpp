#include <gtest/gtest.h>

#include "tables/Queues.h"

namespace korva {
namespace {

template <typename Q>
class QueueTest : public ::testing::Test {};
using QueueTypes = ::testing::Types<classQueueB, classQueueW, classQueueL>;
TYPED_TEST_SUITE(QueueTest, QueueTypes);

TYPED_TEST(QueueTest, PutOnFullDropsAndGetOnEmptyRepeatsTheLastValue) {
  TypeParam q;
  q.Create(4);
  for (int v = 1; v <= 5; ++v) q.Data(static_cast<decltype(q.Data())>(v));
  EXPECT_EQ(q.Count(), 4);
  EXPECT_TRUE(q.IsFull());
  for (int v = 1; v <= 4; ++v) EXPECT_EQ(q.Data(), v);
  EXPECT_EQ(q.Data(), 4);
  EXPECT_EQ(q.Count(), 0);
  EXPECT_TRUE(q.IsEmpty());
}

TYPED_TEST(QueueTest, RingWrapsAndFlushForgetsTheLastValue) {
  TypeParam q;
  q.Size(3);
  for (int round = 0; round < 5; ++round) {  // in and out indexes pass the end several times
    q.Data(static_cast<decltype(q.Data())>(round));
    q.Data(static_cast<decltype(q.Data())>(round + 100));
    EXPECT_EQ(q.Data(), round);
    EXPECT_EQ(q.Data(), round + 100);
  }
  q.Data(7);
  q.Flush();
  EXPECT_EQ(q.Size(), 3);
  EXPECT_TRUE(q.IsEmpty());
  EXPECT_EQ(q.Data(), 0);
}

TEST(QueueLimitsTest, CapacityOutOfRangeLeavesTheQueueAsItWas) {
  classQueueB b;
  b.Create(262144);
  EXPECT_EQ(b.Size(), 262144);
  b.Data(0xAB);
  for (int32_t bad : {262145, 0, -1}) {
    b.Create(bad);
    EXPECT_EQ(b.Size(), 262144);
    EXPECT_EQ(b.Count(), 1);
  }
  EXPECT_EQ(b.Data(), 0xAB);

  classQueueW w;
  EXPECT_TRUE(w.IsFull() && w.IsEmpty());  // never created: every put is dropped
  w.Data(9);
  EXPECT_EQ(w.Data(), 0);
  w.Create(65537);
  EXPECT_EQ(w.Size(), 0);
  w.Create(65536);
  EXPECT_EQ(w.Size(), 65536);
  w.Data(-32768);  // words keep their sign pattern
  EXPECT_EQ(w.Data(), -32768);
}

TEST(CircusTest, NewestFirstAndOldestOverwritten) {
  classCircusL c;
  c.InsertData(1);  // never created: nothing kept
  EXPECT_EQ(c.ReadData(0), 0);
  c.Create(3);
  for (int32_t v : {10, 20, 30, 40}) c.InsertData(v);
  EXPECT_EQ(c.Count(), 3);
  EXPECT_TRUE(c.IsFull());
  EXPECT_EQ(c.ReadData(0), 40);
  EXPECT_EQ(c.ReadData(1), 30);
  EXPECT_EQ(c.ReadData(2), 20);
  EXPECT_EQ(c.ReadData(3), 0);
  EXPECT_EQ(c.ReadData(-1), 0);
}

TEST(CircusTest, PartlyFilledAndFlushed) {
  classCircusL c;
  c.Create(4096);
  c.InsertData(111);
  c.InsertData(-222);
  EXPECT_EQ(c.ReadData(0), -222);
  EXPECT_EQ(c.ReadData(1), 111);
  EXPECT_EQ(c.ReadData(2), 0);
  EXPECT_EQ(c.Count(), 2);
  c.Flush();
  EXPECT_TRUE(c.IsEmpty());
  c.InsertData(5);  // goes to slot 1 again
  EXPECT_EQ(c.ReadData(0), 5);
  EXPECT_EQ(c.Count(), 1);
}

}  // namespace
}  // namespace korva
