#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <vector>
#include <string>
#include <set>

#include "cpu/CpuState.h"
#include "tables/OpMap.h"

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
  EXPECT_EQ(e.Privileged, e.UserStart == 224 ? 0xFFFF : 0);
  auto opt = [](int64_t want, int64_t got, const char* what) {
    if (want != kAny) {
      EXPECT_EQ(got, want) << what;
    }
  };
  opt(c.format, t.FormatCode, "FormatCode");
  opt(c.size, e.Size, "Size");
  opt(c.extra1, e.Extra1, "Extra1");
  opt(c.extra2, e.Extra2, "Extra2");
  opt(c.src, e.SrcMode, "SrcMode");
  opt(c.srcReg, e.SrcReg, "SrcReg");
  opt(c.dst, e.DstMode, "DstMode");
  opt(c.dstReg, e.DstReg, "DstReg");
}

void CheckIllegal(uint16_t op) { Check({.op = op, .text = "", .start = 256, .format = 0}); }

TEST_F(OpMapTest, WorkedExamplesCommonToAllModels) {
  const Case cases[] = {
      // line 0000
      {.op = 0x0000, .text = "ORI.B #data,D0", .start = 1696, .format = 4, .src = 11, .srcReg = 4, .dst = 0},
      {.op = 0x003C, .text = "ORI.B #data,CCR", .start = 2800, .format = 15, .size = 0, .src = 11},
      {.op = 0x007C, .text = "ORI.W #data,SR", .start = 2800, .user = 224, .format = 14, .size = 1},
      {.op = 0x023C, .text = "ANDI.B #data,CCR", .start = 2784, .format = 17},
      {.op = 0x0A7C, .text = "EORI.W #data,SR", .start = 2816, .user = 224, .format = 18},
      {.op = 0x0C79, .text = "CMPI.W #data,(xxx).L", .start = 1456, .size = 1, .dst = 8, .dstReg = 1},
      {.op = 0x013C, .text = "BTST.B D0,#data", .start = 2432, .format = 4, .size = 0, .src = 0, .dst = 11},
      {.op = 0x0108, .text = "MOVEP.W (D16,A0),D0", .start = 848, .size = 1, .extra2 = 4, .src = 5, .dst = 0},
      {.op = 0x0308, .text = "MOVEP.W (D16,A0),D1", .start = 848},
      {.op = 0x0FCD, .text = "MOVEP.L D7,(D16,A5)", .start = 832, .size = 2, .extra2 = 7, .src = 0, .srcReg = 7,
       .dst = 5, .dstReg = 5},
      {.op = 0x0302, .text = "BTST.L D1,D2", .start = 2432, .size = 2, .extra2 = 0},
      {.op = 0x08D0, .text = "BSET.B #BitN,(A0)", .start = 2416, .format = 33, .size = 0, .extra2 = 3, .src = 11},
      {.op = 0x0E58, .text = "MOVES.W TO/FROM (A0)+", .start = 2848, .user = 224, .format = 23, .src = 3, .dst = 3},
      // line 0100
      {.op = 0x4AFC, .text = "ILLEGAL", .start = 256, .format = 5},
      {.op = 0x4E73, .text = "RTE", .start = 416, .user = 224, .format = 5},
      {.op = 0x4E70, .text = "RESET", .start = 2912, .user = 224},
      {.op = 0x4E72, .text = "STOP #SRdata", .start = 496, .user = 224, .format = 2, .size = 1, .src = 11},
      {.op = 0x4E74, .text = "RTD #DISP", .start = 464, .format = 2},
      {.op = 0x4E4F, .text = "TRAP #15", .start = 304, .format = 30, .extra1 = 60, .extra2 = 15},
      {.op = 0x484A, .text = "BKPT #2", .start = 240, .format = 31, .extra1 = 2},
      {.op = 0x4847, .text = "SWAP.W D7", .start = 1936, .size = 1},
      {.op = 0x4850, .text = "PEA (A0)", .start = 976, .format = 2, .size = 2},
      {.op = 0x4E7B, .text = "MOVEC.L REG,CREG", .start = 2832, .user = 224, .format = 24, .extra2 = 1},
      {.op = 0x4E7A, .text = "MOVEC.L CREG,REG", .start = 2832, .user = 224, .extra2 = 0},
      {.op = 0x4E6B, .text = "MOVE.L USP,A3", .start = 2896, .user = 224, .format = 35, .extra2 = 1},
      {.op = 0x48E7, .text = "MOVEM.L #<DataMask>,-(A7)", .start = 880, .format = 27, .size = 2, .src = 11,
       .dst = 4},
      {.op = 0x48A8, .text = "MOVEM.W #<DataMask>,(D16,A0)", .start = 912, .format = 26, .extra2 = 0},
      {.op = 0x4C9F, .text = "MOVEM.W (A7)+,#<DataMask>", .start = 944, .format = 25, .size = 1, .extra2 = 1,
       .src = 3, .dst = 11},
      {.op = 0x4880, .text = "EXT.W D0", .start = 528, .extra2 = 2},
      {.op = 0x48C3, .text = "EXT.L D3", .start = 528, .size = 2, .extra2 = 3},
      {.op = 0x4E55, .text = "LINK.W A5,#disp", .start = 992, .format = 28, .size = 1, .src = 11, .dst = 1},
      {.op = 0x4E5E, .text = "UNLK A6", .start = 1024, .format = 29},
      {.op = 0x4EB9, .text = "JSR (xxx).L", .start = 2736, .format = 3, .src = 8, .dst = 8},
      {.op = 0x4EFB, .text = "JMP (D8,PC,Xn)", .start = 2720},
      {.op = 0x4280, .text = "CLR.L D0", .start = 1840, .format = 3, .size = 2},
      {.op = 0x4250, .text = "CLR.W (A0)", .start = 1856},
      {.op = 0x42C0, .text = "MOVE.W CCR,D0", .start = 2768, .format = 12, .extra2 = 1},
      {.op = 0x44FC, .text = "MOVE.W #data,CCR", .start = 2752, .format = 13, .extra2 = 2},
      {.op = 0x46D8, .text = "MOVE.W (A0)+,SR", .start = 2752, .user = 224, .format = 11, .extra2 = 3},
      {.op = 0x41D0, .text = "LEA.L (A0),A0", .start = 960, .size = 2, .dst = 1},
      {.op = 0x4FBC, .text = "CHK.W #data,D7", .start = 368, .size = 1},
      {.op = 0x4ADF, .text = "TAS.B (A7)+", .start = 1920},
      {.op = 0x4A10, .text = "TST.B (A0)", .start = 1904},
      {.op = 0x4811, .text = "NBCD.B (A1)", .start = 2528},
      // lines 0001 to 0111
      {.op = 0x7EFF, .text = "MOVEQ.L #-1,D7", .start = 560, .size = 2, .extra1 = -1, .src = 16, .dst = 0,
       .dstReg = 7},
      {.op = 0x707F, .text = "MOVEQ.L #127,D0", .start = 560, .extra1 = 127},
      {.op = 0x6700, .text = "BEQ.W label", .start = 2608, .format = 21, .size = 1, .extra1 = 0, .extra2 = 7},
      {.op = 0x6780, .text = "BEQ.B label", .start = 2592, .format = 20, .size = 0, .extra1 = -128},
      {.op = 0x6000, .text = "BRA.W label", .start = 2560},
      {.op = 0x6102, .text = "BSR.B label", .start = 2640, .extra1 = 2, .extra2 = 1},
      {.op = 0x5048, .text = "ADDQ.W #data3,A0", .start = 1168, .extra1 = 8, .src = 17},
      {.op = 0x5088, .text = "ADDQ.L #data3,A0", .start = 1168, .extra1 = 8},
      {.op = 0x5201, .text = "ADDQ.B #data3,D1", .start = 1152, .extra1 = 1},
      {.op = 0x5F90, .text = "SUBQ.L #data3,(A0)", .start = 1312, .extra1 = 7},
      {.op = 0x5349, .text = "SUBQ.W #data3,A1", .start = 1328},
      {.op = 0x51C8, .text = "DBF D0,label", .start = 2688, .format = 22, .size = 1, .extra2 = 1},
      {.op = 0x57C0, .text = "SEQ.B D0", .start = 2704, .format = 3, .extra2 = 7},
      {.op = 0x3040, .text = "MOVEA.W D0,A0", .start = 768, .size = 1, .dst = 1},
      {.op = 0x2479, .text = "MOVEA.L (xxx).L,A2", .start = 816},
      {.op = 0x2010, .text = "MOVE.L (A0),D0", .start = 720},
      {.op = 0x1200, .text = "MOVE.B D0,D1", .start = 576, .size = 0},
      {.op = 0x3280, .text = "MOVE.W D0,(A1)", .start = 672},
      {.op = 0x23FC, .text = "MOVE.L #data,(xxx).L", .start = 752, .src = 11, .srcReg = 4, .dst = 8, .dstReg = 1},
      {.op = 0x3008, .text = "MOVE.W A0,D0", .start = 640},
      // lines 1000 to 1110
      {.op = 0xE308, .text = "LSL.B #RSdata,D0", .start = 2048, .format = 4, .extra1 = 1, .extra2 = 0, .src = 18,
       .srcReg = 1},
      {.op = 0xE128, .text = "LSL.B D0,D0", .start = 2048, .extra2 = 1, .src = 0},
      {.op = 0xE000, .text = "ASR.B #RSdata,D0", .start = 2000, .extra1 = 8},
      {.op = 0xE5DF, .text = "ROXL.W (A7)+", .start = 2272, .format = 3, .size = 1},
      {.op = 0xE69A, .text = "ROR.L #RSdata,D2", .start = 2192, .extra1 = 3},
      {.op = 0xE0D0, .text = "ASR.W (A0)", .start = 2032, .size = 1},
      {.op = 0xC140, .text = "EXG.L D0,D0", .start = 512, .size = 2, .extra2 = 8},
      {.op = 0xC188, .text = "EXG.L D0,A0", .start = 512, .extra2 = 17, .src = 0, .dst = 1},
      {.op = 0xCF49, .text = "EXG.L A7,A1", .start = 512, .extra2 = 9},
      {.op = 0xB108, .text = "CMPM.B (A0)+,(A0)+", .start = 1472},
      {.op = 0xB100, .text = "EOR.B D0,D0", .start = 1712, .extra2 = 1},
      {.op = 0xB350, .text = "EOR.W D1,(A0)", .start = 1728},
      {.op = 0xB048, .text = "CMP.W A0,D0", .start = 1408, .extra2 = 0},
      {.op = 0xB03C, .text = "CMP.B #data,D0", .start = 1392},
      {.op = 0xB1FC, .text = "CMPA.L #data,A0", .start = 1424, .size = 2},
      {.op = 0xD0C8, .text = "ADDA.W A0,A0", .start = 1104},
      {.op = 0xD048, .text = "ADD.W A0,D0", .start = 1040},
      {.op = 0xD390, .text = "ADD.L D1,(A0)", .start = 1056, .extra2 = 1, .src = 0, .srcReg = 1, .dst = 2},
      {.op = 0x9090, .text = "SUB.L (A0),D0", .start = 1248},
      {.op = 0x93C9, .text = "SUBA.L A1,A1", .start = 1280, .size = 2},
      {.op = 0x9F4F, .text = "SUBX.W -(A7),-(A7)", .start = 1376, .extra2 = 1, .src = 4},
      {.op = 0xD181, .text = "ADDX.L D1,D0", .start = 1184},
      {.op = 0x8100, .text = "SBCD.B D0,D0", .start = 2496, .extra2 = 0},
      {.op = 0x8108, .text = "SBCD.B -(A0),-(A0)", .start = 2512},
      {.op = 0xC30A, .text = "ABCD.B -(A2),-(A1)", .start = 2480},
      {.op = 0x81C1, .text = "DIVS.W D1,D0", .start = 1536, .extra2 = 1},
      {.op = 0xC0FC, .text = "MULU.W #data,D0", .start = 1504, .extra2 = 0},
      {.op = 0x8E50, .text = "OR.W (A0),D7", .start = 1680},
      {.op = 0xC390, .text = "AND.L D1,(A0)", .start = 1600},
      // lines 1010 and 1111
      {.op = 0xA123, .text = "", .start = 272, .format = 0},
      {.op = 0xFE00, .text = "", .start = 288, .format = 0},
  };
  for (uint16_t model : {Cpu68000, Cpu68010, Cpu32}) {
    SCOPED_TRACE(model);
    Rebuild(model, False);
    for (const Case& c : cases) Check(c);
    // Encodings other builders' masks keep apart, and holes in the map.
    for (uint16_t op : {0x00C0, 0x083C, 0x0E00, 0x4AFB, 0x4A08, 0x4AC8, 0x7100, 0x5008, 0x1040, 0x1008,
                        0xE0C0, 0xC180, 0xD008, 0x4E7C, 0x4E78, 0x0AC0})
      CheckIllegal(op);
  }
}

