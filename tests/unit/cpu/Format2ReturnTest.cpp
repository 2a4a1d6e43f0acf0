// A guest program returns from the four exceptions that stack format-2 frames.
#include <gtest/gtest.h>

#include "cpu/CpuState.h"
#include "support/GuestProgram.h"
#include "support/TestMachine.h"

using namespace korva;

class Format2Return : public ::testing::TestWithParam<CpuModel> {};

TEST_P(Format2Return, EachHandlerReturns) {
  test::TestMachine m;
  m.UseModel(GetParam());
  UseFormat2Stack = True;  // after the model selection, which clears it
  test::RunSelfCheckingProgram(m, "rte_format2.s19", 5, 10000);
}

INSTANTIATE_TEST_SUITE_P(Models, Format2Return, ::testing::Values(Cpu68010, Cpu32),
                         [](const ::testing::TestParamInfo<CpuModel>& i) { return std::string(test::ModelName(i.param)); });
