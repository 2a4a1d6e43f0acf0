// The host side of the guest programs' self-check protocol (tests/guest/selfcheck.inc):
//
//   TestMachine m;
//   m.UseModel(Cpu32);                                    // when not the MC68010
//   RunSelfCheckingProgram(m, "mov_cpu32.cpu32.s19", 63);  // load, reset, run to STOP
//
// The program must reach its end (DONE), fail no check and run exactly
// `expectedChecks` checks; a failure names the first failed check, the value it
// saw and its address.
#pragma once
#include <cstdint>
#include <string>
#include "support/TestMachine.h"

namespace korva::test {

// The record the protocol keeps at 0x0400.
enum SelfCheckAddr : uint32_t {
  kCheckNo = 0x0400, kFailNo = 0x0402, kFailCnt = 0x0404, kFailVal = 0x0408, kFailPc = 0x040C, kDoneAt = 0x0410,
  kFailSr = 0x041C,
};
constexpr uint32_t kDoneMark = 0x600DC0DE;

// "MC68000", "MC68010" or "CPU32".
const char* ModelName(uint16_t model);

// The record after a run that ended in the program's final STOP.
void ExpectChecksPassed(TestMachine& m, const std::string& where, uint16_t expectedChecks);

void RunSelfCheckingProgram(TestMachine& m, const std::string& image, uint16_t expectedChecks,
                            uint64_t maxInstructions = 2000000);

}  // namespace korva::test