TEST_F(OpMapTest, ModelDifferences) {
  Rebuild(Cpu68010, False);
  Check({.op = 0x40C0, .text = "MOVE.W SR,D0", .start = 2768, .user = 224, .format = 10, .extra2 = 0});
  Check({.op = 0x60FF, .text = "BRA.B label", .start = 2544, .size = 0, .extra1 = -1});
  Check({.op = 0x61FF, .text = "BSR.B label", .start = 2640, .extra1 = -1});
  Check({.op = 0xF800, .text = "", .start = 288});
  for (uint16_t op : {0x4100, 0x4A48, 0x4A3C, 0x4AFA, 0x00D0, 0x4808, 0x49C0, 0x4C00, 0x4C40, 0x5FFC, 0x50FA, 0x0C3A})
    CheckIllegal(op);

  Rebuild(Cpu68000, False);
  Check({.op = 0x40C0, .text = "MOVE.W SR,D0", .start = 2768, .user = 2768});

  Rebuild(Cpu32, False);
  Check({.op = 0x40C0, .text = "MOVE.W SR,D0", .start = 2768, .user = 224});
  Check({.op = 0x60FF, .text = "BRA.L label", .start = 2576, .format = 36, .size = 2, .extra1 = 255});
  Check({.op = 0x61FF, .text = "BSR.L label", .start = 2672, .extra1 = 255});
  Check({.op = 0x6EFF, .text = "BGT.L label", .start = 2624});
  Check({.op = 0xF800, .text = "F800CPU32", .start = 2928, .format = 37, .src = 0, .dst = 0});
  Check({.op = 0xF83B, .text = "F83BCPU32", .start = 2928, .src = 10, .srcReg = 3});
  Check({.op = 0xF808, .text = "", .start = 288});  // An is no table-lookup operand
  Check({.op = 0xF818, .text = "", .start = 288});  // nor (An)+
  Check({.op = 0x4100, .text = "CHK.L D0,D0", .start = 368, .size = 2});
  CheckIllegal(0x4140);
  Check({.op = 0x4A48, .text = "TST.W A0", .start = 1888});
  CheckIllegal(0x4A08);
  Check({.op = 0x4A3C, .text = "TST.B #data", .start = 1904});
  Check({.op = 0x4AFA, .text = "BGND", .start = 256, .format = 5});
  Check({.op = 0x00D0, .text = "Cmp2Chk2.B(A0)", .start = 384, .format = 40, .size = 0});
  Check({.op = 0x04FA, .text = "Cmp2Chk2.L(D16,PC)", .start = 384, .size = 2});
  CheckIllegal(0x00C0);
  CheckIllegal(0x06D0);  // size field 3
  Check({.op = 0x4808, .text = "LINK.L A0,#disp", .start = 1008, .size = 2});
  Check({.op = 0x49C0, .text = "EXTB.L D0", .start = 528, .size = 2, .extra2 = 7});
  Check({.op = 0x4C00, .text = "MulUSL D0", .start = 1520, .format = 38, .size = 2});
  Check({.op = 0x4C7C, .text = "DivUSL #data", .start = 1568, .format = 39});
  Check({.op = 0x5FFC, .text = "TRAPLE", .start = 336, .format = 5, .extra2 = 15});
  Check({.op = 0x50FA, .text = "TRAPT.W  #WordValue", .start = 352, .format = 2, .size = 1, .src = 11});
  Check({.op = 0x51FB, .text = "TRAPF.L  #LongValue", .start = 352, .size = 2});
  // TRAPcc has no opmode 1: that word stays ST.B to an absolute long address.
  Check({.op = 0x50F9, .text = "ST.B (xxx).L", .start = 2704});
  Check({.op = 0x0C3A, .text = "CMPI.B #data,(D16,PC)", .start = 1456});
  CheckIllegal(0x0C3C);
}

