// MOVEM, the divides, the stack-frame routines and MOVES restart after a bus
// error at any of their accesses (the mov_restart corpora).
#include <gtest/gtest.h>

#include "unit/cpu/RestartCorpus.h"

namespace korva::movetest {
namespace {

using test::CorpusSetup;
using test::Injected;
using test::RunRestartCorpus;

const CorpusSetup kSetup = {
    {2, 0x11112222, 0x33334444, 0x00050007, 0x7FFF0003, 0xFFFFFFF9, 0x80000000, 0x12345678},
    {0x6000, 0x6040, 0x6080, 0x60C0, 0x6100, 0x6140, 0x6180},
    0x6200,
    [](test::TestMachine& m) {
      m.WriteWord(0x6000, 0x7FF0);  // divisors: a quotient that fits,
      m.WriteWord(0x6042, 0xFFFE);  // a negative one,
      m.WriteWord(0x6080, 0x1234);
      m.WriteLong(0x6010, 0);  // and zero
    },
    true};

TEST(MovesRestart, BusErrorAtEveryAccessInSupervisorAndUserStates) {
  test::TestMachine m;
  for (uint16_t sr : {0x2700, 0x0000}) RunRestartCorpus(m, "mov_restart.s19", sr, Injected::BusError, kSetup);
}

TEST(MovesRestart, Cpu32LongFormsBusErrorAtEveryAccess) {
  test::TestMachine m;
  m.UseModel(Cpu32);
  for (uint16_t sr : {0x2700, 0x0000}) RunRestartCorpus(m, "mov_restart.cpu32.s19", sr, Injected::BusError, kSetup);
}

}  // namespace
}  // namespace korva::movetest
