// A headless Korva machine for tests of the CPU and its micro-routines.
//
//   #include "support/TestMachine.h"
//   korva::test::TestMachine m;          // fresh machine: MC68010, supervisor state,
//                                        // SR 0x2700, all 16 MB RAM (device code 1) and
//                                        // zero, MMU identity, silent host, CPU stopped
//   m.Words(0x1000, {0x7005, 0x4E72, 0x2700});  // MOVEQ #5,D0 ; STOP #$2700
//   m.SetPC(0x1000);                     // control store at the fetch entry (80)
//   m.StepInstruction();                 // exactly one instruction -> Stop::Fetch
//   EXPECT_EQ(korva::CpuDReg[0], 5u);
//   EXPECT_EQ(m.RunUntilStop(), korva::test::Stop::StopInstr);
//
// Registers are the globals of cpu/CpuState.h (CpuDReg, CpuAReg, CpuPC, ...);
// the status register goes through SetSR / SR (stack-pointer swap included).
// Memory helpers write the cells directly (no bus cycle, no fault flags);
// big-endian like the guest. A test owns the machine for its whole duration:
// the constructor resets every global of the machine (ResetMachineState), so
// tests may run in any order. Construct at most one TestMachine at a time.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include "cpu/CpuState.h"

namespace korva::test {

// Why StepInstruction / RunUntilStop / RunWords returned.
enum class Stop {
  Fetch,          // the next word is a fetch call (normal or debugger): an instruction boundary
  Halt,           // the processor reached the halt entry (McHalt) or the idle loop (McIdle)
  InternalError,  // the processor reached the microcode-fault entry (McFault); see mcErrorPC
  StopInstr,      // the processor waits in STOP / LPSTOP (a call of 195 is next)
  NotRunning,     // CpuRunning was cleared (a counted run or a breakpoint stopped it)
  Limit,          // the word or instruction limit ran out
};
const char* StopName(Stop s);
// The processor stands at the start of a fetch word (normal or debugger fetch).
bool AtFetch();

class TestMachine {
 public:
  TestMachine();
  ~TestMachine();
  TestMachine(const TestMachine&) = delete;
  TestMachine& operator=(const TestMachine&) = delete;

  // ---- memory (physical, direct) ----
  void WriteByte(uint32_t addr, uint8_t v);
  void WriteWord(uint32_t addr, uint16_t v);  // addr even
  void WriteLong(uint32_t addr, uint32_t v);  // addr even
  uint8_t ReadByte(uint32_t addr) const;
  uint16_t ReadWord(uint32_t addr) const;
  uint32_t ReadLong(uint32_t addr) const;
  // Consecutive words from addr (a program or data).
  void Words(uint32_t addr, std::initializer_list<uint16_t> words);
  // Load an S-record file from the guest-program folder (e.g. "mov_core.s19") or
  // a full path with the machine's own loader (forced writes). Returns false when
  // the file is missing or malformed. Start address in *start when given.
  bool LoadSrec(const std::string& nameOrPath, uint32_t* start = nullptr);
  // Give the cells of [from, to] device code `code` (e.g. 6 = bus error).
  void SetDeviceCode(uint32_t from, uint32_t to, uint8_t code);

  // ---- registers ----
  // CpuPC := pc and the control store at the fetch entry (McExecute), step 1, running.
  void SetPC(uint32_t pc);
  void SetSR(uint16_t sr);  // through classCPU::SR (swaps A7 on an S change)
  uint16_t SR() const;
  // Switch the processor model (the tables are rebuilt; the next TestMachine
  // starts from the MC68010 again).
  void UseModel(CpuModel model);
  // Run the reset micro-routine (vectors at 0 and 4) and stop at the first fetch.
  Stop ResetCpu();

  // ---- execution ----
  // One control-store word, exactly as the main loop does it.
  void ExecuteWord();
  // Control-store words until the next fetch call, at least one word: one
  // instruction when started at a fetch. Stops early on halt, internal error,
  // STOP or a cleared CpuRunning.
  Stop StepInstruction(uint64_t maxWords = 1000000);
  // Instructions until anything but Fetch happens, or maxInstructions run out.
  Stop RunUntilStop(uint64_t maxInstructions = 10000000);
  uint64_t WordsExecuted = 0;
};

}  // namespace korva::test
