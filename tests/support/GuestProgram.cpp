#include "support/GuestProgram.h"

#include <gtest/gtest.h>
#include "cpu/CpuState.h"

namespace korva::test {

const char* ModelName(uint16_t model) {
  return model == Cpu68000 ? "MC68000" : model == Cpu32 ? "CPU32" : "MC68010";
}

void RunSelfCheckingProgram(TestMachine& m, const std::string& image, uint16_t expectedChecks,
                            uint64_t maxInstructions) {
  const std::string where = image + " on the " + ModelName(CpuType);
  ASSERT_TRUE(m.LoadSrec(image)) << image;
  ASSERT_EQ(m.ResetCpu(), Stop::Fetch) << where;
  const Stop stop = m.RunUntilStop(maxInstructions);
  ASSERT_EQ(stop, Stop::StopInstr) << where << ": " << StopName(stop) << " at PC " << std::hex << CpuPC
                                   << ", mcErrorPC " << mcErrorPC << ", check " << std::dec << m.ReadWord(kCheckNo);
  ExpectChecksPassed(m, where, expectedChecks);
}

void ExpectChecksPassed(TestMachine& m, const std::string& where, uint16_t expectedChecks) {
  if (m.ReadWord(kFailNo) == 0xFFFF)
    ADD_FAILURE() << where << ": an unexpected exception, stacked PC 0x" << std::hex << m.ReadLong(kFailPc);
  EXPECT_EQ(m.ReadWord(kFailCnt), 0) << where << ": first failed check " << m.ReadWord(kFailNo) << " at 0x"
                                     << std::hex << m.ReadLong(kFailPc) << " saw 0x" << m.ReadLong(kFailVal)
                                     << ", flags 0x" << m.ReadWord(kFailSr) << std::dec << "; "
                                     << m.ReadWord(kFailCnt) << " failed";
  EXPECT_EQ(m.ReadLong(kDoneAt), kDoneMark) << where << ": stopped early at PC " << std::hex << CpuPC
                                            << " after check " << std::dec << m.ReadWord(kCheckNo);
  EXPECT_EQ(m.ReadWord(kCheckNo), expectedChecks) << where << ": checks run";
}

}  // namespace korva::test
