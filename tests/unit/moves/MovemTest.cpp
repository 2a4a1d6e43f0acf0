// MOVEM micro-routines: order, address-register updates, and the restart at
// each access after a bus error.
#include <array>
#include "unit/moves/MovesFixture.h"

namespace korva::movetest {

TEST_F(MoveTest, MovemWordToRegistersSignExtends) {
  Op().SrcMode = 2;  // (A0)
  CpuExtraWord = 0x0201;  // D0, A1
  CpuEa = 0x3000;
  M().Words(0x3000, {0x8001, 0x7FFF});
  Run(mcrMOVEMWToRegs);
  EXPECT_EQ(CpuDReg[0], 0xFFFF8001u);
  EXPECT_EQ(CpuAReg[1], 0x00007FFFu);
  EXPECT_EQ(AccSSW, 0x1105);
  ExpectEndOfInstruction();

  CpuEaFc = 2;  // a PC-relative source is announced in program space
  Run(mcrMOVEMWToRegs);
  EXPECT_EQ(AccSSW, 0x1106);
}

TEST_F(MoveTest, MovemPostincrementLeavesAnAfterTheLastWord) {
  Op().SrcMode = 3;
  Op().SrcReg = 0;
  M().WriteLong(0x3000, 0x11111111);
  M().WriteLong(0x3004, 0x22222222);
  CpuAReg[0] = 0x3000;
  CpuEa = 0x3000;
  CpuExtraWord = 0x0003;  // D0-D1
  Run(mcrMOVEMLToRegs);
  EXPECT_EQ(CpuDReg[0], 0x11111111u);
  EXPECT_EQ(CpuDReg[1], 0x22222222u);
  EXPECT_EQ(CpuAReg[0], 0x3008u);

  CpuAReg[0] = 0x3000;
  CpuEa = 0x3000;
  CpuExtraWord = 0x0100;  // A0 itself: the address wins over the loaded value
  Run(mcrMOVEMLToRegs);
  EXPECT_EQ(CpuAReg[0], 0x3004u);

  CpuAReg[0] = 0x3000;  // an empty list makes no access and leaves An alone
  CpuEa = 0x3000;
  CpuExtraWord = 0;
  Run(mcrMOVEMLToRegs);
  EXPECT_EQ(CpuAReg[0], 0x3000u);
}

TEST_F(MoveTest, MovemPredecrementStoresHighRegistersAtHighAddresses) {
  // MOVEM.L D0-D1,-(A7) with A7 = S: the calculator has lowered A7 by 4 already.
  Op().DstMode = 4;
  Op().DstReg = 7;
  CpuDReg[0] = 0x00000A0A;
  CpuDReg[1] = 0x0000B1B1;
  CpuAReg[7] = 0x4000 - 4;
  CpuEa = 0x4000 - 4;
  CpuExtraWord = 0xC000;  // bit 15 = D0, bit 14 = D1
  Run(mcrMOVEMLToMemPredec);
  EXPECT_EQ(M().ReadLong(0x3FFC), 0x0000B1B1u);
  EXPECT_EQ(M().ReadLong(0x3FF8), 0x00000A0Au);
  EXPECT_EQ(CpuAReg[7], 0x3FF8u);

  // MOVEM.W A0/A1,-(A0) with A0 = S: A1 at S-2, then A0's value at that moment (S-2) at S-4.
  Op().DstReg = 0;
  CpuAReg[0] = 0x5000 - 2;
  CpuEa = 0x5000 - 2;
  CpuAReg[1] = 0x1111;
  CpuExtraWord = 0x00C0;  // bit 7 = A0, bit 6 = A1
  Run(mcrMOVEMWToMemPredec);
  EXPECT_EQ(M().ReadWord(0x4FFE), 0x1111);
  EXPECT_EQ(M().ReadWord(0x4FFC), 0x4FFE);
  EXPECT_EQ(CpuAReg[0], 0x4FFCu);

  CpuAReg[0] = 0x5000 - 2;  // empty list: An as before the instruction
  CpuEa = 0x5000 - 2;
  CpuExtraWord = 0;
  Run(mcrMOVEMWToMemPredec);
  EXPECT_EQ(CpuAReg[0], 0x5000u);
}

TEST_F(MoveTest, MovemControlModeStoreChangesNoRegister) {
  Op().DstMode = 5;
  Op().DstReg = 2;
  CpuAReg[2] = 0x7777;
  CpuDReg[0] = 0x12345678;
  CpuAReg[7] = 0x9ABCDEF0;
  CpuEa = 0x6000;
  CpuExtraWord = 0x8001;  // D0, A7
  Run(mcrMOVEMLToMem);
  EXPECT_EQ(M().ReadLong(0x6000), 0x12345678u);
  EXPECT_EQ(M().ReadLong(0x6004), 0x9ABCDEF0u);
  EXPECT_EQ(CpuAReg[2], 0x7777u);
  CpuEa = 0x6000;
  Run(mcrMOVEMWToMem);
  EXPECT_EQ(M().ReadWord(0x6000), 0x5678);
  EXPECT_EQ(M().ReadWord(0x6002), 0xDEF0);
}

// Every form, with a bus error injected at each of its accesses in turn: the
// routine stops at the access's step, and the re-entry there finishes with the
// same registers and memory as a run without fault.
struct MovemForm {
  const char* name;
  void (*routine)();
  bool toRegs, isLong, predec;
};

class MovemRestart : public MoveTest, public ::testing::WithParamInterface<MovemForm> {
 protected:
  static constexpr uint32_t kBase = 0x3000;
  static constexpr uint16_t kMask = 0x8691;  // sparse: first and last bits included

