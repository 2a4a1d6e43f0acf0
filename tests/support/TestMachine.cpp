#include "support/TestMachine.h"

#include "bus/Loaders.h"
#include "bus/Memory.h"
#include "cpu/ControlStore.h"
#include "cpu/DebuggerHooks.h"
#include "cpu/FetchDecode.h"
#include "cpu/MainLoop.h"
#include "cpu/Startup.h"
#include "cpu/classCPU.h"
#include "host/Host.h"
#include "shell/MainFormHooks.h"

namespace korva::test {

const char* StopName(Stop s) {
  switch (s) {
    case Stop::Fetch: return "Fetch";
    case Stop::Halt: return "Halt";
    case Stop::InternalError: return "InternalError";
    case Stop::StopInstr: return "StopInstr";
    case Stop::NotRunning: return "NotRunning";
    case Stop::Limit: return "Limit";
  }
  return "?";
}

bool AtFetch() {
  return mcStage == 1 && (CallsAt(mcPC, Mcr::mcrFetchDecode) || CallsAt(mcPC, Mcr::mcrFetchDecodeDebug));
}

namespace {

// Where the processor stands between two words, when it is not simply running.
bool Stopped(Stop& why) {
  if (mcPC == McFault) {
    why = Stop::InternalError;
    return true;
  }
  if (mcPC == McHalt || mcPC == McIdle || mcPC == McIdle + 1) {
    why = Stop::Halt;
    return true;
  }
  if (CallsAt(mcPC, Mcr::mcrStopWait)) {
    why = Stop::StopInstr;
    return true;
  }
  if (!CpuRunning) {
    why = Stop::NotRunning;
    return true;
  }
  return false;
}
}  // namespace

TestMachine::TestMachine() {
  SetHost(nullptr);
  SetMainForm(nullptr);
  DebuggerHook = DebuggerHooks{};
  ResetMachineState();
  for (auto& c : RamArray) c = MemoryCell{0, DcRam, 0};
  Cpu.SR(0x2700);
  mcPC = McIdle;
}

void TestMachine::UseModel(CpuModel model) { SelectCpuModel(model); }

TestMachine::~TestMachine() {
  SetHost(nullptr);
  SetMainForm(nullptr);
  DebuggerHook = DebuggerHooks{};
  McrActive = false;
  ControlLatch = 0;
  CpuRunning = False;
}

void TestMachine::WriteByte(uint32_t addr, uint8_t v) {
  MemoryCell& c = CellOf(addr);
  c.Data = (addr & 1) ? static_cast<uint16_t>((c.Data & 0xFF00) | v) : static_cast<uint16_t>((c.Data & 0xFF) | (v << 8));
}
void TestMachine::WriteWord(uint32_t addr, uint16_t v) { CellOf(addr).Data = v; }
void TestMachine::WriteLong(uint32_t addr, uint32_t v) {
  WriteWord(addr, static_cast<uint16_t>(v >> 16));
  WriteWord(addr + 2, static_cast<uint16_t>(v));
}
uint8_t TestMachine::ReadByte(uint32_t addr) const {
  const uint16_t d = CellOf(addr).Data;
  return static_cast<uint8_t>((addr & 1) ? d : d >> 8);
}
uint16_t TestMachine::ReadWord(uint32_t addr) const { return CellOf(addr).Data; }
uint32_t TestMachine::ReadLong(uint32_t addr) const {
  return (static_cast<uint32_t>(ReadWord(addr)) << 16) | ReadWord(addr + 2);
}
void TestMachine::Words(uint32_t addr, std::initializer_list<uint16_t> words) {
  for (uint16_t w : words) {
    WriteWord(addr, w);
    addr += 2;
  }
}

void TestMachine::SetDeviceCode(uint32_t from, uint32_t to, uint8_t code) {
  for (uint32_t a = from & ~1u; a <= to; a += 2) {
    CellOf(a).Device = code;
    if (a == 0xFFFFFFFEu) break;
  }
}

bool TestMachine::LoadSrec(const std::string& nameOrPath, uint32_t* start) {
  std::string path = nameOrPath;
  if (path.find('/') == std::string::npos) path = std::string(KORVA_GUEST_DIR) + "/" + path;
  if (!LoadSrecFile(path, False, False)) return false;
  if (start && LoadStartValid) *start = LoadStartAddress;
  return true;
}

void TestMachine::SetPC(uint32_t pc) {
  CpuPC = pc;
  mcPC = McExecute;
  mcStage = 1;
  CpuRunning = True;
}

void TestMachine::SetSR(uint16_t sr) { Cpu.SR(sr); }
uint16_t TestMachine::SR() const { return Cpu.SR(); }

Stop TestMachine::ResetCpu() {
  mcPC = McReset;
  mcStage = 1;
  CpuRunning = True;
  return StepInstruction();
}

void TestMachine::ExecuteWord() {
  McrActive = true;
  StepControlStore();
  McrActive = false;
  if (ControlLatch) ApplyControlLatch();
  ++WordsExecuted;
}

Stop TestMachine::StepInstruction(uint64_t maxWords) {
  Stop why;
  for (uint64_t n = 0; n < maxWords; ++n) {
    ExecuteWord();
    if (Stopped(why)) return why;
    if (AtFetch()) return Stop::Fetch;
  }
  return Stop::Limit;
}

Stop TestMachine::RunUntilStop(uint64_t maxInstructions) {
  for (uint64_t n = 0; n < maxInstructions; ++n) {
    const Stop s = StepInstruction();
    if (s != Stop::Fetch) return s;
  }
  return Stop::Limit;
}

}  // namespace korva::test
