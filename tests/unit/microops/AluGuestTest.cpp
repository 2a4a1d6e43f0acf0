// The ALU guest programs, run on each processor model. Every program records
// (value found, SR) beside (value expected, flags expected) after each checked
// instruction; see tests/guest/alu_common.inc.
#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include <tuple>
#include "cpu/CpuState.h"
#include "unit/microops/GuestRun.h"

namespace korva::alutest {
namespace {

using test::Stop;
using test::TestMachine;

constexpr uint32_t kResults = 0x20000;
constexpr uint32_t kFaultMark = 0x520;

std::string Hex(uint32_t v) {
  char b[12];
  std::snprintf(b, sizeof b, "%08X", v);
  return b;
}

void RunProgram(const char* program, uint16_t model) {
  TestMachine m;
  movetest::ModelGuard guard;
  movetest::UseModel(model);
  ASSERT_TRUE(m.LoadSrec(program)) << program;
  ASSERT_EQ(m.ResetCpu(), Stop::Fetch);
  ASSERT_EQ(m.RunUntilStop(), Stop::StopInstr) << "mcErrorPC " << mcErrorPC;
  ASSERT_EQ(m.ReadLong(kFaultMark), 0u) << "unexpected exception, stacked PC " << Hex(m.ReadLong(kFaultMark + 4));
  const uint32_t end = CpuAReg[6];
  ASSERT_GT(end, kResults);
  ASSERT_EQ((end - kResults) % 16, 0u);
  int failures = 0;
  for (uint32_t r = kResults; r < end && failures < 20; r += 16) {
    const uint32_t at = m.ReadLong(r), found = m.ReadLong(r + 4), want = m.ReadLong(r + 10);
    const uint16_t ccr = m.ReadWord(r + 8) & 0x1F, wantCcr = m.ReadWord(r + 14);
    if (found != want || ccr != wantCcr) {
      ++failures;
      ADD_FAILURE() << program << " check at " << Hex(at) << ": value " << Hex(found) << " expected " << Hex(want)
                    << ", flags " << Hex(ccr) << " expected " << Hex(wantCcr);
    }
  }
}

class AluGuest : public ::testing::TestWithParam<std::tuple<const char*, uint16_t>> {};

TEST_P(AluGuest, EveryCheckHolds) { RunProgram(std::get<0>(GetParam()), std::get<1>(GetParam())); }

INSTANTIATE_TEST_SUITE_P(AllModels, AluGuest,
                         ::testing::Combine(::testing::Values("alu_addsub.s19", "alu_logic.s19", "alu_shift.s19",
                                                              "alu_bit.s19", "alu_bcd.s19"),
                                            ::testing::Values(Cpu68000, Cpu68010, Cpu32)));
INSTANTIATE_TEST_SUITE_P(Cpu32Only, AluGuest,
                         ::testing::Values(std::make_tuple("alu_cpu32.cpu32.s19", uint16_t{Cpu32})));

}  // namespace
}  // namespace korva::alutest