  void Prepare() {
    const MovemForm& f = GetParam();
    for (uint32_t a = kBase - 0x80; a < kBase + 0x80; a += 2) M().WriteWord(a, static_cast<uint16_t>(a * 7 + 1));
    for (int i = 0; i < 8; ++i) {
      CpuDReg[i] = 0xD0D00000u + static_cast<uint32_t>(i) * 0x1111;
      CpuAReg[i] = 0xA0A00000u + static_cast<uint32_t>(i) * 0x1111;
    }
    Op() = OpMapEntry{};
    CpuExtraWord = kMask;
    CpuEaFc = 1;
    const uint32_t size = f.isLong ? 4 : 2;
    if (f.predec) {
      Op().DstMode = 4;
      Op().DstReg = 3;
      CpuAReg[3] = kBase - size;
      CpuEa = kBase - size;
    } else if (f.toRegs) {
      Op().SrcMode = 3;
      Op().SrcReg = 3;
      CpuAReg[3] = kBase;
      CpuEa = kBase;
    } else {
      Op().DstMode = 2;
      CpuEa = kBase;
    }
    Cpu.SR(0x2700);
  }
  struct Snapshot {
    std::array<uint32_t, 16> regs;
    std::array<uint16_t, 128> mem;
    bool operator==(const Snapshot&) const = default;
  };
  Snapshot Take() {
    Snapshot s{};
    for (int i = 0; i < 8; ++i) {
      s.regs[i] = CpuDReg[i];
      s.regs[8 + i] = CpuAReg[i];
    }
    for (uint32_t i = 0; i < 128; ++i) s.mem[i] = M().ReadWord(kBase - 0x80 + 2 * i);
    return s;
  }
};

TEST_P(MovemRestart, EveryAccessResumes) {
  const MovemForm& f = GetParam();
  Prepare();
  Run(f.routine);
  ExpectEndOfInstruction();
  const Snapshot expected = Take();

  const int count = __builtin_popcount(kMask) * (f.isLong ? 2 : 1);
  for (int n = 0; n < count; ++n) {
    // The n-th word of the transfer, counted in access order.
    uint32_t addr;
    if (f.predec) {
      const int reg = n / (f.isLong ? 2 : 1);
      const int half = f.isLong ? n % 2 : 0;
      addr = kBase - static_cast<uint32_t>((reg + 1) * (f.isLong ? 4 : 2)) + static_cast<uint32_t>(half * 2);
    } else {
      addr = kBase + static_cast<uint32_t>(n * 2);
    }
    Prepare();
    M().SetDeviceCode(addr, addr + 1, 6);
    Run(f.routine);
    ASSERT_EQ(mcPC, static_cast<uint32_t>(McBusError)) << "access " << n;
    EXPECT_EQ(AccAddress, addr);
    M().SetDeviceCode(addr, addr + 1, 1);
    if (!f.toRegs) M().WriteWord(addr, 0xEEEE);  // shows that the write is made again
    ResumeAfterFault(f.routine);
    ExpectEndOfInstruction();
    EXPECT_TRUE(Take() == expected) << f.name << ": fault at access " << n << " (step " << int(FaultMcStage) << ")";
  }
}

INSTANTIATE_TEST_SUITE_P(
    AllForms, MovemRestart,
    ::testing::Values(MovemForm{"WToRegs", mcrMOVEMWToRegs, true, false, false},
                      MovemForm{"LToRegs", mcrMOVEMLToRegs, true, true, false},
                      MovemForm{"WToMem", mcrMOVEMWToMem, false, false, false},
                      MovemForm{"LToMem", mcrMOVEMLToMem, false, true, false},
                      MovemForm{"WToMemPredec", mcrMOVEMWToMemPredec, false, false, true},
                      MovemForm{"LToMemPredec", mcrMOVEMLToMemPredec, false, true, true}),
    [](const ::testing::TestParamInfo<MovemForm>& i) { return std::string(i.param.name); });

TEST_F(MoveTest, MovemWordWriteFaultReportsItsStep) {
  // Mask bits 0, 1 and 2: the third word is step 4; after the restart only it
  // and the words after it are written.
  Op().DstMode = 2;
  CpuDReg[0] = 0xA;
  CpuDReg[1] = 0xB;
  CpuDReg[2] = 0xC;
  CpuEa = 0x3000;
  CpuExtraWord = 0x0007;
  M().SetDeviceCode(0x3004, 0x3005, 6);
  Run(mcrMOVEMWToMem);
  ExpectBusErrorAt(4);
  M().SetDeviceCode(0x3004, 0x3005, 1);
  M().WriteWord(0x3000, 0);
  ResumeAfterFault(mcrMOVEMWToMem);
  EXPECT_EQ(M().ReadWord(0x3000), 0);
  EXPECT_EQ(M().ReadWord(0x3004), 0xC);

  mcPC = kStep;
  mcStage = 18;
  mcrMOVEMWToMem();
  ExpectMicrocodeFault();
}

}  // namespace korva::movetest
