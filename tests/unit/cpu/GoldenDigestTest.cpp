// Temporary: the control store and the three decode tables stay bit for bit the same.
#include <gtest/gtest.h>

#include <cstdio>

#include "cpu/ControlStore.h"
#include "cpu/CpuState.h"
#include "tables/OpMap.h"

namespace korva {
namespace {

struct Fnv {
  uint64_t h = 14695981039346656037ull;
  void Mix(uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
      h ^= (v >> (8 * i)) & 0xFF;
      h *= 1099511628211ull;
    }
  }
};

uint64_t StoreDigest() {
  Fnv f;
  for (const McEntry& e : Microcode) {
    f.Mix(e.Kind, 1);
    f.Mix(e.Arg, 4);
  }
  return f.h;
}

uint64_t MapDigest() {
  Fnv f;
  for (uint32_t op = 0; op <= 0xFFFF; ++op) {
    const OpMapEntry& e = OpMap[op];
    f.Mix(e.SupervisorStart, 4);
    f.Mix(e.UserStart, 4);
    f.Mix(static_cast<uint32_t>(e.Extra1), 4);
    f.Mix(static_cast<uint32_t>(e.Extra2), 4);
    for (uint16_t v : {e.Size, e.SrcMode, e.SrcReg, e.DstMode, e.DstReg, e.Privileged}) f.Mix(v, 2);
    f.Mix(OpText[op].FormatCode, 2);
    for (unsigned char c : OpText[op].Text) f.Mix(c, 1);
    f.Mix(0x1FF, 2);
    const ExtWordEntry& x = ExtWordTable[op];
    for (uint32_t v : {uint32_t{x.DA}, uint32_t{x.WL}, uint32_t{x.Reg}, uint32_t{x.Scale},
                       static_cast<uint32_t>(x.Disp8), uint32_t{x.RegField}, uint32_t(uint16_t(x.Full)),
                       uint32_t(uint16_t(x.BS)), uint32_t(uint16_t(x.IS)), uint32_t{x.BDSize}, uint32_t{x.IIS},
                       uint32_t(uint16_t(x.Unsupported))})
      f.Mix(v, 4);
  }
  return f.h;
}

void Rebuild(uint16_t model, VBool movePhys) {
  CpuType = model;
  MovePhysEn = movePhys;
  ClearOpMap();
  ClearOpText();
  BuildOpMap();
  BuildExtWordTable();
}

TEST(GoldenDigest, StoreAndMapsUnchanged) {
  const uint16_t savedType = CpuType;
  const VBool savedPhys = MovePhysEn;
  uint64_t d[9];
  InitMicrocode();
  d[0] = StoreDigest();
  SelectCpu68000();
  d[1] = StoreDigest();
  SelectCpu32();
  d[2] = StoreDigest();
  SelectCpu68010();
  UseDebuggerMicroOp();
  d[3] = StoreDigest();
  UseNormalMicroOp();
  d[4] = StoreDigest();
  Rebuild(Cpu68000, False);
  d[5] = MapDigest();
  Rebuild(Cpu68010, False);
  d[6] = MapDigest();
  Rebuild(Cpu32, False);
  d[7] = MapDigest();
  Rebuild(Cpu68010, True);
  d[8] = MapDigest();
  const uint64_t golden[9] = {0x3afaeaf735d97544ull, 0xdb1f439302b478c7ull, 0x69ee3252146614faull,
                                0x42581af566db1e92ull, 0xa54b8e59ae513c95ull, 0x30564648f0619731ull,
                                0x74de02696e6e07f5ull, 0xe1753c196dc3c083ull, 0x4517379988376875ull};
  for (int i = 0; i < 9; ++i) {
    std::printf("digest %d 0x%016llx\n", i, static_cast<unsigned long long>(d[i]));
    EXPECT_EQ(d[i], golden[i]) << i;
  }
  Rebuild(savedType, savedPhys);
  SelectCpu68010();
}

}  // namespace
}  // namespace korva
