// Shift and rotate micro-routines, checked against a one-bit-per-pass model.
#include <random>
#include "unit/alu/AluFixture.h"

namespace korva::alutest {
namespace {

using Shift = AluTest;

enum Kind { ASL, ASR, LSL, LSR, ROL, ROR, ROXL, ROXR };
void (*const kRegister[])() = {mcrASLReg, mcrASRReg, mcrLSLReg, mcrLSRReg,
                               mcrROLReg, mcrRORReg, mcrROXLReg, mcrROXRReg};
void (*const kMemory[])() = {mcrASLMem, mcrASRMem, mcrLSLMem, mcrLSRMem,
                             mcrROLMem, mcrRORMem, mcrROXLMem, mcrROXRMem};

struct Model {
  uint32_t v;
  uint8_t ccr;
};

// The machine's shift, one bit at a time, flags recomputed every pass.
Model Reference(Kind k, uint32_t v, unsigned count, unsigned n, uint8_t ccr) {
  const uint32_t mask = n == 32 ? 0xFFFFFFFFu : (1u << n) - 1;
  const uint32_t msb = 1u << (n - 1);
  bool x = ccr & X, nf = ccr & N, z = ccr & Z, vf = ccr & V, c = ccr & C;
  v &= mask;
  if (count == 0) {
    c = (k == ROXL || k == ROXR) ? x : false;
    return {v, static_cast<uint8_t>((x ? X : 0) | ((v & msb) ? N : 0) | (v == 0 ? Z : 0) | (c ? C : 0))};
  }
  if (k == ASL) vf = false;
  for (unsigned i = 0; i < count; ++i) {
    const bool left = k == ASL || k == LSL || k == ROL || k == ROXL;
    const bool b = left ? (v & msb) : (v & 1);
    uint32_t in = 0;
    if (k == ASR) in = v & msb;
    if (k == ROL && b) in = 1;
    if (k == ROR && b) in = msb;
    if (k == ROXL && x) in = 1;
    if (k == ROXR && x) in = msb;
    const uint32_t nv = left ? (((v << 1) & mask) | in) : ((v >> 1) | in);
    c = b;
    if (k != ROL && k != ROR) x = b;
    nf = nv & msb;
    if (k == ASL)
      vf = vf || (static_cast<bool>(nv & msb) != b);
    else
      vf = false;
    z = nv == 0;
    v = nv;
  }
  return {v, static_cast<uint8_t>((x ? X : 0) | (nf ? N : 0) | (z ? Z : 0) | (vf ? V : 0) | (c ? C : 0))};
}

// Run the register form of kind k on D1 with a count in D0; returns D1's low n bits.
Model RunRegister(Kind k, uint16_t size, uint32_t d1, uint32_t d0, uint8_t ccr) {
  OpMapEntry& op = OpMap[AluTest::kOpcode];
  op.Size = size;
  op.Extra2 = 1;
  op.SrcReg = 0;
  op.DstReg = 1;
  CpuDReg[0] = d0;
  CpuDReg[1] = d1;
  AluTest::SetCcr(ccr);
  mcPC = AluTest::kStep;
  kRegister[k]();
  return {CpuDReg[1], AluTest::Ccr()};
}

TEST_F(Shift, EveryByteAndCountMatchesTheBitModel) {
  for (int k = ASL; k <= ROXR; ++k)
    for (unsigned count = 0; count < 64; ++count)
      for (uint32_t v = 0; v < 256; ++v)
        for (uint8_t ccr : {uint8_t{0}, uint8_t{X | V}}) {
          const Model want = Reference(static_cast<Kind>(k), v, count, 8, ccr);
          const Model got = RunRegister(static_cast<Kind>(k), 0, 0xABCDEF00u | v, 0x12345600u | count, ccr);
          ASSERT_EQ(got.v, 0xABCDEF00u | want.v) << "kind " << k << " count " << count << " v " << v;
          ASSERT_EQ(got.ccr, want.ccr) << "kind " << k << " count " << count << " v " << v;
          ASSERT_EQ(CpuDop, want.v);
          ASSERT_EQ(mcPC, static_cast<uint32_t>(McFastFetch));
        }
}

TEST_F(Shift, WordsAndLongsMatchTheBitModel) {
  std::mt19937 rng(12345);
  for (uint16_t size : {uint16_t{1}, uint16_t{2}}) {
    const unsigned n = size == 1 ? 16 : 32;
    for (int k = ASL; k <= ROXR; ++k)
      for (unsigned count = 0; count < 64; ++count)
        for (int trial = 0; trial < 40; ++trial) {
          uint32_t v = rng();
          if (trial < 4) v = trial == 0 ? 0 : trial == 1 ? 0xFFFFFFFFu : trial == 2 ? 0x80000000u : 0x00008000u;
          const uint8_t ccr = static_cast<uint8_t>(rng() & 0x1F);
          const Model want = Reference(static_cast<Kind>(k), v, count, n, ccr);
          const Model got = RunRegister(static_cast<Kind>(k), size, v, count, ccr);
          const uint32_t high = n == 32 ? 0 : v & 0xFFFF0000u;
          ASSERT_EQ(got.v, high | want.v) << "kind " << k << " size " << size << " count " << count << " v " << v;
          ASSERT_EQ(got.ccr, want.ccr) << "kind " << k << " size " << size << " count " << count << " v " << v;
        }
  }
  // The memory forms: one pass on a word; the write-back follows.
  for (int k = ASL; k <= ROXR; ++k)
    for (uint32_t v : {0x0000u, 0x0001u, 0x8000u, 0x8001u, 0x4000u, 0xC000u, 0x7FFFu, 0xFFFFu})
      for (uint8_t ccr : {uint8_t{0}, uint8_t{X | V}}) {
        CpuDop = 0x55550000u | v;
        SetCcr(ccr);
        Run(kMemory[k]);
        const Model want = Reference(static_cast<Kind>(k), v, 1, 16, ccr);
        ASSERT_EQ(CpuDop, want.v);
        ASSERT_EQ(Ccr(), want.ccr);
        ASSERT_EQ(mcPC, kStep + 1);
      }
}

}  // namespace
}  // namespace korva::alutest
