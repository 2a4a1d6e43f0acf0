// Shared fixture of the move, flow, bound, multiply/divide and MOVEM tests: a
// headless machine (all RAM) and one hand-filled opcode-map entry, each routine
// called directly as the step at control-store address kStep.
#pragma once
#include <gtest/gtest.h>
#include <cstdint>
#include <memory>
#include "bus/BusState.h"
#include "cpu/CpuState.h"
#include "cpu/Microroutines.h"
#include "cpu/classCPU.h"
#include "support/TestMachine.h"

namespace korva::movetest {

enum : uint8_t { X = 0x10, N = 8, Z = 4, V = 2, C = 1 };

class MoveTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kOpcode = 0xA5A5;
  static constexpr uint32_t kStep = 1234;

  void SetUp() override {
    machine_ = std::make_unique<test::TestMachine>();
    saved_ = OpMap[kOpcode];
    OpMap[kOpcode] = OpMapEntry{};
    CpuOpcode = kOpcode;
    mcPC = kStep;
    mcStage = 1;
    mcErrorPC = 0;
    CpuTracePending = False;
    HipPending = 0;
    for (int i = 0; i < 8; ++i) CpuDReg[i] = CpuAReg[i] = 0;
    CpuSop = CpuDop = CpuEa = 0;
    CpuEaFc = 1;
    CpuExtraWord = 0;
    SetCcr(0);
  }
  void TearDown() override {
    OpMap[kOpcode] = saved_;
    HipPending = 0;
    CpuTracePending = False;
    machine_.reset();
  }

  OpMapEntry& Op() { return OpMap[kOpcode]; }
  static void SetCcr(uint8_t v) { Cpu.CCR(v); }
  static uint8_t Ccr() { return Cpu.CCR(); }

  // Run `routine` once from step kStep, step 1.
  static void Run(void (*routine)()) {
    mcPC = kStep;
    mcStage = 1;
    routine();
  }

  static void ExpectNext() {
    EXPECT_EQ(mcPC, kStep + 1);
    EXPECT_EQ(mcStage, 1);
  }
  static void ExpectIllegal() {
    EXPECT_EQ(mcPC, static_cast<uint32_t>(McIllegal));
    EXPECT_EQ(mcStage, 1);
  }
  static void ExpectMicrocodeFault() {
    EXPECT_EQ(mcPC, static_cast<uint32_t>(McFault));
    EXPECT_EQ(mcErrorPC, kStep);
  }

 private:
  std::unique_ptr<test::TestMachine> machine_;
  OpMapEntry saved_{};
};

}  // namespace korva::movetest