TEST_F(OpMapTest, EveryEntryHasAStartAndPrivilegeMatchesUserStart) {
  // Starts that only CPU32 instructions use.
  const std::set<uint32_t> cpu32Only = {336, 352, 384, 1008, 1520, 1568, 2576, 2624, 2672, 2928};
  for (uint16_t model : {Cpu68000, Cpu68010, Cpu32}) {
    SCOPED_TRACE(model);
    Rebuild(model, True);
    for (uint32_t op = 0; op <= 0xFFFF; ++op) {
      const OpMapEntry& e = OpMap[op];
      ASSERT_NE(e.SupervisorStart, 0u) << op;
      ASSERT_EQ(e.SupervisorStart % 16, 0u) << op;
      ASSERT_LT(e.SupervisorStart, 4096u) << op;
      ASSERT_EQ(e.UserStart, e.Privileged ? 224u : e.SupervisorStart) << op;
      ASSERT_EQ(OpText[op].Text.empty(), OpText[op].FormatCode == 0) << op;
    }
    const std::vector<uint32_t> starts = OpMapStartAddresses();
    ASSERT_TRUE(std::is_sorted(starts.begin(), starts.end()));
    for (uint32_t s : cpu32Only) EXPECT_EQ(std::count(starts.begin(), starts.end(), s), model == Cpu32 ? 1 : 0) << s;
    for (uint32_t s : {224u, 240u, 256u, 272u, 288u, 544u, 560u, 2768u})
      EXPECT_EQ(std::count(starts.begin(), starts.end(), s), 1) << s;
  }
}

