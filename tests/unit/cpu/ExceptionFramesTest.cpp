// Exception frames of every model, bus- and address-error frames, RTE, and the
// interrupt acceptance rule, run end to end on the test machine.
#include <gtest/gtest.h>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>
#include "bus/BusState.h"
#include "bus/Exceptions.h"
#include "bus/Hip.h"
#include "bus/Memory.h"
#include "cpu/ControlStore.h"
#include "cpu/CpuState.h"
#include "cpu/ResumeSteps.h"
#include "support/TestMachine.h"

namespace korva {
namespace {

using test::Stop;
using test::TestMachine;

constexpr uint32_t kSsp = 0x7F00, kUsp = 0x7800;
constexpr uint32_t kRteHandler = 0x3000;   // bus and address error: RTE
constexpr uint32_t kStopHandler = 0x3F00;  // every other vector: STOP
constexpr uint16_t kRte = 0x4E73, kNop = 0x4E71;

class ExcTest : public ::testing::Test {
 protected:
  ExcTest() {
    for (uint32_t v = 2; v < 256; ++v) m.WriteLong(v * 4, kStopHandler + 0x10 * (v & 0x3F));
    m.WriteLong(0x08, kRteHandler);
    m.WriteLong(0x0C, kRteHandler);
    for (uint32_t a = kStopHandler; a < kStopHandler + 0x400; a += 4) m.Words(a, {0x4E72, 0x2700});
    m.Words(kRteHandler, {kRte});
    m.SetSR(0x2700);
    CpuAReg[7] = kSsp;
    CpuUSP = kUsp;
  }
  static uint32_t HandlerOf(uint32_t vectorOffset) { return kStopHandler + 0x10 * ((vectorOffset / 4) & 0x3F); }
  void UseModel(CpuModel model) { m.UseModel(model); }
  // A program at 0x1000, run for one instruction (up to the next fetch).
  Stop RunOne(std::initializer_list<uint16_t> program, uint16_t sr = 0x2700) {
    m.Words(0x1000, program);
    m.SetSR(sr);
    m.SetPC(0x1000);
    return m.StepInstruction();
  }
  uint16_t Stacked(int word) const { return m.ReadWord(CpuAReg[7] + 2 * word); }
  uint32_t StackedLong(int word) const { return m.ReadLong(CpuAReg[7] + 2 * word); }

