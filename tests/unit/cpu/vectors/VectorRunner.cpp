#include "unit/cpu/vectors/VectorRunner.h"

#include <algorithm>
#include <cstdio>

#include "bus/BusCycles.h"
#include "bus/BusState.h"
#include "bus/Exceptions.h"
#include "cpu/ControlStore.h"
#include "cpu/CpuState.h"
#include "cpu/classCPU.h"

namespace korva::vectors {

namespace {
constexpr uint64_t kWordLimit = 200000;  // far beyond any one instruction and its exception
constexpr uint32_t kWordAddress = 0xFFFFFE;

// The word addresses the CPU wrote during the current vector.
std::vector<uint32_t> written;
void RecordWrite(uint32_t physical) { written.push_back(physical & kWordAddress); }
}  // namespace

std::string FieldName(Field f) {
  static const char* const names[] = {"D0", "D1", "D2", "D3", "D4", "D5", "D6", "D7", "A0", "A1", "A2",
                                      "A3", "A4", "A5", "A6", "USP", "SSP", "SR", "PC", "mem", "run", "write"};
  return names[static_cast<int>(f)];
}

std::string DescribeDifference(const Difference& d) {
  char b[96];
  if (d.What == Field::Mem)
    std::snprintf(b, sizeof b, "mem[%06X] %04X, expected %04X", d.Address, d.Got, d.Expected);
  else if (d.What == Field::Write)
    std::snprintf(b, sizeof b, "write to mem[%06X] (not in the final memory), now %04X", d.Address, d.Got);
  else if (d.What == Field::Run)
    std::snprintf(b, sizeof b, "stopped as %s (mcErrorPC %u)", test::StopName(static_cast<test::Stop>(d.Got)),
                  d.Address);
  else
    std::snprintf(b, sizeof b, "%s %08X, expected %08X", FieldName(d.What).c_str(), d.Got, d.Expected);
  return b;
}

VectorRunner::VectorRunner(test::TestMachine& m) : m_(m) {
  m_.UseModel(Cpu68000);
}

VectorRunner::~VectorRunner() {
  m_.UseModel(Cpu68010);
}

void VectorRunner::Load(const VectorState& s) {
  for (const MemWord& w : s.Ram) m_.WriteWord(w.Address & ~1u, w.Word);
  const uint32_t start = s.PC - 4;
  m_.WriteWord(start, static_cast<uint16_t>(s.Prefetch[0]));
  m_.WriteWord(start + 2, static_cast<uint16_t>(s.Prefetch[1]));
  for (int i = 0; i < 8; ++i) CpuDReg[i] = s.D[i];
  for (int i = 0; i < 7; ++i) CpuAReg[i] = s.A[i];
  // User state first, then the status register: its S bit swaps A7 to the SSP.
  CpuS = False;
  CpuAReg[7] = s.USP;
  CpuUSP = s.USP;
  CpuSSP = s.SSP;
  Cpu.SR(static_cast<uint16_t>(s.SR));
  CpuVBR = CpuSFC = CpuDFC = 0;
  CpuTracePending = CpuTrapvPending = CpuChkPending = CpuZeroDivide = False;
  ClearBusFaults();
  Exceptions.Reset();
  m_.SetPC(start);
}

void VectorRunner::Compare(const VectorState& s, std::vector<Difference>* out) const {
  auto check = [out](Field f, uint32_t want, uint32_t got) {
    if (want != got) out->push_back({f, 0, want, got});
  };
  for (int i = 0; i < 8; ++i) check(static_cast<Field>(static_cast<int>(Field::D0) + i), s.D[i], CpuDReg[i]);
  for (int i = 0; i < 7; ++i) check(static_cast<Field>(static_cast<int>(Field::A0) + i), s.A[i], CpuAReg[i]);
  const uint32_t usp = CpuS ? CpuUSP : CpuAReg[7];
  const uint32_t ssp = CpuS ? CpuAReg[7] : CpuSSP;
  check(Field::USP, s.USP, usp);
  check(Field::SSP, s.SSP, ssp);
  check(Field::SR, s.SR, Cpu.SR());
  check(Field::PC, s.PC - 4, CpuPC);
  for (const MemWord& w : s.Ram) {
    const uint16_t got = m_.ReadWord(w.Address & ~1u);
    if (got != w.Word) out->push_back({Field::Mem, w.Address & ~1u, w.Word, got});
  }
}

void VectorRunner::Clear(const VectorTest& t) {
  for (uint32_t a : written) m_.WriteWord(a, 0);
  for (const VectorState* s : {&t.Initial, &t.Final}) {
    for (const MemWord& w : s->Ram) m_.WriteWord(w.Address & ~1u, 0);
    m_.WriteWord(s->PC - 4, 0);
    m_.WriteWord(s->PC - 2, 0);
  }
}

// Control-store words from the instruction's fetch to the end of the instruction.
// The vectors end where the MC68000 would begin a trace exception, so the run
// stops before the tail's trace step; the exceptions the instruction itself
// raises are part of it. The MC68000 fetches the target of a jump within the
// jump, so an odd target's address error belongs to this instruction too.
test::Stop VectorRunner::Execute() {
  for (uint64_t n = 0; n < kWordLimit; ++n) {
    if (n > 0 && test::AtFetch() && !(CpuPC & 1)) return test::Stop::Fetch;
    if (CpuTracePending && CallsAt(mcPC, Mcr::mcrTraceException)) return test::Stop::Fetch;
    m_.ExecuteWord();
    if (mcPC == McFault) return test::Stop::InternalError;
    if (mcPC == McHalt || mcPC == McIdle || mcPC == McIdle + 1) return test::Stop::Halt;
    if (CallsAt(mcPC, Mcr::mcrStopWait)) return test::Stop::StopInstr;
  }
  return test::Stop::Limit;
}

std::vector<Difference> VectorRunner::Run(const VectorTest& t) {
  std::vector<Difference> diffs;
  Load(t.Initial);
  written.clear();
  BusWriteWatch = RecordWrite;
  const test::Stop stop = Execute();
  BusWriteWatch = nullptr;
  if (stop != test::Stop::Fetch && stop != test::Stop::StopInstr)
    diffs.push_back({Field::Run, mcErrorPC, static_cast<uint32_t>(test::Stop::Fetch), static_cast<uint32_t>(stop)});
  Compare(t.Final, &diffs);
  std::sort(written.begin(), written.end());
  written.erase(std::unique(written.begin(), written.end()), written.end());
  for (uint32_t a : written) {
    const bool listed = std::any_of(t.Final.Ram.begin(), t.Final.Ram.end(),
                                    [a](const MemWord& w) { return (w.Address & kWordAddress) == a; });
    if (!listed) diffs.push_back({Field::Write, a, 0, m_.ReadWord(a)});
  }
  Clear(t);
  return diffs;
}

}  // namespace korva::vectors
