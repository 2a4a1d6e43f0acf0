// The opcode map, its text and extension-word tables per model, the builders'
// field helpers and the opcode-count range.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cpu/ControlStore.h"
#include "cpu/CpuState.h"
#include "tables/OpMap.h"
#include "tables/OperandFields.h"
#include "tables/TextFormat.h"
#include "support/TestMachine.h"

namespace korva {
namespace {

// Builds the tables as start-up and the model menu do, and puts the default
// MC68010 map back afterwards for whatever runs next.
class OpMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedType_ = CpuType;
    savedPhys_ = MovePhysEn;
  }
  void TearDown() override {
    CpuType = savedType_;
    MovePhysEn = savedPhys_;
    Rebuild(Cpu68010, False);
  }
  static void Rebuild(uint16_t model, VBool movePhys) {
    CpuType = model;
    MovePhysEn = movePhys;
    ClearOpMap();
    ClearOpText();
    BuildOpMap();
    BuildExtWordTable();
  }

 private:
  uint16_t savedType_ = 0;
  VBool savedPhys_ = False;
};

constexpr int64_t kAny = INT64_MIN;

// One worked example; kAny fields are not checked.
struct Case {
  uint16_t op;
  const char* text;
  int64_t start;
  int64_t user = kAny;
  int64_t format = kAny;
  int64_t size = kAny;
  int64_t extra1 = kAny;
  int64_t extra2 = kAny;
  int64_t src = kAny;
  int64_t srcReg = kAny;
  int64_t dst = kAny;
  int64_t dstReg = kAny;
};

void Check(const Case& c) {
  const OpMapEntry& e = OpMap[c.op];
  const OpTextEntry& t = OpText[c.op];
  char name[16];
  std::snprintf(name, sizeof name, "opcode %04X", c.op);
  SCOPED_TRACE(name);
  EXPECT_EQ(t.Text, c.text);
  EXPECT_EQ(e.SupervisorStart, c.start);
  EXPECT_EQ(e.UserStart, c.user == kAny ? c.start : c.user);
  EXPECT_EQ(e.Privileged, e.UserStart == McPrivilege ? 0xFFFF : 0);
  const std::pair<int64_t, int64_t> fields[] = {{c.format, t.FormatCode}, {c.size, e.Size},   {c.extra1, e.Extra1},
                                                {c.extra2, e.Extra2},     {c.src, e.SrcMode}, {c.srcReg, e.SrcReg},
                                                {c.dst, e.DstMode},       {c.dstReg, e.DstReg}};
  for (size_t i = 0; i < std::size(fields); ++i) {
    if (fields[i].first != kAny) {
      EXPECT_EQ(fields[i].second, fields[i].first) << "field " << i;
    }
  }
}

void CheckIllegal(uint16_t op) { Check({.op = op, .text = "", .start = McIllegal, .format = 0}); }

TEST_F(OpMapTest, WorkedExamplesCommonToAllModels) {
  const Case cases[] = {
      {.op = 0x007C, .text = "ORI.W #data,SR", .start = McORItoSR, .user = McPrivilege, .format = 14, .size = 1},
      {.op = 0x0FCD, .text = "MOVEP.L D7,(D16,A5)", .start = McMOVEPToMem, .size = 2, .extra2 = 7, .src = 0,
       .srcReg = 7, .dst = 5, .dstReg = 5},
      {.op = 0x4E4F, .text = "TRAP #15", .start = McTRAP, .format = 30, .extra1 = 60, .extra2 = 15},
      {.op = 0x484A, .text = "BKPT #2", .start = McIllegal2, .format = 31, .extra1 = 2},
      {.op = 0x7EFF, .text = "MOVEQ.L #-1,D7", .start = McMOVEQ, .size = 2, .extra1 = -1, .src = 16, .dst = 0,
       .dstReg = 7},
      {.op = 0x6780, .text = "BEQ.B label", .start = McBccB, .format = 20, .size = 0, .extra1 = -128},
      {.op = 0x5048, .text = "ADDQ.W #data3,A0", .start = McADDQAn, .extra1 = 8, .src = 17},
      {.op = 0xE000, .text = "ASR.B #RSdata,D0", .start = McASRReg, .extra1 = 8},
      {.op = 0xC188, .text = "EXG.L D0,A0", .start = McEXG, .extra2 = 17, .src = 0, .dst = 1},
      {.op = 0xA123, .text = "", .start = McLine1010, .format = 0},
      {.op = 0xFE00, .text = "", .start = McLine1111, .format = 0},
  };
  for (uint16_t model : {Cpu68000, Cpu68010, Cpu32}) {
    SCOPED_TRACE(model);
    Rebuild(model, False);
    for (const Case& c : cases) Check(c);
    // Encodings other builders' masks keep apart, and holes in the map.
    for (uint16_t op : {0x00C0, 0x083C, 0x4AFB, 0x4AC8, 0x7100, 0x1040, 0xE0C0, 0xC180, 0x4E7C, 0x0AC0})
      CheckIllegal(op);
  }
}