  TestMachine m;
};

// ---- group 1 and 2 exceptions ----

// The format-2 option: a divide by zero stacks the instruction address on the
// CPU32 only; the MC68000 frame has no format word at all.
TEST_F(ExcTest, Format2FramesCarryTheInstructionAddressOnCpu32Only) {
  for (CpuModel model : {Cpu68000, Cpu32}) {
    UseModel(model);
    UseFormat2Stack = True;
    CpuDReg[1] = 0;
    CpuAReg[7] = kSsp;
    EXPECT_EQ(RunOne({0x80C1}), Stop::Fetch);  // DIVU.W D1,D0 by zero
    EXPECT_EQ(CpuAReg[7], kSsp - (model == Cpu32 ? 12 : 6));
    EXPECT_EQ(StackedLong(1), 0x1002u);
    EXPECT_EQ(CpuPC, HandlerOf(0x14));
  }
  EXPECT_EQ(Stacked(3), 0x2014);
  EXPECT_EQ(StackedLong(4), 0x1000u);
  // TRAP never stacks format 2.
  CpuAReg[7] = kSsp;
  EXPECT_EQ(RunOne({0x4E40}), Stop::Fetch);
  EXPECT_EQ(CpuAReg[7], kSsp - 8);
}

TEST_F(ExcTest, TraceAfterTrapHoldsTheHandlerAddress) {
  EXPECT_EQ(RunOne({0x4E40}, 0xA700), Stop::Fetch);  // TRAP #0, traced
  EXPECT_EQ(CpuAReg[7], kSsp - 16);
  EXPECT_EQ(Stacked(0), 0x2700);  // the trace frame: T already cleared by TRAP
  EXPECT_EQ(StackedLong(1), HandlerOf(0x80));
  EXPECT_EQ(Stacked(3), 0x24);
  EXPECT_EQ(Stacked(4), 0xA700);  // the TRAP frame below it
  EXPECT_EQ(m.ReadLong(CpuAReg[7] + 10), 0x1002u);
  EXPECT_EQ(CpuPC, HandlerOf(0x24));
}

// ---- interrupts ----

// Level 7 passes mask 7 and is cleared on acceptance; InterruptsDisabled holds it.
TEST_F(ExcTest, Level7PassesMask7UnlessInterruptsAreDisabled) {
  InterruptsDisabled = True;
  Exceptions.SetIP(IntEntryAbort);
  EXPECT_EQ(RunOne({kNop, kNop}, 0x2000), Stop::Fetch);
  EXPECT_EQ(CpuAReg[7], kSsp);
  EXPECT_TRUE(Exceptions.IsIP(IntEntryAbort));
  InterruptsDisabled = False;
  EXPECT_EQ(RunOne({kNop, kNop}, 0x2700), Stop::Fetch);
  EXPECT_EQ(Stacked(3), 0x0138);
  EXPECT_EQ(m.SR(), 0x2700);
  EXPECT_FALSE(Exceptions.IsIP(IntEntryAbort));
}

TEST_F(ExcTest, InterruptKeepsItsVectorWhenStackingResumes) {
  Exceptions.Mask(7, 0);
  Exceptions.SetIP(7);
  m.SetDeviceCode(kSsp - 4, kSsp - 3, DcNothing);  // the PC-low write of the frame
  m.Words(0x1000, {kNop});
  m.SetSR(0x2000);
  m.SetPC(0x1000);
  for (int i = 0; i < 100 && mcPC != McBusError; ++i) m.ExecuteWord();
  ASSERT_EQ(mcPC, McBusError);
  EXPECT_EQ(FaultMcStage, 4);
  m.SetDeviceCode(kSsp - 4, kSsp - 3, DcRam);
  // The published request changes while the bus error is handled.
  Exceptions.ClrIP(7);
  HipVectorAddress = 0x200;
  HipLevel = 5;
  EXPECT_EQ(m.StepInstruction(), Stop::Fetch);  // bus error processing, at the RTE handler
  EXPECT_EQ(CpuPC, kRteHandler);
  EXPECT_EQ(m.StepInstruction(), Stop::Fetch);  // RTE resumes the stacking
  EXPECT_EQ(CpuAReg[7], kSsp - 8);
  EXPECT_EQ(Stacked(0), 0x2000);
  EXPECT_EQ(StackedLong(1), 0x1002u);
  EXPECT_EQ(Stacked(3), 0x0108);
  EXPECT_EQ(m.SR(), 0x2300);
  EXPECT_EQ(CpuPC, HandlerOf(0x108));
}

// ---- bus and address error frames, RTE ----

class FaultFrameTest : public ExcTest {
 protected:
  // MOVE.W (A0),D1 in user state at 0x1000 with (A0) answering a bus error.
  void FaultUserRead() {
    CpuAReg[0] = 0x6000;
    m.WriteWord(0x6000, 0x1234);
    m.SetDeviceCode(0x6000, 0x6001, DcNothing);
    ASSERT_EQ(RunOne({0x3210, kNop}, 0x0000), Stop::Fetch);
    ASSERT_EQ(CpuPC, kRteHandler);
    frame = CpuAReg[7];
  }
  uint32_t frame = 0;
};

TEST_F(FaultFrameTest, UserWordReadFrameHoldsTheAccessAndResumePoint) {
  FaultUserRead();
  EXPECT_EQ(frame, kSsp - 58);
  EXPECT_EQ(Stacked(0), 0x0000);
  EXPECT_EQ(StackedLong(1), 0x1002u);
  EXPECT_EQ(Stacked(3), 0x8008);
  EXPECT_EQ(Stacked(4), 0x1101);
  EXPECT_EQ(StackedLong(5), 0x6000u);
  EXPECT_EQ(Stacked(13) & 0xFF00, 0x3400);
  EXPECT_GE(Stacked(13) & 0xFF, 2);
  EXPECT_LT(Stacked(14), 4096);
  EXPECT_EQ(Stacked(16), 0x3210);
  EXPECT_EQ(StackedLong(27), 0x1000u);
  EXPECT_EQ(m.SR(), 0x2000);
  // RTE of the unchanged frame repeats the read.
  m.SetDeviceCode(0x6000, 0x6001, DcRam);
  EXPECT_EQ(m.StepInstruction(), Stop::Fetch);
  EXPECT_EQ(CpuDReg[1] & 0xFFFF, 0x1234u);
  EXPECT_EQ(CpuPC, 0x1002u);
  EXPECT_EQ(CpuAReg[7], kUsp);
  EXPECT_EQ(m.SR() & 0x2000, 0);
}

TEST_F(FaultFrameTest, RerunCoversExactlyTheResumedAccess) {
  // MOVE.L (A0),D1: the first word faults and is supplied by the frame; the
  // second word is still read from memory.
  CpuAReg[0] = 0x6000;
  m.WriteLong(0x6000, 0x12345678);
  m.SetDeviceCode(0x6000, 0x6001, DcNothing);
  ASSERT_EQ(RunOne({0x2210, kNop}, 0x0000), Stop::Fetch);
  frame = CpuAReg[7];
  m.WriteWord(frame + 8, Stacked(4) | 0x8000);
  m.WriteWord(frame + 20, 0xBEEF);
  EXPECT_EQ(m.StepInstruction(), Stop::Fetch);
  EXPECT_EQ(CpuDReg[1], 0xBEEF5678u);
}

// A frame RTE cannot resume: wrong version bits, a resume address outside the
// store or on a word that calls no routine, or a step the routine at the resume
// address does not have (mcrSrcEA has no step 190).
TEST_F(FaultFrameTest, FrameThatCannotBeResumedIsAFormatError) {
  const std::pair<int, int> bad[][2] = {
      {{13, 0x0003}, {13, 0x0003}},
      {{14, 0x2000}, {14, 0x2000}},
      {{14, 5}, {14, 5}},                             // unfilled
      {{14, McIdle + 1}, {14, McIdle + 1}},           // a jump
      {{13, 0x34BE}, {14, McMOVELToDn}},              // found by a guest fuzz run
      {{13, 0x3400}, {14, McMOVELToDn}},              // step 0
  };
  for (const auto& words : bad) {
    m.SetDeviceCode(0x6000, 0x6001, DcRam);
    CpuAReg[7] = kSsp;
    FaultUserRead();
    for (const auto& [field, value] : words) m.WriteWord(frame + 2 * field, static_cast<uint16_t>(value));
    SCOPED_TRACE(testing::Message() << "word 13 " << Stacked(13) << " word 14 " << Stacked(14));
    EXPECT_EQ(m.StepInstruction(), Stop::Fetch);
    EXPECT_EQ(CpuAReg[7], frame - 8);  // nothing popped, format-error frame below
    EXPECT_EQ(Stacked(3), 0x0038);
    EXPECT_EQ(StackedLong(1), kRteHandler);  // the RTE's own address
    EXPECT_EQ(CpuPC, HandlerOf(0x38));
  }
}

// A format-2 frame is popped where the model builds such frames: always on the
// CPU32, on the MC68010 only with the format-2 option set.
TEST_F(ExcTest, Format2FrameIsPoppedOnlyWhereTheModelBuildsIt) {
  struct Case {
    CpuModel model;
    VBool option;
    bool popped;
  };
  for (const Case& c : {Case{Cpu68010, False, false}, Case{Cpu68010, True, true}, Case{Cpu32, False, true}}) {
    SCOPED_TRACE(testing::Message() << "model " << c.model << " option " << c.option);
    UseModel(c.model);
    UseFormat2Stack = c.option;
    CpuAReg[7] = kSsp - 12;
    m.Words(kSsp - 12, {0x2700, 0x0000, 0x2000, 0x2014, 0x0000, 0x1FFE});
    EXPECT_EQ(RunOne({kRte}), Stop::Fetch);
    if (c.popped) {
      EXPECT_EQ(CpuAReg[7], kSsp);
      EXPECT_EQ(CpuPC, 0x2000u);
    } else {
      EXPECT_EQ(CpuAReg[7], kSsp - 12 - 8);  // nothing popped, format-error frame below
      EXPECT_EQ(Stacked(3), 0x0038);
      EXPECT_EQ(CpuPC, HandlerOf(0x38));
    }
  }
}

// Forged format-8 frames whose resume point lies off the path of their saved
// opcode: a routine of another chain, or one the MC68010 never runs (LPSTOP's
// status load); both are format errors with nothing popped. The same frames
// with a matching opcode resume.
TEST_F(FaultFrameTest, ResumePointMustLieOnThePathOfTheSavedOpcode) {
  struct Case {
    CpuModel model;
    uint16_t opcode, extra;
    uint32_t resume;
    uint16_t step;
    bool resumes;
  };
  const Case cases[] = {
      {Cpu68010, 0x3210, 0, McMOVELToDn + 1, 2, false},  // MOVE.W's frame at MOVE.L's read
      {Cpu68010, 0x3210, 0, McLPSTOP + 1, 1, false},
      {Cpu68010, 0xF800, 0x01C0, McLPSTOP + 1, 1, false},  // line 1111 on this model
      {Cpu32, 0xF800, 0x01C0, McLPSTOP + 1, 1, true},
      {Cpu68010, 0x2010, 0, McMOVELToDn + 1, 2, true},  // MOVE.L (A0),D0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "model " << c.model << " opcode " << std::hex << c.opcode);
    UseModel(c.model);
    m.SetDeviceCode(0x6000, 0x6001, DcRam);
    CpuAReg[7] = kSsp;
    FaultUserRead();
    m.WriteWord(frame + 26, static_cast<uint16_t>(0x3400 | c.step));
    m.WriteWord(frame + 28, static_cast<uint16_t>(c.resume));
    m.WriteWord(frame + 32, c.opcode);
    m.WriteWord(frame + 34, c.extra);
    m.WriteWord(frame + 8, 0x1101 | 0x8000);  // the access is done: its word comes from the frame
    m.StepInstruction();
    if (c.resumes) {
      EXPECT_NE(CpuPC, HandlerOf(0x38));
    } else {
      EXPECT_EQ(CpuAReg[7], frame - 8);
      EXPECT_EQ(Stacked(3), 0x0038);
      EXPECT_EQ(CpuPC, HandlerOf(0x38));
    }
  }
}

// A frame found by a guest fuzz run that resumed an illegal opcode's frame in
// MOVEP's chain and reached the internal error, and a seeded run of random
// format-8 frames with plausible resume points on every model: RTE and the
// instructions after it never reach the internal error.
TEST_F(ExcTest, ForgedFramesNeverReachTheInternalError) {
  const uint16_t found[] = {0x2E37, 0x008F, 0x3CF4, 0x8008, 0x8931, 0xBF90, 0x5ACD, 0x2A26, 0x0EFE, 0x5055,
                            0x485A, 0xD10E, 0x598E, 0x34AB, 0x0340, 0x5F82, 0xC2BF, 0xB8E0, 0x002C, 0xF2FD,
                            0xA1DF, 0x2195, 0xA81A, 0x1A57, 0x9D7D, 0x834F, 0xDBF7, 0xE9D2, 0x8300};
  m.SetSR(0x2507);
  CpuAReg[7] = 0x43C1C;
  CpuVBR = 0xCF0C00;
  m.WriteLong(0xCF0C38, kStopHandler);
  for (int i = 0; i < 29; ++i) m.WriteWord(0x43C1C + 2 * i, found[i]);
  m.Words(0x8F1000, {kRte});
  m.SetPC(0x8F1000);
  EXPECT_EQ(m.StepInstruction(), Stop::Fetch);
  EXPECT_EQ(CpuAReg[7], 0x43C1Cu - 8);
  EXPECT_EQ(CpuPC, kStopHandler);
  CpuVBR = 0;

  // Call words of the store and their steps, to pick plausible resume points from.
  std::vector<std::pair<uint16_t, uint8_t>> points;
  std::mt19937 random(35);
  for (CpuModel model : {Cpu68000, Cpu68010, Cpu32}) {
    UseModel(model);
    points.clear();
    for (uint32_t a = 0; a < McStoreSize; ++a)
      for (uint8_t step = 1; step < 20; ++step)
        if (IsResumePoint(a, step)) points.emplace_back(static_cast<uint16_t>(a), step);
    int internalErrors = 0, resumed = 0;
    for (int run = 0; run < 3000; ++run) {
      uint16_t words[29];
      for (uint16_t& w : words) w = static_cast<uint16_t>(random());
      const auto& [at, step] = points[random() % points.size()];
      words[0] &= 0xA71F;
      words[3] = 0x8008;
      words[13] = static_cast<uint16_t>(0x3400 | step);
      words[14] = at;
      m.SetSR(0x2700);
      CpuAReg[7] = 0x40000 + (random() % 0x1000) * 2;
      for (int i = 0; i < 29; ++i) m.WriteWord(CpuAReg[7] + 2 * i, words[i]);
      const uint32_t sp = CpuAReg[7];
      m.Words(0x1000, {kRte});
      m.SetPC(0x1000);
      Stop s = m.StepInstruction();
      resumed += CpuAReg[7] != sp && CpuAReg[7] != sp - 8;
      for (int i = 0; i < 4 && s == Stop::Fetch; ++i) s = m.StepInstruction(20000);
      internalErrors += s == Stop::InternalError;
    }
    EXPECT_EQ(internalErrors, 0) << "model " << model;
    if (model != Cpu68000) EXPECT_GT(resumed, 0) << "model " << model;
  }
}

TEST_F(ExcTest, Mc68000GroupZeroFrame) {
  UseModel(Cpu68000);
  CpuAReg[0] = 0x02A0F4;
  m.SetDeviceCode(0x02A0F4, 0x02A0F5, DcNothing);
  EXPECT_EQ(RunOne({0x3210}, 0x0000), Stop::Fetch);
  EXPECT_EQ(CpuAReg[7], kSsp - 14);
  EXPECT_EQ(Stacked(0), 0x19);
  EXPECT_EQ(Stacked(1), 0x0002);
  EXPECT_EQ(Stacked(2), 0xA0F4);
  EXPECT_EQ(Stacked(3), 0x3210);
  EXPECT_EQ(Stacked(4), 0x0000);
  EXPECT_EQ(StackedLong(5), 0x1002u);
  EXPECT_EQ(CpuPC, kRteHandler);
}

TEST_F(ExcTest, FaultWhileStackingAFaultFrameHalts) {
  CpuAReg[0] = 0x6000;
  m.SetDeviceCode(0x6000, 0x6001, DcNothing);
  m.SetDeviceCode(kSsp - 58, kSsp - 1, DcNothing);
  const Stop s = RunOne({0x3210}, 0x2700);
  EXPECT_EQ(s, Stop::Halt);
  EXPECT_NE(CpuPC, kRteHandler);
}

}  // namespace
}  // namespace korva
