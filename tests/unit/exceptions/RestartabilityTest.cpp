// Every instruction is restartable: for each case of the guest corpus, a bus
// error is injected at each bus access in turn (the touched word is made to
// answer with a bus error until the bus-error entry is reached), the handler is
// a bare RTE, and the end state must equal the fault-free run. The same is done
// with the fault taken as an address error, and in user and trace states.
#include <gtest/gtest.h>
#include <cstdint>
#include <string>
#include <vector>
#include "bus/BusState.h"
#include "bus/Memory.h"
#include "cpu/CpuState.h"
#include "unit/support/TestMachine.h"
#include "tables/OpMap.h"

namespace korva {
namespace {

using test::Stop;
using test::TestMachine;

constexpr uint32_t kCaseTable = 0x400;
constexpr uint32_t kData = 0x6000, kDataEnd = 0x6100;
constexpr uint32_t kProgram = 0x1000, kProgramEnd = 0x1100;
constexpr uint32_t kSsp = 0x7F00, kUsp = 0x7800;

enum class Injected { BusError, AddressError };

struct State {
  uint32_t d[8], a[8], otherSp, pc;
  uint16_t sr;
  std::vector<uint16_t> data;
  bool operator==(const State&) const = default;
};

std::string Describe(const State& s) {
  char buf[400];
  snprintf(buf, sizeof buf,
           "D %08X %08X %08X %08X %08X %08X %08X %08X  A %08X %08X %08X %08X %08X %08X %08X %08X  "
           "SP' %08X PC %08X SR %04X",
           s.d[0], s.d[1], s.d[2], s.d[3], s.d[4], s.d[5], s.d[6], s.d[7], s.a[0], s.a[1], s.a[2], s.a[3], s.a[4],
           s.a[5], s.a[6], s.a[7], s.otherSp, s.pc, s.sr);
  return buf;
}

class Corpus {
 public:
  Corpus(TestMachine& m, uint16_t sr) : m_(m), sr_(sr) {}

  void Prepare(uint32_t start) {
    for (uint32_t a = kData; a < kDataEnd; a += 2) {
      const uint32_t i = (a - kData) / 2;
      m_.WriteWord(a, static_cast<uint16_t>(i * 0x1357 + 0x0246));
    }
    m_.WriteWord(0x6040, 0);       // zero divisor at (A2)
    m_.WriteLong(0x6000, 0x00102222);  // bounds around D1's low word
    m_.WriteWord(0x6010, 0x0100);  // CHK2.W bounds that D7 lies outside
    m_.WriteWord(0x6012, 0x0200);
    const uint32_t d[8] = {2, 0x11112222, 0x33334444, 0x00050007, 0x7FFF0003, 0, 0x80000000, 0x12345678};
    const uint32_t a[7] = {0x6000, 0x6020, 0x6040, 0x6060, 0x6080, 0x6080, 0x6080};
    for (int i = 0; i < 8; ++i) CpuDReg[i] = d[i];
    for (int i = 0; i < 7; ++i) CpuAReg[i] = a[i];
    m_.SetSR(0x2700);
    CpuAReg[7] = kSsp;
    CpuUSP = kUsp;
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
    for (uint32_t a = kData; a < kDataEnd; a += 2) s.data.push_back(m_.ReadWord(a));
    return s;
  }

  // Runs the case with `cell` answering a bus error from control-store word
  // `fromWord` on, until the first fault is taken. Returns whether a fault was
  // taken; `end` receives the final state.
  bool RunInjected(uint32_t start, uint64_t fromWord, uint32_t cell, Injected kind, uint64_t budget, State& end,
                   Stop& stop) {
    Prepare(start);
    for (uint64_t i = 0; i < fromWord; ++i) m_.ExecuteWord();
    m_.SetDeviceCode(cell, cell + 1, DcNothing);
    bool fired = false;
    for (uint64_t i = 0; i < budget; ++i) {
      m_.ExecuteWord();
      if (mcPC == McBusError || mcPC == McAddressError) {
        fired = true;
        if (kind == Injected::AddressError && mcPC == McBusError) mcPC = McAddressError;
        break;
      }
    }
    m_.SetDeviceCode(cell, cell + 1, DcRam);
    stop = m_.RunUntilStop(100000);
    end = Capture();
    return fired;
  }