TEST_F(OpMapTest, SwitchBetween68000And68010RewritesOnlyMoveFromSr) {
  Rebuild(Cpu68010, False);
  static OpMapEntry before[65536];
  std::copy(std::begin(OpMap), std::end(OpMap), before);

  CpuType = Cpu68000;
  MapMoveFromSr();
  for (uint32_t op = 0; op <= 0xFFFF; ++op) {
    const bool moveFromSr = op >= 0x40C0 && op <= 0x40FF && OpMap[op].SupervisorStart == 2768;
    const bool same = std::memcmp(&OpMap[op], &before[op], sizeof(OpMapEntry)) == 0;
    ASSERT_EQ(same, !moveFromSr) << op;
  }
  Check({.op = 0x40E7, .text = "MOVE.W SR,-(A7)", .start = 2768, .user = 2768});
  CheckIllegal(0x40C8);  // An is still no MOVE from SR operand

  // The partial switch leaves exactly what a full MC68000 build gives.
  static OpMapEntry partial[65536];
  std::copy(std::begin(OpMap), std::end(OpMap), partial);
  Rebuild(Cpu68000, False);
  EXPECT_EQ(std::memcmp(partial, OpMap, sizeof partial), 0);

  CpuType = Cpu68010;
  MapMoveFromSr();
  EXPECT_EQ(std::memcmp(before, OpMap, sizeof before), 0);
  Check({.op = 0x40E7, .text = "MOVE.W SR,-(A7)", .start = 2768, .user = 224});
}

