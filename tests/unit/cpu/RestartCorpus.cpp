#include "unit/cpu/RestartCorpus.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bus/BusState.h"
#include "bus/Memory.h"
#include "cpu/CpuState.h"

namespace korva::test {
namespace {

constexpr uint32_t kCaseTable = 0x400, kCaseTableEnd = 0x1000, kData = 0x6000;
constexpr uint32_t kSsp = 0x7F00, kUsp = 0x7800, kStackDepth = 0x80;

struct State {
  uint32_t d[8], a[8], otherSp, pc;
  uint16_t sr;
  std::vector<uint16_t> memory;  // the data area, then (if compared) both stacks above their final pointers
  bool operator==(const State&) const = default;
};

class Corpus {
 public:
  Corpus(TestMachine& m, uint16_t sr, Injected kind, const CorpusSetup& setup)
      : m_(m), sr_(sr), kind_(kind), setup_(setup) {}

  void Prepare(uint32_t start) {
    for (uint32_t a = kData; a < setup_.DataEnd; a += 2)
      m_.WriteWord(a, static_cast<uint16_t>((a - kData) / 2 * 0x1357 + 0x0246));
    for (uint32_t a = kUsp - kStackDepth; a < kSsp; a += 2) m_.WriteWord(a, 0x5A5A);
    setup_.Special(m_);
    for (int i = 0; i < 8; ++i) CpuDReg[i] = setup_.D[i];
    for (int i = 0; i < 7; ++i) CpuAReg[i] = setup_.A[i];
    m_.SetSR(0x2700);
    CpuAReg[7] = kSsp;
    CpuUSP = kUsp;
    CpuSFC = CpuDFC = 1;
    m_.SetSR(sr_);
    ClearBusFaults();
    m_.SetPC(start);
  }

  State Capture() const {
    State s{};
    for (int i = 0; i < 8; ++i) s.d[i] = CpuDReg[i], s.a[i] = CpuAReg[i];
    s.otherSp = CpuS ? CpuUSP : CpuSSP;
    s.pc = CpuPC;
    s.sr = m_.SR();
    for (uint32_t a = kData; a < setup_.DataEnd; a += 2) s.memory.push_back(m_.ReadWord(a));
    if (!setup_.CompareStacks) return s;
    const uint32_t ssp = CpuS ? CpuAReg[7] : CpuSSP, usp = CpuS ? CpuUSP : CpuAReg[7];
    for (uint32_t a = ssp; a < kSsp && a >= kSsp - kStackDepth; a += 2) s.memory.push_back(m_.ReadWord(a));
    for (uint32_t a = usp; a < kUsp && a >= kUsp - kStackDepth; a += 2) s.memory.push_back(m_.ReadWord(a));
    return s;
  }

  // Runs the case with `cell` answering a bus error from control-store word
  // `fromWord` on. False when no access reached the cell; else the word at
  // which the fault was taken, and the state after the run to the final STOP.
  bool RunInjected(uint32_t start, uint64_t fromWord, uint32_t cell, uint64_t budget, uint64_t& firedAt,
                   State& end, Stop& stop) {
    Prepare(start);
    for (uint64_t i = 0; i < fromWord; ++i) m_.ExecuteWord();
    m_.SetDeviceCode(cell, cell + 1, DcNothing);
    bool fired = false;
    for (uint64_t i = fromWord; i < budget && !fired; ++i) {
      m_.ExecuteWord();
      if (mcPC == McBusError || mcPC == McAddressError) {
        fired = true;
        firedAt = i;
        if (kind_ == Injected::AddressError) mcPC = McAddressError;
      }
    }
    m_.SetDeviceCode(cell, cell + 1, DcRam);
    if (!fired) return false;
    stop = m_.RunUntilStop(100000);
    end = Capture();
    return true;
  }

  // Every access of one case. Returns the number of faults taken.
  int Check(uint32_t start, const std::string& label) {
    Prepare(start);
    const uint64_t w0 = m_.WordsExecuted;
    const Stop clean = m_.RunUntilStop(100000);
    const uint64_t words = m_.WordsExecuted - w0;
    if (clean != Stop::StopInstr) {
      ADD_FAILURE() << label << ": the fault-free run ended with " << StopName(clean) << " (mcErrorPC "
                    << mcErrorPC << ")";
      return 0;
    }
    const State expected = Capture();
    std::vector<uint32_t> cells;
    for (uint32_t a = start; a < start + 16; a += 2) cells.push_back(a);
    for (uint32_t a = kData; a < setup_.DataEnd; a += 2) cells.push_back(a);
    for (uint32_t a = kSsp - kStackDepth; a < kSsp; a += 2) cells.push_back(a);
    for (uint32_t a = kUsp - kStackDepth; a < kUsp; a += 2) cells.push_back(a);

    int faults = 0;
    for (uint32_t cell : cells) {
      // Faulting from any word up to the one that took the fault gives the same
      // run, so the next try starts just after it: one run per access.
      uint64_t from = 0, firedAt = 0;
      State end;
      Stop stop;
      while (from < words && RunInjected(start, from, cell, words + 64, firedAt, end, stop)) {
        ++faults;
        EXPECT_EQ(stop, Stop::StopInstr) << label << ": cell " << std::hex << cell;
        EXPECT_TRUE(end == expected) << label << ": fault on cell 0x" << std::hex << cell << " at word " << std::dec
                                     << firedAt << ", resumed at step " << int(FaultMcStage)
                                     << (end.memory == expected.memory ? "" : " (memory differs)") << ", PC 0x"
                                     << std::hex << end.pc << " expected 0x" << expected.pc;
        if (::testing::Test::HasFailure()) return faults;
        from = firedAt + 1;
      }
    }
    return faults;
  }

 private:
  TestMachine& m_;
  uint16_t sr_;
  Injected kind_;
  const CorpusSetup& setup_;
};

}  // namespace

void RunRestartCorpus(TestMachine& m, const char* image, uint16_t sr, Injected kind, const CorpusSetup& setup) {
  ASSERT_TRUE(m.LoadSrec(image)) << image;
  Corpus corpus(m, sr, kind, setup);
  int cases = 0;
  for (uint32_t a = kCaseTable; a < kCaseTableEnd && m.ReadLong(a) != 0; a += 4, ++cases) {
    char label[80];
    std::snprintf(label, sizeof label, "%s case at %04X, SR %04X", image, m.ReadLong(a), sr);
    EXPECT_GT(corpus.Check(m.ReadLong(a), label), 0) << label;
    if (::testing::Test::HasFailure()) return;
  }
  EXPECT_GT(cases, 0) << image;
}

}  // namespace korva::test
