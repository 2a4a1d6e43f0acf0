// The ALU guest programs, run on each processor model. Every program checks the
// value and the flags each instruction leaves (tests/guest/alu_operands.inc).
#include <gtest/gtest.h>
#include <cctype>
#include <string>
#include <tuple>
#include "support/GuestProgram.h"

namespace korva::test {
namespace {

struct AluProgram {
  const char* Image;
  uint16_t Checks;
};

std::string Name(const ::testing::TestParamInfo<std::tuple<AluProgram, CpuModel>>& info) {
  std::string name = std::string(std::get<0>(info.param).Image) + "_" + ModelName(std::get<1>(info.param));
  for (char& c : name)
    if (!isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

class AluGuest : public ::testing::TestWithParam<std::tuple<AluProgram, CpuModel>> {};

TEST_P(AluGuest, EveryCheckHolds) {
  const auto& [program, model] = GetParam();
  TestMachine m;
  m.UseModel(model);
  RunSelfCheckingProgram(m, program.Image, program.Checks);
}

INSTANTIATE_TEST_SUITE_P(AllModels, AluGuest,
                         ::testing::Combine(::testing::Values(AluProgram{"alu_addsub.s19", 408}, AluProgram{"alu_logic.s19", 310},
                                                              AluProgram{"alu_shift.s19", 110}, AluProgram{"alu_bit.s19", 74},
                                                              AluProgram{"alu_bcd.s19", 46}),
                                            ::testing::Values(Cpu68000, Cpu68010, Cpu32)),
                         Name);
INSTANTIATE_TEST_SUITE_P(Cpu32Only, AluGuest,
                         ::testing::Values(std::make_tuple(AluProgram{"alu_cpu32.cpu32.s19", 18}, Cpu32)), Name);

}  // namespace
}  // namespace korva::test