TEST_F(OpMapTest, SwitchingBackFromCpu32RestoresTheFreshMap) {
  Rebuild(Cpu68010, False);
  static OpMapEntry map[65536];
  static ExtWordEntry ext[65536];
  std::copy(std::begin(OpMap), std::end(OpMap), map);
  std::copy(std::begin(ExtWordTable), std::end(ExtWordTable), ext);
  std::vector<std::string> text(65536);
  for (uint32_t op = 0; op <= 0xFFFF; ++op) text[op] = OpText[op].Text;

  Rebuild(Cpu32, False);
  ASSERT_NE(std::memcmp(map, OpMap, sizeof map), 0);
  Rebuild(Cpu68010, False);
  EXPECT_EQ(std::memcmp(map, OpMap, sizeof map), 0);
  EXPECT_EQ(std::memcmp(ext, ExtWordTable, sizeof ext), 0);
  for (uint32_t op = 0; op <= 0xFFFF; ++op) ASSERT_EQ(text[op], OpText[op].Text) << op;
  Check({.op = 0x60FF, .text = "BRA.B label", .start = 2544, .extra1 = -1});
}

TEST_F(OpMapTest, MovePhysicalOption) {
  Rebuild(Cpu68010, True);
  Check({.op = 0xFE48, .text = "MOVPHY.W (A1),D0", .start = 544, .format = 4, .size = 1, .extra2 = 0, .src = 2,
         .srcReg = 1, .dst = 0, .dstReg = 0});
  Check({.op = 0xFFAB, .text = "MOVPHY.L D3,(A5)", .start = 544, .size = 2, .extra2 = 1, .src = 0, .srcReg = 3,
         .dst = 2, .dstReg = 5});
  Check({.op = 0xFE01, .text = "MOVPHY.B (A0),D1", .start = 544});
  Check({.op = 0xFFC0, .text = "", .start = 288, .format = 0});  // size field 3
  Check({.op = 0xFDFF, .text = "", .start = 288});

  // Toggling the option alone, as the menu does, both ways.
  static OpMapEntry on[65536];
  std::copy(std::begin(OpMap), std::end(OpMap), on);
  MovePhysEn = False;
  MapMovePhysical();
  Check({.op = 0xFE48, .text = "", .start = 288, .format = 0, .size = 0, .extra2 = 0, .src = 0, .srcReg = 0});
  Check({.op = 0xFFAB, .text = "", .start = 288, .format = 0});
  static OpMapEntry off[65536];
  std::copy(std::begin(OpMap), std::end(OpMap), off);
  Rebuild(Cpu68010, False);
  EXPECT_EQ(std::memcmp(off, OpMap, sizeof off), 0);

  MovePhysEn = True;
  MapMovePhysical();
  EXPECT_EQ(std::memcmp(on, OpMap, sizeof on), 0);
  Check({.op = 0xFE48, .text = "MOVPHY.W (A1),D0", .start = 544});
}

