// Every instruction of the exception corpus restarts after a bus error or an
// address error at any of its accesses, in supervisor, user and trace states.
#include <gtest/gtest.h>

#include "cpu/CpuState.h"
#include "unit/cpu/RestartCorpus.h"

namespace korva::test {
namespace {

const CorpusSetup kSetup = {
    {2, 0x11112222, 0x33334444, 0x00050007, 0x7FFF0003, 0, 0x80000000, 0x12345678},
    {0x6000, 0x6020, 0x6040, 0x6060, 0x6080, 0x6080, 0x6080},
    0x6100,
    [](TestMachine& m) {
      m.WriteWord(0x6040, 0);           // zero divisor at (A2)
      m.WriteLong(0x6000, 0x00102222);  // bounds around D1's low word
      m.WriteWord(0x6010, 0x0100);      // CHK2.W bounds that D7 lies outside
      m.WriteWord(0x6012, 0x0200);
    },
    false};

TEST(ExcRestart, BusErrorAtEveryAccessInSupervisorUserAndTraceStates) {
  TestMachine m;
  for (uint16_t sr : {0x2700, 0x0000, 0xA700}) RunRestartCorpus(m, "exc_corpus.s19", sr, Injected::BusError, kSetup);
}

TEST(ExcRestart, AddressErrorAtEveryAccess) {
  TestMachine m;
  RunRestartCorpus(m, "exc_corpus.s19", 0x2700, Injected::AddressError, kSetup);
}

TEST(ExcRestart, Cpu32BusErrorAtEveryAccess) {
  TestMachine m;
  m.UseModel(Cpu32);
  RunRestartCorpus(m, "exc_corpus.cpu32.s19", 0x2700, Injected::BusError, kSetup);
  RunRestartCorpus(m, "exc_corpus.cpu32.s19", 0x0000, Injected::AddressError, kSetup);
}

}  // namespace
}  // namespace korva::test
