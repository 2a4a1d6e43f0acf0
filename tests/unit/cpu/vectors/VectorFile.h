// Reader of the single-instruction MC68000 test vectors: binary files of
// processor states before and after one instruction (little-endian words).
//
//   file        u32 magic 0x1A3F5D71, u32 count, count tests
//   test        u32 size, u32 magic 0xABC12367, name, initial, final, transactions
//   name        u32 size, u32 magic 0x89ABCDEF, u32 len, len bytes
//   state       u32 size, u32 magic 0x01234567, 19 x u32 (D0-D7, A0-A6, USP, SSP,
//               SR, PC), u32 prefetch[2], u32 n, n x {u32 address, u16 word}
//   transactions u32 size, u32 magic 0x456789AB, u32 cycles, u32 n, n entries of
//               u8 kind, u32 cycles and, when kind != 0, u32 fc, address, data, uds, lds
//
// Only the kinds of the transactions are kept: kinds 4 and 5 mark an access that
// raised an address error. Every size field is checked against what it encloses,
// so a truncated or corrupted file yields an error text, never a read past the end.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace korva::vectors {

struct MemWord {
  uint32_t Address;
  uint16_t Word;
};

struct VectorState {
  uint32_t D[8] = {};
  uint32_t A[7] = {};  // A0-A6; A7 is USP or SSP by the S bit of SR
  uint32_t USP = 0, SSP = 0, SR = 0;
  uint32_t PC = 0;     // the next prefetch: the instruction starts at PC - 4
  uint32_t Prefetch[2] = {};
  std::vector<MemWord> Ram;
};

struct VectorTest {
  std::string Name;  // e.g. "5244 [ADDQ.W #1, D4] 1"
  VectorState Initial, Final;
  bool AddressError = false;  // a transaction of kind 4 or 5
};

// Parse a whole file image. On a malformed image returns false with the reason
// in *error (the tests read before the fault are kept in *tests).
bool ParseVectorFile(const std::vector<uint8_t>& image, std::vector<VectorTest>* tests, std::string* error);

// Read the file at path and parse it.
bool ReadVectorFile(const std::string& path, std::vector<VectorTest>* tests, std::string* error);

// The opcode word of a test: the first prefetch word.
inline uint16_t OpcodeOf(const VectorTest& t) { return static_cast<uint16_t>(t.Initial.Prefetch[0]); }

}  // namespace korva::vectors
