// Shared fixture of the micro-routine tests: a fresh test machine (all RAM,
// MC68010) and one hand-filled opcode-map entry, each routine called directly
// as the step at control-store address kStep.
#pragma once
#include <gtest/gtest.h>
#include <cstdint>
#include "bus/BusState.h"
#include "cpu/CpuState.h"
#include "cpu/Microroutines.h"
#include "cpu/classCPU.h"
#include "support/TestMachine.h"

namespace korva::test {

enum : uint8_t { X = 0x10, N = 8, Z = 4, V = 2, C = 1 };

class RoutineTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kOpcode = 0xA5A5;
  static constexpr uint32_t kStep = 1234;

  RoutineTest() {
    OpMap[kOpcode] = OpMapEntry{};  // the machine's reset rebuilds the map for the next test
    CpuOpcode = kOpcode;
    mcPC = kStep;
    mcStage = 1;
  }

  static OpMapEntry& Op() { return OpMap[kOpcode]; }
  static void SetCcr(uint8_t v) { Cpu.CCR(v); }
  static uint8_t Ccr() { return Cpu.CCR(); }
  static bool FlagsWellFormed() {
    for (uint16_t f : {CpuX, CpuN, CpuZ, CpuV, CpuC})
      if (f != 0 && f != 0xFFFF) return false;
    return true;
  }

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

  TestMachine machine;
};

}  // namespace korva::test
