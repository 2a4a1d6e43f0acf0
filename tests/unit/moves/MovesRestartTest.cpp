// End-to-end restartability of MOVEM, the divides, the stack-frame routines and
// MOVES: for every case of the mov_restart corpora, a bus error is injected at
// each bus access in turn (the touched word answers with a bus error from a given
// control-store word on, until the fault is taken), the handler is a bare RTE,
// and the end state must equal the fault-free run.
#include <cstdio>
#include <vector>
#include "bus/Memory.h"
#include "unit/moves/GuestRun.h"

namespace korva::movetest {
namespace {

constexpr uint32_t kCaseTable = 0x400, kCaseTableEnd = 0x1000;
constexpr uint32_t kData = 0x6000, kDataEnd = 0x6200;
constexpr uint32_t kSsp = 0x7F00, kUsp = 0x7800, kStackDepth = 0x80;

struct State {
  uint32_t d[8], a[8], otherSp, pc;
  uint16_t sr;
  std::vector<uint16_t> memory;  // the data area, then both stacks above their final pointers
  bool operator==(const State&) const = default;
};

class RestartCorpus {
 public:
  RestartCorpus(test::TestMachine& m, uint16_t sr) : m_(m), sr_(sr) {}

  void Prepare(uint32_t start) {
    for (uint32_t a = kData; a < kDataEnd; a += 2) m_.WriteWord(a, static_cast<uint16_t>((a - kData) / 2 * 0x1357 + 0x0246));
    for (uint32_t a = kUsp - kStackDepth; a < kSsp; a += 2) m_.WriteWord(a, 0x5A5A);
    m_.WriteWord(0x6000, 0x7FF0);   // divisors: a quotient that fits,
    m_.WriteWord(0x6042, 0xFFFE);   // a negative one,
    m_.WriteWord(0x6080, 0x1234);
    m_.WriteLong(0x6010, 0);        // and zero
    const uint32_t d[8] = {2, 0x11112222, 0x33334444, 0x00050007, 0x7FFF0003, 0xFFFFFFF9, 0x80000000, 0x12345678};
    const uint32_t a[7] = {0x6000, 0x6040, 0x6080, 0x60C0, 0x6100, 0x6140, 0x6180};
    for (int i = 0; i < 8; ++i) CpuDReg[i] = d[i];
    for (int i = 0; i < 7; ++i) CpuAReg[i] = a[i];
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
    for (uint32_t a = kData; a < kDataEnd; a += 2) s.memory.push_back(m_.ReadWord(a));
    const uint32_t ssp = CpuS ? CpuAReg[7] : CpuSSP, usp = CpuS ? CpuUSP : CpuAReg[7];
    for (uint32_t a = ssp; a < kSsp && a >= kSsp - kStackDepth; a += 2) s.memory.push_back(m_.ReadWord(a));
    for (uint32_t a = usp; a < kUsp && a >= kUsp - kStackDepth; a += 2) s.memory.push_back(m_.ReadWord(a));
    return s;
  }

  // Runs the case with `cell` answering a bus error from control-store word
  // `fromWord` on. Returns false when no access reached the cell; else the word
  // at which the fault was taken, and the state after the run to the final STOP.
  bool RunInjected(uint32_t start, uint64_t fromWord, uint32_t cell, uint64_t budget, uint64_t& firedAt,
                   State& end, test::Stop& stop) {
    Prepare(start);
    for (uint64_t i = 0; i < fromWord; ++i) m_.ExecuteWord();
    m_.SetDeviceCode(cell, cell + 1, DcNothing);
    bool fired = false;
    for (uint64_t i = fromWord; i < budget; ++i) {
      m_.ExecuteWord();
      if (mcPC == McBusError) {
        fired = true;
        firedAt = i;
        break;
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
    const test::Stop clean = m_.RunUntilStop(100000);
    const uint64_t words = m_.WordsExecuted - w0;
    if (clean != test::Stop::StopInstr) {
      ADD_FAILURE() << label << ": the fault-free run ended with " << test::StopName(clean);
      return 0;
    }
    const State expected = Capture();

    std::vector<uint32_t> cells;
    for (uint32_t a = start; a < start + 16; a += 2) cells.push_back(a);
    for (uint32_t a = kData; a < kDataEnd; a += 2) cells.push_back(a);
    for (uint32_t a = kSsp - kStackDepth; a < kSsp; a += 2) cells.push_back(a);
    for (uint32_t a = kUsp - kStackDepth; a < kUsp; a += 2) cells.push_back(a);

    int faults = 0;
    for (uint32_t cell : cells) {
      // Faulting from any word up to the one that took the fault gives the same
      // run, so the next try starts just after it: one run per access.
      uint64_t from = 0, firedAt = 0;
      State end;
      test::Stop stop;
      while (from < words && RunInjected(start, from, cell, words + 64, firedAt, end, stop)) {
        ++faults;
        EXPECT_EQ(stop, test::Stop::StopInstr) << label << ": cell " << std::hex << cell;
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

  std::vector<uint32_t> Cases() const {
    std::vector<uint32_t> v;
    for (uint32_t a = kCaseTable; a < kCaseTableEnd; a += 4) {
      const uint32_t c = m_.ReadLong(a);
      if (c == 0) break;
      v.push_back(c);
    }
    return v;
  }

 private:
  test::TestMachine& m_;
  uint16_t sr_;
};

void RunCorpus(test::TestMachine& m, const char* image, uint16_t sr) {
  ASSERT_TRUE(m.LoadSrec(image)) << image;
  RestartCorpus corpus(m, sr);
  const std::vector<uint32_t> cases = corpus.Cases();
  ASSERT_FALSE(cases.empty());
  for (uint32_t c : cases) {
    char label[80];
    snprintf(label, sizeof label, "%s case at %04X, SR %04X", image, c, sr);
    EXPECT_GT(corpus.Check(c, label), 0) << label;
    if (::testing::Test::HasFailure()) return;
  }
}

TEST(MovesRestart, BusErrorAtEveryAccessInSupervisorAndUserStates) {
  test::TestMachine m;
  UseModel(Cpu68010);
  for (uint16_t sr : {0x2700, 0x0000}) RunCorpus(m, "mov_restart.s19", sr);
}

TEST(MovesRestart, Cpu32LongFormsBusErrorAtEveryAccess) {
  test::TestMachine m;
  ModelGuard guard;
  UseModel(Cpu32);
  RunCorpus(m, "mov_restart.cpu32.s19", 0x2700);
  RunCorpus(m, "mov_restart.cpu32.s19", 0x0000);
}

}  // namespace
}  // namespace korva::movetest