  // Every (word, cell) injection of one case. Returns the number of faults taken.
  int Check(uint32_t start, Injected kind, const std::string& label) {
    Prepare(start);
    const uint64_t w0 = m_.WordsExecuted;
    const Stop clean = m_.RunUntilStop(100000);
    const uint64_t words = m_.WordsExecuted - w0;
    if (clean != Stop::StopInstr) {
      ADD_FAILURE() << label << ": the fault-free run ended with " << test::StopName(clean) << " after " << words
                    << " words (mcErrorPC " << mcErrorPC << ")";
      return 0;
    }
    const State expected = Capture();

    std::vector<uint32_t> cells;
    for (uint32_t a = start; a < start + 16 && a < kProgramEnd; a += 2) cells.push_back(a);
    for (uint32_t a = kData; a < kData + 0x60; a += 2) cells.push_back(a);
    for (uint32_t a = kSsp - 16; a < kSsp; a += 2) cells.push_back(a);
    for (uint32_t a = kUsp - 16; a < kUsp; a += 2) cells.push_back(a);

    int faults = 0;
    for (uint32_t cell : cells) {
      // A fault on a cell stops firing once its last access has passed.
      for (uint64_t w = 0; w < words; ++w) {
        State end;
        Stop stop;
        if (!RunInjected(start, w, cell, kind, words + 64, end, stop)) break;
        ++faults;
        EXPECT_EQ(stop, Stop::StopInstr) << label << ": cell " << std::hex << cell << " word " << std::dec << w;
        EXPECT_TRUE(end == expected) << label << ": fault on cell " << std::hex << cell << " from word " << std::dec
                                     << w << "\n  got      " << Describe(end) << "\n  expected "
                                     << Describe(expected) << (end.data == expected.data ? "" : "\n  data differs");
        if (::testing::Test::HasFailure()) return faults;
      }
    }
    return faults;
  }

  std::vector<uint32_t> Cases() const {
    std::vector<uint32_t> v;
    for (uint32_t a = kCaseTable; a < kProgram; a += 4) {
      const uint32_t c = m_.ReadLong(a);
      if (c == 0) break;
      v.push_back(c);
    }
    return v;
  }

 private:
  TestMachine& m_;
  uint16_t sr_;
};

void RunCorpus(TestMachine& m, const char* image, uint16_t sr, Injected kind) {
  ASSERT_TRUE(m.LoadSrec(image)) << image;
  Corpus corpus(m, sr);
  const std::vector<uint32_t> cases = corpus.Cases();
  ASSERT_FALSE(cases.empty());
  int total = 0;
  for (uint32_t c : cases) {
    char label[64];
    snprintf(label, sizeof label, "%s case at %04X, SR %04X", image, c, sr);
    const int faults = corpus.Check(c, kind, label);
    EXPECT_GT(faults, 0) << label;
    total += faults;
    if (::testing::Test::HasFailure()) return;
  }
  printf("%s SR %04X: %zu cases, %d faults injected\n", image, sr, cases.size(), total);
}

void SelectCpu32Tables() {
  ClearOpMap();
  ClearOpText();
  SelectCpu32();
  BuildOpMap();
  BuildExtWordTable();
}

TEST(ExcRestart, BusErrorAtEveryAccessInSupervisorUserAndTraceStates) {
  TestMachine m;
  for (uint16_t sr : {0x2700, 0x0000, 0xA700}) RunCorpus(m, "exc_corpus.s19", sr, Injected::BusError);
}

TEST(ExcRestart, AddressErrorAtEveryAccess) {
  TestMachine m;
  RunCorpus(m, "exc_corpus.s19", 0x2700, Injected::AddressError);
}

TEST(ExcRestart, Cpu32BusErrorAtEveryAccess) {
  TestMachine m;
  SelectCpu32Tables();
  RunCorpus(m, "exc_corpus.cpu32.s19", 0x2700, Injected::BusError);
  RunCorpus(m, "exc_corpus.cpu32.s19", 0x0000, Injected::AddressError);
}

}  // namespace
}  // namespace korva