TEST_F(OpMapTest, ModelDifferences) {
  Rebuild(Cpu68010, False);
  Check({.op = 0x40C0, .text = "MOVE.W SR,D0", .start = McMOVEFromSR, .user = McPrivilege, .format = 10,
         .extra2 = 0});
  Check({.op = 0x60FF, .text = "BRA.B label", .start = McBRAB, .size = 0, .extra1 = -1});
  Check({.op = 0xF800, .text = "", .start = McLine1111});
  for (uint16_t op : {0x4100, 0x4A48, 0x4AFA, 0x00D0, 0x4808, 0x49C0, 0x4C00, 0x5FFC}) CheckIllegal(op);

  Rebuild(Cpu68000, False);
  Check({.op = 0x40C0, .text = "MOVE.W SR,D0", .start = McMOVEFromSR, .user = McMOVEFromSR});

  Rebuild(Cpu32, False);
  Check({.op = 0x40C0, .text = "MOVE.W SR,D0", .start = McMOVEFromSR, .user = McPrivilege});
  Check({.op = 0x60FF, .text = "BRA.L label", .start = McBRAL, .format = 36, .size = 2, .extra1 = 255});
  Check({.op = 0xF800, .text = "F800CPU32", .start = McTableLookup, .format = 37, .src = 0, .dst = 0});
  Check({.op = 0xF808, .text = "", .start = McLine1111});  // An is no table-lookup operand
  Check({.op = 0x4100, .text = "CHK.L D0,D0", .start = McCHK, .size = 2});
  Check({.op = 0x4AFA, .text = "BGND", .start = McIllegal, .format = 5});
  Check({.op = 0x00D0, .text = "Cmp2Chk2.B(A0)", .start = McCMP2, .format = 40, .size = 0});
  CheckIllegal(0x06D0);  // size field 3
  Check({.op = 0x49C0, .text = "EXTB.L D0", .start = McEXT, .size = 2, .extra2 = 7});
  Check({.op = 0x4C00, .text = "MulUSL D0", .start = McMULL, .format = 38, .size = 2});
  Check({.op = 0x5FFC, .text = "TRAPLE", .start = McTRAPcc, .format = 5, .extra2 = 15});
  Check({.op = 0x50FA, .text = "TRAPT.W  #WordValue", .start = McTRAPccOperand, .format = 2, .size = 1, .src = 11});
  // TRAPcc has no opmode 1: that word stays ST.B to an absolute long address.
  Check({.op = 0x50F9, .text = "ST.B (xxx).L", .start = McScc});
}

// The defaulting pass leaves no entry without a start, every start is a filled
// chain start, and privilege always goes with the privilege-violation user start.
TEST_F(OpMapTest, EveryEntryHasAStartAndPrivilegeMatchesUserStart) {
  test::TestMachine m;  // the control store as start-up leaves it
  for (uint16_t model : {Cpu68000, Cpu68010, Cpu32}) {
    SCOPED_TRACE(model);
    Rebuild(model, True);
    for (uint32_t op = 0; op <= 0xFFFF; ++op) {
      const OpMapEntry& e = OpMap[op];
      ASSERT_NE(e.SupervisorStart, 0u) << op;
      ASSERT_EQ(e.SupervisorStart % 16, 0u) << op;
      ASSERT_LT(e.SupervisorStart, 4096u) << op;
      ASSERT_NE(Microcode[e.SupervisorStart].Kind, McUnfilled) << op;
      ASSERT_EQ(e.UserStart, e.Privileged ? +McPrivilege : e.SupervisorStart) << op;
      ASSERT_EQ(OpText[op].Text.empty(), OpText[op].FormatCode == 0) << op;
    }
    const std::vector<uint32_t> starts = OpMapStartAddresses();
    EXPECT_TRUE(std::adjacent_find(starts.begin(), starts.end(), std::greater_equal<>()) == starts.end());
    EXPECT_EQ(std::count(starts.begin(), starts.end(), +McTableLookup), model == Cpu32 ? 1 : 0);
  }
}

