// Bounded first-in, first-out queues of bytes, words and longs, and the
// fixed-size history classCircusL. Rings are allocated once by Create; put, get,
// insert and read take constant time and allocate nothing.
#pragma once
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tables/Types.h"

namespace korva {

// The public operations every queue of the family offers.
template <typename Q, typename T>
concept QueueInterface = requires(Q q, const Q cq, int32_t n, T v) {
  q.Create(n);
  q.Flush();
  { cq.IsEmpty() } -> std::same_as<VBool>;
  { cq.IsFull() } -> std::same_as<VBool>;
  q.Size(n);
  { cq.Size() } -> std::same_as<int32_t>;
  { cq.Count() } -> std::same_as<int32_t>;
  q.Data(v);
  { q.Data() } -> std::same_as<T>;
};

template <typename T, int32_t MaxSize>
class classQueue {
 public:
  // A size outside 1..MaxSize changes nothing.
  void Create(int32_t size) {
    if (size < 1 || size > MaxSize) return;
    Buffer.assign(static_cast<std::size_t>(size), T{});
    SizeValue = size;
    MaxIndex = size - 1;
    CountValue = InIndex = OutIndex = 0;
    LastValue = T{};
  }
  // Empties the queue; the capacity stays.
  void Flush() {
    CountValue = InIndex = OutIndex = 0;
    LastValue = T{};
  }
  VBool IsEmpty() const { return ToVBool(CountValue < 1); }
  // A queue that was never created is full and empty at once.
  VBool IsFull() const { return ToVBool(CountValue > MaxIndex); }
  void Size(int32_t size) { Create(size); }
  int32_t Size() const { return SizeValue; }
  int32_t Count() const { return CountValue; }

  // Put: a value offered to a full queue is dropped.
  void Data(T value) {
    if (CountValue > MaxIndex) return;
    Buffer[static_cast<std::size_t>(InIndex)] = value;
    if (++InIndex > MaxIndex) InIndex = 0;
    ++CountValue;
  }
  // Get: an empty queue returns the last value read again (0 after Create or Flush).
  T Data() {
    if (CountValue < 1) return LastValue;
    LastValue = Buffer[static_cast<std::size_t>(OutIndex)];
    if (++OutIndex > MaxIndex) OutIndex = 0;
    --CountValue;
    return LastValue;
  }

 private:
  int32_t SizeValue = 0;
  int32_t MaxIndex = -1;
  std::vector<T> Buffer;
  int32_t CountValue = 0;
  int32_t InIndex = 0;
  int32_t OutIndex = 0;
  T LastValue{};
};

using classQueueB = classQueue<uint8_t, 262144>;
using classQueueW = classQueue<int16_t, 65536>;
using classQueueL = classQueue<int32_t, 65536>;
static_assert(QueueInterface<classQueueB, uint8_t> && QueueInterface<classQueueW, int16_t> &&
              QueueInterface<classQueueL, int32_t>);

// A history of the last Size values, the newest overwriting the oldest.
class classCircusL {
 public:
  static constexpr int32_t MaxSize = 65536;
  // A size outside 1..65536 changes nothing.
  void Create(int32_t size);
  // Forgets the count; the stored values stay in the buffer.
  void Flush() { CountValue = HeadIndex = 0; }
  VBool IsEmpty() const { return ToVBool(CountValue < 1); }
  VBool IsFull() const { return ToVBool(CountValue >= SizeValue); }
  void Size(int32_t size) { Create(size); }
  int32_t Size() const { return SizeValue; }
  int32_t Count() const { return CountValue; }

  void InsertData(int32_t value) {
    if (SizeValue == 0) return;  // never created: nothing to keep it in
    if (++HeadIndex > MaxIndex) HeadIndex = 0;
    if (CountValue != SizeValue) ++CountValue;
    Buffer[static_cast<std::size_t>(HeadIndex)] = value;
  }
  // i = 0 is the newest value, 1 the one before, ... Indexes outside 0..Size-1
  // give 0; indexes at or beyond Count give whatever the slot holds.
  int32_t ReadData(int32_t i) const {
    if (i < 0 || i > MaxIndex) return 0;
    const int32_t slot = i > HeadIndex ? HeadIndex - i + SizeValue : HeadIndex - i;
    return Buffer[static_cast<std::size_t>(slot)];
  }

 private:
  int32_t SizeValue = 0;
  int32_t MaxIndex = -1;
  std::vector<int32_t> Buffer;
  int32_t CountValue = 0;
  int32_t HeadIndex = 0;
};

}  // namespace korva
