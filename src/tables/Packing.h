// Splitting 16- and 32-bit values into bytes, words and nibbles and joining them
// again. The emulated machine is big-endian: the high byte of a word is the one at
// the even (lower) address, the high word of a long the one at the lower address.
// Words travel as uint16_t and longs as uint32_t patterns; every function is a pure
// bit operation, cuts wider arguments to their field and never overflows.
#pragma once
#include <cstdint>

namespace korva {

constexpr uint16_t MakeWord(uint8_t hi, uint8_t lo) { return static_cast<uint16_t>((hi << 8) | lo); }
constexpr uint32_t MakeLong(uint16_t hi, uint16_t lo) { return (static_cast<uint32_t>(hi) << 16) | lo; }
constexpr uint32_t MakeLongFromBytes(uint8_t b3, uint8_t b2, uint8_t b1, uint8_t b0) {
  return (static_cast<uint32_t>(b3) << 24) | (static_cast<uint32_t>(b2) << 16) |
         (static_cast<uint32_t>(b1) << 8) | b0;
}
constexpr uint8_t MakeByteFromNibbles(uint8_t hi, uint8_t lo) {
  return static_cast<uint8_t>(((hi & 15) << 4) | (lo & 15));
}

constexpr uint8_t LoByte(uint16_t w) { return static_cast<uint8_t>(w & 0xFF); }
constexpr uint8_t HiByte(uint16_t w) { return static_cast<uint8_t>(w >> 8); }
constexpr uint16_t LoWord(uint32_t l) { return static_cast<uint16_t>(l & 0xFFFF); }
constexpr uint16_t HiWord(uint32_t l) { return static_cast<uint16_t>(l >> 16); }
// Bits 31-16 as a number 0..65535.
constexpr uint32_t UpperWord(uint32_t l) { return l >> 16; }

constexpr uint8_t LongByte0(uint32_t l) { return static_cast<uint8_t>(l & 0xFF); }
constexpr uint8_t LongByte1(uint32_t l) { return static_cast<uint8_t>((l >> 8) & 0xFF); }
constexpr uint8_t LongByte2(uint32_t l) { return static_cast<uint8_t>((l >> 16) & 0xFF); }
constexpr uint8_t LongByte3(uint32_t l) { return static_cast<uint8_t>(l >> 24); }

constexpr int16_t LoNibble(uint8_t b) { return static_cast<int16_t>(b & 15); }
constexpr int16_t HiNibble(uint8_t b) { return static_cast<int16_t>(b >> 4); }

constexpr uint16_t SwapWordBytes(uint16_t w) { return MakeWord(LoByte(w), HiByte(w)); }
// Turns a big-endian file field into host order and back.
constexpr uint32_t SwapLongBytes(uint32_t l) {
  return MakeLongFromBytes(LongByte0(l), LongByte1(l), LongByte2(l), LongByte3(l));
}

constexpr uint16_t SignExtendByte(uint8_t b) { return b < 0x80 ? b : static_cast<uint16_t>(b | 0xFF00); }
constexpr int32_t ByteToSigned(uint8_t b) { return b < 0x80 ? b : static_cast<int32_t>(b) - 256; }

}  // namespace korva