// Every entry's address-register fields follow its size, modes and registers,
// for each model and with the physical-move option either way: (An), (An)+ and
// -(An) name their register, no other mode does; (An)+ adds after and -(An)
// subtracts before, 1 for a byte (2 on A7), 2 for a word, 4 for a long; no
// other mode steps. The lone rebuilds (MOVE from SR, the physical moves) are
// held to the full builds by the tests below.
TEST_F(OpMapTest, AddressRegisterFieldsFollowSizeModeAndRegister) {
  auto stepOf = [](uint16_t size, uint16_t reg) {
    if (size == SizeByte) return reg == 7 ? 2 : 1;
    return size == SizeWord ? 2 : size == SizeLong ? 4 : 0;
  };
  for (uint16_t model : {Cpu68000, Cpu68010, Cpu32}) {
    for (VBool phys : {False, True}) {
      SCOPED_TRACE(testing::Message() << "model " << model << " movphy " << phys);
      Rebuild(model, phys);
      int stepped[5] = {};  // entries seen stepping by 0..4
      for (uint32_t op = 0; op <= 0xFFFF; ++op) {
        const OpMapEntry& e = OpMap[op];
        const uint16_t modes[2] = {e.SrcMode, e.DstMode}, regs[2] = {e.SrcReg, e.DstReg};
        const int8_t pre[2] = {e.SrcPreStep, e.DstPreStep}, post[2] = {e.SrcPostStep, e.DstPostStep};
        const uint8_t indirectAn[2] = {e.SrcIndirectAn, e.DstIndirectAn};
        for (int i = 0; i < 2; ++i) {
          const bool indirect = modes[i] >= EaAnIndirect && modes[i] <= EaAnPreDec;
          ASSERT_EQ(indirectAn[i], indirect ? regs[i] : NoIndirectAn) << std::hex << op << " operand " << i;
          const int step = stepOf(e.Size, regs[i]);
          ASSERT_EQ(pre[i], modes[i] == EaAnPreDec ? -step : 0) << std::hex << op << " operand " << i;
          ASSERT_EQ(post[i], modes[i] == EaAnPostInc ? step : 0) << std::hex << op << " operand " << i;
          if (modes[i] == EaAnPreDec || modes[i] == EaAnPostInc) ++stepped[step];
        }
      }
      for (int step : {1, 2, 4}) EXPECT_GT(stepped[step], 0) << step;
    }
  }
  Rebuild(Cpu68010, False);
  const OpMapEntry& byteA7 = OpMap[0x1F1F];  // MOVE.B (A7)+,-(A7)
  EXPECT_EQ(byteA7.SrcPostStep, 2);
  EXPECT_EQ(byteA7.DstPreStep, -2);
  const OpMapEntry& longs = OpMap[0x2320];  // MOVE.L -(A0),-(A1)
  EXPECT_EQ(longs.SrcPreStep, -4);
  EXPECT_EQ(longs.DstPreStep, -4);
  EXPECT_EQ(longs.SrcPostStep + longs.DstPostStep, 0);
  EXPECT_EQ(longs.DstIndirectAn, 1);
  EXPECT_EQ(OpMapEntry{}.SrcIndirectAn, NoIndirectAn);  // a cleared entry is Dn, D0
}

