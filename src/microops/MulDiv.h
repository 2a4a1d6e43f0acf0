// 64-bit product and quotient helpers of the long multiply and divide, on the
// host's native 64-bit integers. Values are passed as 32-bit halves, as the
// register file holds them.
#pragma once
#include <cstdint>

namespace korva {

// The exact unsigned 64-bit product of a and b.
inline void MultiplyU64(uint32_t a, uint32_t b, uint32_t& high, uint32_t& low) {
  const uint64_t p = static_cast<uint64_t>(a) * b;
  high = static_cast<uint32_t>(p >> 32);
  low = static_cast<uint32_t>(p);
}

// The exact signed 64-bit product of a and b (two's complement halves).
inline void MultiplyS64(int32_t a, int32_t b, uint32_t& high, uint32_t& low) {
  const uint64_t p = static_cast<uint64_t>(static_cast<int64_t>(a) * static_cast<int64_t>(b));
  high = static_cast<uint32_t>(p >> 32);
  low = static_cast<uint32_t>(p);
}

// Unsigned 64-by-64-bit division. The divisor must not be 0 (the callers test it).
inline bool DivideU64(uint32_t dividendHigh, uint32_t dividendLow, uint32_t divisorHigh, uint32_t divisorLow,
                      uint32_t& quotientHigh, uint32_t& quotientLow, uint32_t& remainderHigh,
                      uint32_t& remainderLow) {
  const uint64_t n = (static_cast<uint64_t>(dividendHigh) << 32) | dividendLow;
  const uint64_t d = (static_cast<uint64_t>(divisorHigh) << 32) | divisorLow;
  if (d == 0) return false;
  const uint64_t q = n / d;
  const uint64_t r = n % d;
  quotientHigh = static_cast<uint32_t>(q >> 32);
  quotientLow = static_cast<uint32_t>(q);
  remainderHigh = static_cast<uint32_t>(r >> 32);
  remainderLow = static_cast<uint32_t>(r);
  return true;
}

// Two's complement of high:low in place; true when a carry leaves the top (the value was 0).
inline bool Negate64(uint32_t& high, uint32_t& low) {
  const uint64_t v = (static_cast<uint64_t>(high) << 32) | low;
  const uint64_t n = 0 - v;
  high = static_cast<uint32_t>(n >> 32);
  low = static_cast<uint32_t>(n);
  return v == 0;
}

}  // namespace korva