TEST_F(OpMapTest, ExtensionWords) {
  Rebuild(Cpu32, False);
  ExtWordEntry x = ExtWordTable[0x1108];
  EXPECT_EQ(x.DA, 0);
  EXPECT_EQ(x.Reg, 1);
  EXPECT_EQ(x.WL, 0);
  EXPECT_EQ(x.Scale, 0);
  EXPECT_EQ(x.Full, True);
  EXPECT_EQ(x.BS, False);
  EXPECT_EQ(x.IS, False);
  EXPECT_EQ(x.BDSize, 0);
  EXPECT_EQ(x.IIS, 0);
  EXPECT_EQ(x.Unsupported, True);
  EXPECT_EQ(x.Disp8, 8);
  x = ExtWordTable[0xFFE0];  // A7.L*8, full, BS and IS, long base displacement
  EXPECT_EQ(x.DA, 1);
  EXPECT_EQ(x.RegField, 15);
  EXPECT_EQ(x.WL, 1);
  EXPECT_EQ(x.Scale, 3);
  EXPECT_EQ(x.Full, True);
  EXPECT_EQ(x.BS, True);
  EXPECT_EQ(x.IS, True);
  EXPECT_EQ(x.BDSize, 2);
  EXPECT_EQ(x.Unsupported, False);
  EXPECT_EQ(ExtWordTable[0x0131].Unsupported, True);  // memory indirect
  EXPECT_EQ(ExtWordTable[0x0610].Scale, 3);
  EXPECT_EQ(ExtWordTable[0x0610].Full, False);

  Rebuild(Cpu68010, False);
  x = ExtWordTable[0x1108];
  EXPECT_EQ(x.Reg, 1);
  EXPECT_EQ(x.Disp8, 8);
  EXPECT_EQ(x.Full, False);
  EXPECT_EQ(x.BS | x.IS | x.BDSize | x.IIS | x.Unsupported | x.Scale, 0);
  EXPECT_EQ(ExtWordTable[0xFFE0].Scale, 0);
  x = ExtWordTable[0x80FF];
  EXPECT_EQ(x.DA, 1);
  EXPECT_EQ(x.Reg, 0);
  EXPECT_EQ(x.RegField, 8);
  EXPECT_EQ(x.Disp8, -1);
}

