// Running the self-checking mov_*.s guest programs: model selection, the run
// to the final STOP, and the check record the programs leave in memory
// (see tests/guest/mov_macros.inc).
#pragma once
#include <gtest/gtest.h>
#include <cstdint>
#include <string>
#include "cpu/CpuState.h"
#include "tables/OpMap.h"
#include "support/TestMachine.h"

namespace korva::movetest {

enum GuestAddr : uint32_t {
  kCheckNo = 0x0400, kFailNo = 0x0402, kFailCnt = 0x0404, kFailVal = 0x0408,
  kExcCnt = 0x0410, kFailPc = 0x0424, kResults = 0x4800, kDoneMagic = kResults + 0x3C,
};
constexpr uint32_t kDone = 0x600DC0DE;

// Switch the processor model, rebuilding the tables as the CPU menu does.
inline void UseModel(uint16_t model) {
  if (model == CpuType) return;
  if (model != Cpu32 && CpuType != Cpu32) {
    if (model == Cpu68000) SelectCpu68000(); else SelectCpu68010();
    MapMoveFromSr();
    return;
  }
  ClearOpMap();
  ClearOpText();
  if (model == Cpu32) SelectCpu32(); else if (model == Cpu68000) SelectCpu68000(); else SelectCpu68010();
  BuildOpMap();
  BuildExtWordTable();
}

// Puts the MC68010 tables back when a test that switched models ends.
struct ModelGuard {
  ~ModelGuard() { UseModel(Cpu68010); }
};

inline const char* ModelName(uint16_t model) {
  return model == Cpu68000 ? "MC68000" : model == Cpu32 ? "CPU32" : "MC68010";
}

// Load `image`, reset through its vectors and run to the final STOP; every
// self-check must have passed.
inline void RunSelfChecking(test::TestMachine& m, const std::string& image, uint16_t model,
                            uint16_t expectedChecks) {
  UseModel(model);
  ASSERT_TRUE(m.LoadSrec(image)) << image;
  ASSERT_EQ(m.ResetCpu(), test::Stop::Fetch);
  const test::Stop stop = m.RunUntilStop(2000000);
  const std::string where = image + " on the " + ModelName(model);
  ASSERT_EQ(stop, test::Stop::StopInstr) << where << ": " << test::StopName(stop) << " at PC " << std::hex
                                         << CpuPC << ", mcErrorPC " << mcErrorPC << ", check "
                                         << std::dec << m.ReadWord(kCheckNo);
  EXPECT_EQ(m.ReadLong(kDoneMagic), kDone) << where << ": stopped early at PC " << std::hex << CpuPC
                                           << " after check " << std::dec << m.ReadWord(kCheckNo);
  EXPECT_EQ(m.ReadWord(kFailNo), 0) << where << ": first failed check " << m.ReadWord(kFailNo) << " saw 0x"
                                    << std::hex << m.ReadLong(kFailVal) << " before 0x" << m.ReadLong(kFailPc) << std::dec << " ("
                                    << m.ReadWord(kFailCnt) << " failed)";
  EXPECT_EQ(m.ReadWord(kFailCnt), 0) << where;
  EXPECT_EQ(m.ReadWord(kCheckNo), expectedChecks) << where << ": checks run";
}

}  // namespace korva::movetest
