#include "support/TestMachine.h"

#include <fstream>
#include <vector>

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

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
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
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (line.empty()) continue;
    if (line.size() < 4 || line[0] != 'S') return false;
    const char type = line[1];
    std::vector<uint8_t> bytes;
    for (size_t i = 2; i + 1 < line.size(); i += 2) {
      const int h = HexDigit(line[i]), l = HexDigit(line[i + 1]);
      if (h < 0 || l < 0) return false;
      bytes.push_back(static_cast<uint8_t>(h * 16 + l));
    }
    if (bytes.empty() || bytes[0] + 1u != bytes.size()) return false;
    uint8_t sum = 0;
    for (uint8_t b : bytes) sum = static_cast<uint8_t>(sum + b);
    if (sum != 0xFF) return false;
    int addrLen = 0;
    bool data = false, term = false;
    switch (type) {
      case '0': continue;
      case '1': addrLen = 2; data = true; break;
      case '2': addrLen = 3; data = true; break;
      case '3': addrLen = 4; data = true; break;
      case '5': case '6': continue;
      case '7': addrLen = 4; term = true; break;
      case '8': addrLen = 3; term = true; break;
      case '9': addrLen = 2; term = true; break;
      default: return false;
    }
    if (bytes.size() < static_cast<size_t>(addrLen) + 2) return false;
    uint32_t addr = 0;
    for (int i = 0; i < addrLen; ++i) addr = (addr << 8) | bytes[1 + static_cast<size_t>(i)];
    if (term) {
      if (start) *start = addr;
      continue;
    }
    if (data)
      for (size_t i = 1 + static_cast<size_t>(addrLen); i + 1 < bytes.size(); ++i) WriteByte(addr++, bytes[i]);
  }
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
