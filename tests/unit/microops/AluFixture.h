// Shared fixture of the ALU micro-routine tests: one hand-filled opcode-map
// entry, each routine run as the step at control-store address kStep.
#pragma once
#include <gtest/gtest.h>
#include <cstdint>
#include "cpu/CpuState.h"
#include "cpu/Microroutines.h"

namespace korva::alutest {

enum : uint8_t { X = 0x10, N = 8, Z = 4, V = 2, C = 1 };

class AluTest : public ::testing::Test {
 public:
  static constexpr uint32_t kOpcode = 0xA5A5;
  static constexpr uint32_t kStep = 1234;

  static OpMapEntry& Op() { return OpMap[kOpcode]; }
  static void SetCcr(uint8_t v) {
    CpuX = ToFlag(v & X);
    CpuN = ToFlag(v & N);
    CpuZ = ToFlag(v & Z);
    CpuV = ToFlag(v & V);
    CpuC = ToFlag(v & C);
  }
  static uint8_t Ccr() {
    return static_cast<uint8_t>((CpuX & X) | (CpuN & N) | (CpuZ & Z) | (CpuV & V) | (CpuC & C));
  }
  static bool FlagsWellFormed() {
    for (uint16_t f : {CpuX, CpuN, CpuZ, CpuV, CpuC})
      if (f != 0 && f != 0xFFFF) return false;
    return true;
  }
  static void Run(void (*routine)()) {
    mcPC = kStep;
    mcStage = 1;
    routine();
  }

 protected:
  void SetUp() override {
    saved_ = OpMap[kOpcode];
    OpMap[kOpcode] = OpMapEntry{};
    CpuOpcode = kOpcode;
    mcErrorPC = 0;
    CpuTracePending = False;
    HipPending = 0;
    for (int i = 0; i < 8; ++i) CpuDReg[i] = CpuAReg[i] = 0;
    CpuSop = CpuDop = 0;
    SetCcr(0);
  }
  void TearDown() override {
    OpMap[kOpcode] = saved_;
    HipPending = 0;
  }

 private:
  OpMapEntry saved_{};
};

}  // namespace korva::alutest