// FNV-1a over every OpMap and OpText record (the counters excepted).
uint64_t TableDigest() {
  uint64_t h = 14695981039346656037ull;
  auto mix = [&h](uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
      h ^= (v >> (8 * i)) & 0xFF;
      h *= 1099511628211ull;
    }
  };
  for (uint32_t op = 0; op <= 0xFFFF; ++op) {
    const OpMapEntry& e = OpMap[op];
    mix(e.SupervisorStart, 4);
    mix(e.UserStart, 4);
    mix(static_cast<uint32_t>(e.Extra1), 4);
    mix(static_cast<uint32_t>(e.Extra2), 4);
    for (uint16_t v : {e.Size, e.SrcMode, e.SrcReg, e.DstMode, e.DstReg, e.Privileged}) mix(v, 2);
    mix(OpText[op].FormatCode, 2);
    for (unsigned char c : OpText[op].Text) mix(c, 1);
    mix(0xFF, 1);
  }
  return h;
}

TEST_F(OpMapTest, GoldenDigests) {
  // Reviewed by hand against the instruction tables; any change to the maps
  // shows here and needs the same review.
  struct Golden {
    uint16_t model;
    VBool movePhys;
    uint64_t digest;
  };
  const Golden golden[] = {
      {Cpu68000, False, 0x821e0c12e95b3c0dull},
      {Cpu68010, False, 0x95ba612fe691cfddull},
      {Cpu32, False, 0x59dbeaf483498fd1ull},
      {Cpu68010, True, 0x455c5b52a9aff87dull},
  };
  for (const Golden& g : golden) {
    Rebuild(g.model, g.movePhys);
    EXPECT_EQ(TableDigest(), g.digest) << "model " << g.model << " MOVPHY " << g.movePhys << std::hex
                                       << " digest 0x" << TableDigest();
  }
}

TEST_F(OpMapTest, BuildingAllModelsIsQuick) {
  const auto t0 = std::chrono::steady_clock::now();
  for (uint16_t model : {Cpu68000, Cpu68010, Cpu32}) Rebuild(model, False);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0);
  // Well under a second in an optimised build; the bound leaves room for the
  // sanitizer builds the tests run in.
  EXPECT_LT(ms.count(), 1500);
}

}  // namespace
}  // namespace korva