// The model menu's partial switch to the MC68000 gives what a full build gives
// (the menu tests check that it touches only MOVE from SR), and a switch back
// from the CPU32 restores every table.
TEST_F(OpMapTest, PartialAndRoundTripSwitchesMatchFullBuilds) {
  Rebuild(Cpu68010, False);
  static OpMapEntry map[65536], partial[65536];
  static ExtWordEntry ext[65536];
  std::copy(std::begin(OpMap), std::end(OpMap), map);
  std::copy(std::begin(ExtWordTable), std::end(ExtWordTable), ext);
  std::vector<std::string> text(65536);
  for (uint32_t op = 0; op <= 0xFFFF; ++op) text[op] = OpText[op].Text;

  CpuType = Cpu68000;
  MapMoveFromSr();
  std::copy(std::begin(OpMap), std::end(OpMap), partial);
  Rebuild(Cpu68000, False);
  EXPECT_EQ(std::memcmp(partial, OpMap, sizeof partial), 0);

  Rebuild(Cpu32, False);
  Rebuild(Cpu68010, False);
  EXPECT_EQ(std::memcmp(map, OpMap, sizeof map), 0);
  EXPECT_EQ(std::memcmp(ext, ExtWordTable, sizeof ext), 0);
  for (uint32_t op = 0; op <= 0xFFFF; ++op) ASSERT_EQ(text[op], OpText[op].Text) << op;
}

TEST_F(OpMapTest, MovePhysicalOption) {
  Rebuild(Cpu68010, True);
  Check({.op = 0xFE48, .text = "MOVPHY.W (A1),D0", .start = McMOVPHY, .format = 4, .size = 1, .extra2 = 0, .src = 2,
         .srcReg = 1, .dst = 0, .dstReg = 0});
  Check({.op = 0xFFC0, .text = "", .start = McLine1111, .format = 0});  // size field 3

  // Toggling the option alone, as the menu does, both ways.
  static OpMapEntry on[65536];
  std::copy(std::begin(OpMap), std::end(OpMap), on);
  MovePhysEn = False;
  MapMovePhysical();
  Check({.op = 0xFE48, .text = "", .start = McLine1111, .format = 0, .size = 0, .extra2 = 0, .src = 0, .srcReg = 0});
  static OpMapEntry off[65536];
  std::copy(std::begin(OpMap), std::end(OpMap), off);
  Rebuild(Cpu68010, False);
  EXPECT_EQ(std::memcmp(off, OpMap, sizeof off), 0);

  MovePhysEn = True;
  MapMovePhysical();
  EXPECT_EQ(std::memcmp(on, OpMap, sizeof on), 0);
}

// The builders' helpers answer out-of-range fields with nothing rather than
// reading past their tables; the rest is covered by the built maps.
TEST(OpMapOperandFields, OutOfRangeFields) {
  EXPECT_FALSE(IsEaAllowed(7, 5, EaMaskAll));  // mode 7 registers 5-7 do not exist
  EXPECT_FALSE(IsEaAllowed(7, 7, 0xFFFF));
  EXPECT_FALSE(IsSizeAllowed(3, SizeMaskBWL));
  EXPECT_EQ(AnStepOf(3, 0), 0);  // no size, no step
  EXPECT_EQ(AnStepOf(SizeByte, 15), 2);  // the register's low three bits name it
  EXPECT_EQ(EaText(7, 6), "");
  EXPECT_EQ(EaText(8, 0), "");  // stored codes are not raw modes
  EXPECT_EQ(EaText(0, 9), "D1");  // never more than one digit
  EXPECT_STREQ(ConditionName(16), "");
  EXPECT_STREQ(BitOpName(4), "");
  EXPECT_EQ(BitStaticEaMask(4), 0);
  EXPECT_EQ(BitDynamicEaMask(9), 0);
  EXPECT_FALSE(IsExgOpmode(16));
}

TEST(DebugTextTest, OpcodeCountRangeIsSigned) {
  std::vector<uint32_t> saved;
  for (OpTextEntry& e : OpText) saved.push_back(e.Value), e.Value = 0;
  EXPECT_EQ(MinOpcodeCount(), 200000000);
  OpText[0x2000].Value = 300000000;
  OpText[0x1000].Value = 0x80000000u;  // negative as a signed count
  EXPECT_EQ(MinOpcodeCount(), INT32_MIN);
  EXPECT_EQ(MaxOpcodeCount(), 300000000);
  for (size_t i = 0; i < saved.size(); ++i) OpText[i].Value = saved[i];
}

}  // namespace
}  // namespace korva
