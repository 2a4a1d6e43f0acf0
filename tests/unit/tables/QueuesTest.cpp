#include <gtest/gtest.h>

#include "tables/Queues.h"

namespace korva {
namespace {

template <typename Q>
class QueueTest : public ::testing::Test {};
using QueueTypes = ::testing::Types<classQueueB, classQueueW, classQueueL>;
TYPED_TEST_SUITE(QueueTest, QueueTypes);

TYPED_TEST(QueueTest, FullEmptyWrapAndFlush) {
  using V = decltype(TypeParam().Data());
  TypeParam q;
  q.Create(3);
  for (int v = 1; v <= 4; ++v) q.Data(static_cast<V>(v));  // the fourth is dropped
  EXPECT_TRUE(q.IsFull());
  for (int v = 1; v <= 3; ++v) EXPECT_EQ(q.Data(), v);
  EXPECT_EQ(q.Data(), 3);  // empty: the last value again
  EXPECT_TRUE(q.IsEmpty());
  for (int round = 0; round < 4; ++round) {  // in and out indexes pass the end
    q.Data(static_cast<V>(round));
    q.Data(static_cast<V>(round + 100));
    EXPECT_EQ(q.Data(), round);
    EXPECT_EQ(q.Data(), round + 100);
  }
  q.Data(7);
  q.Flush();
  EXPECT_TRUE(q.IsEmpty());
  EXPECT_EQ(q.Data(), 0);  // the flush forgets the last value
}

TEST(QueueLimitsTest, CapacityOutOfRangeLeavesTheQueueAsItWas) {
  classQueueB b;
  b.Create(262144);
  b.Data(0xAB);
  for (int32_t bad : {262145, 0, -1}) {
    b.Create(bad);
    EXPECT_EQ(b.Size(), 262144);
    EXPECT_EQ(b.Count(), 1);
  }
  classQueueW w;
  EXPECT_TRUE(w.IsFull() && w.IsEmpty());  // never created: every put is dropped
  w.Data(9);
  EXPECT_EQ(w.Data(), 0);
  w.Create(65537);
  EXPECT_EQ(w.Size(), 0);
}

TEST(CircusTest, NewestFirstOldestOverwritten) {
  classCircusL c;
  c.InsertData(1);  // never created: nothing kept
  EXPECT_EQ(c.ReadData(0), 0);
  c.Create(3);
  c.InsertData(10);
  EXPECT_EQ(c.ReadData(1), 0);  // partly filled
  for (int32_t v : {20, 30, 40}) c.InsertData(v);
  EXPECT_EQ(c.Count(), 3);
  EXPECT_EQ(c.ReadData(0), 40);
  EXPECT_EQ(c.ReadData(1), 30);
  EXPECT_EQ(c.ReadData(2), 20);
  EXPECT_EQ(c.ReadData(3), 0);
  EXPECT_EQ(c.ReadData(-1), 0);
}

}  // namespace
}  // namespace korva
