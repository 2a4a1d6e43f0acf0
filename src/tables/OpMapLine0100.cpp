// Opcode line 0100: the miscellaneous instructions (single-operand arithmetic,
// status-register moves, CHK, LEA, PEA, MOVEM, TRAP, LINK/UNLK, the fixed
// no-operand words, MOVEC, JSR/JMP and the CPU32 long multiply and divide).
#include "tables/CpuModel.h"
#include "tables/OpMapBuilders.h"

namespace korva {

namespace {

inline char Digit(uint16_t n) { return static_cast<char>('0' + (n % 10)); }
inline std::string DReg(uint16_t n) { return std::string{'D', Digit(n & 7)}; }
inline std::string AReg(uint16_t n) { return std::string{'A', Digit(n & 7)}; }

// NEGX, CLR, NEG, NOT and TST: prefix + <size> + " " + <ea> over base..base+0xBF.
// startAn is used only where An passes the mask (TST on CPU32).
template <typename MaskOf>
void MapSingleSized(uint32_t base, const char* prefix, MaskOf maskOf, uint32_t startDn, uint32_t startAn,
                    uint32_t startOther) {
  for (uint32_t op = base; op <= base + 0xBF; ++op) {
    const uint16_t reg = OpReg(op), mode = OpMode(op), size = OpSize(op);
    if (!IsSizeAllowed(size, SizeMaskBWL) || !IsEaAllowed(mode, reg, maskOf(size))) continue;
    SetTemplate(op, 3, std::string(prefix) + SizeLetter(size) + " " + EaText(mode, reg));
    SetEaBoth(mode, reg, op);
    SetSize(op, size);
    SetStart(op, mode == 0 ? startDn : mode == 1 ? startAn : startOther);
  }
}

inline auto FixedMask(EaCategoryMask m) {
  return [m](uint16_t) { return m; };
}

// Moves to and from SR and CCR. Extra2 := bits 10-9, which tell the micro-routine
// which register is read or written (0 SR source, 1 CCR source, 2 CCR
// destination, 3 SR destination).
void MapStatusMove(uint32_t base, EaCategoryMask mask, uint32_t start, uint16_t formatCode, const char* before,
                   const char* after, bool privileged) {
  for (uint32_t op = base; op <= base + 0x3F; ++op) {
    const uint16_t reg = OpReg(op), mode = OpMode(op);
    if (!IsEaAllowed(mode, reg, mask)) continue;
    SetTemplate(op, formatCode, std::string(before) + EaText(mode, reg) + after);
    SetEaBoth(mode, reg, op);
    SetSize(op, SizeWord);
    SetExtra2(op, OpField(op, 10, 9));
    SetStart(op, start);
    if (privileged) SetPrivileged(op);
  }
}

// An instruction word without operands.
void MapFixed(uint32_t op, uint32_t start, bool privileged, uint16_t formatCode, const char* text) {
  SetTemplate(op, formatCode, text);
  SetStart(op, start);
  if (privileged) SetPrivileged(op);
}

// Single-operand instructions of one size: prefix + <ea> over base..last, for
// the operands `mask` accepts. kNoSize leaves the entry's size alone.
constexpr int kNoSize = -1;
void MapSingleEa(uint32_t base, uint32_t last, EaCategoryMask mask, const char* prefix, uint16_t formatCode,
                 int size, uint32_t start) {
  for (uint32_t op = base; op <= last; ++op) {
    const uint16_t reg = OpReg(op), mode = OpMode(op);
    if (!IsEaAllowed(mode, reg, mask)) continue;
    SetTemplate(op, formatCode, std::string(prefix) + EaText(mode, reg));
    SetEaBoth(mode, reg, op);
    if (size != kNoSize) SetSize(op, static_cast<uint16_t>(size));
    SetStart(op, start);
  }
}

// CPU32 MULU.L/MULS.L and DIVU.L/DIVS.L: the operation word follows the opcode.
void MapLongMulDiv(uint32_t base, const char* prefix, uint16_t formatCode, uint32_t start) {
  if (CpuType == Cpu32) MapSingleEa(base, base + 0x3F, EaMaskAllButAn, prefix, formatCode, SizeLong, start);
}

}  // namespace

void MapNegx() { MapSingleSized(0x4000, "NEGX.", FixedMask(EaMaskDataAlterable), McNEGX, McNEGX, McNEGX); }
void MapClr() { MapSingleSized(0x4200, "CLR.", FixedMask(EaMaskDataAlterable), McCLRDn, McCLR, McCLR); }
void MapNeg() { MapSingleSized(0x4400, "NEG.", FixedMask(EaMaskDataAlterable), McNEGDn, McNEG, McNEG); }
void MapNot() { MapSingleSized(0x4600, "NOT.", FixedMask(EaMaskDataAlterable), McNOTDn, McNOT, McNOT); }

void MapTst() {
  // CPU32 also tests An (word and long), PC-relative and immediate operands.
  const bool cpu32 = CpuType == Cpu32;
  MapSingleSized(
      0x4A00, "TST.",
      [cpu32](uint16_t size) {
        if (!cpu32) return EaMaskDataAlterable;
        return size == SizeByte ? EaMaskAllButAn : EaMaskAll;
      },
      McTSTDn, McTSTAn, McTST);
}

void MapMoveFromSr() {
  // Privileged on the MC68010 and CPU32 but not on the MC68000. Both cases are
  // written here so that this builder alone re-maps a model switch.
  const bool privileged = CpuType != Cpu68000;
  for (uint32_t op = 0x40C0; op <= 0x40FF; ++op) {
    const uint16_t reg = OpReg(op), mode = OpMode(op);
    if (!IsEaAllowed(mode, reg, EaMaskDataAlterable)) continue;
    SetTemplate(op, 10, "MOVE.W SR," + EaText(mode, reg));
    SetEaBoth(mode, reg, op);
    SetSize(op, SizeWord);
    SetExtra2(op, OpField(op, 10, 9));
    SetStart(op, McMOVEFromSR);
    OpMapEntry& e = OpMap[op];
    if (privileged) {
      e.UserStart = McPrivilege;
      e.Privileged = 0xFFFF;
    } else {
      e.UserStart = McMOVEFromSR;
      e.Privileged = 0;
    }
    FillAnFields(e);
  }
}

void MapMoveFromCcr() { MapStatusMove(0x42C0, EaMaskDataAlterable, McMOVEFromSR, 12, "MOVE.W CCR,", "", false); }
void MapMoveToCcr() { MapStatusMove(0x44C0, EaMaskAllButAn, McMOVEToSR, 13, "MOVE.W ", ",CCR", false); }
void MapMoveToSr() { MapStatusMove(0x46C0, EaMaskAllButAn, McMOVEToSR, 11, "MOVE.W ", ",SR", true); }

void MapChk(uint16_t r) {
  r &= 7;
  // Bits 8-7: 3 word, 2 long (the long form exists on CPU32 only).
  const uint32_t first = (CpuType == Cpu32 ? 0x4100u : 0x4180u) + 0x200u * r;
  const uint32_t last = 0x41BFu + 0x200u * r;
  for (uint32_t op = first; op <= last; ++op) {
    if ((op & 0xF040) != 0x4000) continue;
    const uint16_t reg = OpReg(op), mode = OpMode(op), sizeBits = OpField(op, 8, 7);
    if (sizeBits < 2 || !IsEaAllowed(mode, reg, EaMaskAllButAn)) continue;
    const uint16_t size = sizeBits == 3 ? SizeWord : SizeLong;
    SetTemplate(op, 4, std::string("CHK.") + SizeLetter(size) + " " + EaText(mode, reg) + "," + DReg(r));
    SetSourceEa(mode, reg, op);
    SetDestEa(EaDn, r, op);
    SetSize(op, size);
    SetStart(op, McCHK);
  }
}

void MapChkAll() {
  for (uint16_t r = 0; r < 8; ++r) MapChk(r);
}

void MapLea(uint16_t r) {
  r &= 7;
  const uint32_t base = 0x41C0u + 0x200u * r;
  for (uint32_t op = base; op <= base + 0x3F; ++op) {
    const uint16_t reg = OpReg(op), mode = OpMode(op);
    if (!IsEaAllowed(mode, reg, EaMaskControl)) continue;
    SetTemplate(op, 4, "LEA.L " + EaText(mode, reg) + "," + AReg(r));
    SetSourceEa(mode, reg, op);
    SetDestEa(EaAn, r, op);
    SetSize(op, SizeLong);
    SetStart(op, McLEA);
  }
}

void MapLeaAll() {
  for (uint16_t r = 0; r < 8; ++r) MapLea(r);
}

void MapNbcd() { MapSingleEa(0x4800, 0x483F, EaMaskDataAlterable, "NBCD.B ", 3, SizeByte, McNBCD); }

void MapSwap() {
  for (uint32_t op = 0x4840; op <= 0x4847; ++op) {
    const uint16_t n = OpReg(op);
    SetTemplate(op, 3, "SWAP.W " + DReg(n));
    SetEaBoth(EaDn, n, op);
    SetSize(op, SizeWord);
    SetStart(op, McSWAP);
  }
}

void MapBkpt() {
  for (uint32_t op = 0x4848; op <= 0x484F; ++op) {
    const uint16_t n = OpReg(op);
    SetTemplate(op, 31, std::string("BKPT #") + Digit(n));
    SetExtra1(op, n);
    SetStart(op, McIllegal2);
  }
}

void MapPea() { MapSingleEa(0x4840, 0x487F, EaMaskControl, "PEA ", 2, SizeLong, McPEA); }

void MapExt() {
  auto one = [](uint32_t first, const char* prefix, uint16_t size) {
    for (uint32_t op = first; op <= first + 7; ++op) {
      const uint16_t n = OpReg(op);
      SetTemplate(op, 3, prefix + DReg(n));
      SetEaBoth(EaDn, n, op);
      SetSize(op, size);
      SetExtra2(op, OpField(op, 8, 6));  // 2 EXT.W, 3 EXT.L, 7 EXTB.L
      SetStart(op, McEXT);
    }
  };
  one(0x4880, "EXT.W ", SizeWord);
  one(0x48C0, "EXT.L ", SizeLong);
  if (CpuType == Cpu32) one(0x49C0, "EXTB.L ", SizeLong);
}

void MapMovemToMem() {
  for (uint32_t op = 0x4880; op <= 0x48FF; ++op) {
    const uint16_t reg = OpReg(op), mode = OpMode(op);
    if (!IsEaAllowed(mode, reg, EaMaskMovemToMem)) continue;
    const uint16_t size = static_cast<uint16_t>(OpField(op, 6, 6) + 1);
    const bool predec = mode == EaAnPreDec;
    SetTemplate(op, predec ? 27 : 26, std::string("MOVEM.") + SizeLetter(size) + " #<DataMask>," + EaText(mode, reg));
    SetSourceEa(ModeSpecial, RegImmediate, op);  // the register mask word
    SetDestEa(mode, reg, op);
    SetSize(op, size);
    SetExtra2(op, OpField(op, 10, 10));
    if (predec)
      SetStart(op, size == SizeWord ? McMOVEMWToMemPredec : McMOVEMLToMemPredec);
    else
      SetStart(op, size == SizeWord ? McMOVEMWToMem : McMOVEMLToMem);
  }
}

void MapTas() { MapSingleEa(0x4AC0, 0x4AFF, EaMaskDataAlterable, "TAS.B ", 3, SizeByte, McTAS); }

void MapIllegal() {
  auto one = [](uint32_t op, const char* text) {
    SetTemplate(op, 5, text);
    OpMap[op].SupervisorStart = McIllegal;
    OpMap[op].UserStart = McIllegal;
  };
  one(0x4AFC, "ILLEGAL");
  if (CpuType == Cpu32) one(0x4AFA, "BGND");
}

void MapMovemToReg() {
  for (uint32_t op = 0x4C80; op <= 0x4CFF; ++op) {
    const uint16_t reg = OpReg(op), mode = OpMode(op);
    if (!IsEaAllowed(mode, reg, EaMaskMovemToReg)) continue;
    const uint16_t size = static_cast<uint16_t>(OpField(op, 6, 6) + 1);
    SetTemplate(op, 25, std::string("MOVEM.") + SizeLetter(size) + " " + EaText(mode, reg) + ",#<DataMask>");
    SetSourceEa(mode, reg, op);
    SetDestEa(ModeSpecial, RegImmediate, op);  // the register mask word
    SetSize(op, size);
    SetExtra2(op, OpField(op, 10, 10));
    SetStart(op, size == SizeWord ? McMOVEMWToRegs : McMOVEMLToRegs);
  }
}

void MapTrap() {
  for (uint32_t op = 0x4E40; op <= 0x4E4F; ++op) {
    const uint16_t v = OpField(op, 3, 0);
    SetTemplate(op, 30, "TRAP #" + std::to_string(v));
    SetExtra1(op, 4 * v);  // vector offset from vector 32
    SetExtra2(op, v);
    SetStart(op, McTRAP);
  }
}

void MapLink() {
  auto one = [](uint32_t first, const char* prefix, uint16_t size, uint32_t start) {
    for (uint32_t op = first; op <= first + 7; ++op) {
      const uint16_t n = OpReg(op);
      SetTemplate(op, 28, prefix + AReg(n) + ",#disp");
      SetSourceEa(ModeSpecial, RegImmediate, op);
      SetDestEa(EaAn, n, op);
      SetSize(op, size);
      SetStart(op, start);
    }
  };
  one(0x4E50, "LINK.W ", SizeWord, McLINKW);
  if (CpuType == Cpu32) one(0x4808, "LINK.L ", SizeLong, McLINKL);
}

void MapUnlk() {
  for (uint32_t op = 0x4E58; op <= 0x4E5F; ++op) {
    const uint16_t n = OpReg(op);
    SetTemplate(op, 29, "UNLK " + AReg(n));
    SetEaBoth(EaAn, n, op);
    SetStart(op, McUNLK);
  }
}

void MapMoveToUsp() {
  for (uint32_t op = 0x4E60; op <= 0x4E67; ++op) {
    const uint16_t n = OpReg(op);
    SetTemplate(op, 34, "MOVE.L " + AReg(n) + ",USP");
    SetEaBoth(EaAn, n, op);
    SetSize(op, SizeLong);
    SetExtra2(op, OpField(op, 3, 3));
    SetStart(op, McMOVEUSP);
    SetPrivileged(op);
  }
}

void MapMoveFromUsp() {
  for (uint32_t op = 0x4E68; op <= 0x4E6F; ++op) {
    const uint16_t n = OpReg(op);
    SetTemplate(op, 35, "MOVE.L USP," + AReg(n));
    SetEaBoth(EaAn, n, op);
    SetSize(op, SizeLong);
    SetExtra2(op, OpField(op, 3, 3));
    SetStart(op, McMOVEUSP);
    SetPrivileged(op);
  }
}

void MapReset() { MapFixed(0x4E70, McRESET, true, 5, "RESET"); }
void MapNop() { MapFixed(0x4E71, McNOP, false, 5, "NOP"); }

void MapStop() {
  MapFixed(0x4E72, McSTOP, true, 2, "STOP #SRdata");
  SetEaBoth(ModeSpecial, RegImmediate, 0x4E72);
  SetSize(0x4E72, SizeWord);
}

void MapRte() { MapFixed(0x4E73, McRTE, true, 5, "RTE"); }

void MapRtd() {
  MapFixed(0x4E74, McRTD, false, 2, "RTD #DISP");
  SetEaBoth(ModeSpecial, RegImmediate, 0x4E74);
  SetSize(0x4E74, SizeWord);
}

void MapRts() { MapFixed(0x4E75, McRTS, false, 5, "RTS"); }
void MapTrapv() { MapFixed(0x4E76, McTRAPV, false, 5, "TRAPV"); }
void MapRtr() { MapFixed(0x4E77, McRTR, false, 5, "RTR"); }

void MapMovec() {
  // Extra2: 0 control register to general register, 1 the reverse.
  MapFixed(0x4E7A, McMOVEC, true, 24, "MOVEC.L CREG,REG");
  MapFixed(0x4E7B, McMOVEC, true, 24, "MOVEC.L REG,CREG");
  for (uint32_t op = 0x4E7A; op <= 0x4E7B; ++op) {
    SetSize(op, SizeLong);
    SetExtra2(op, OpField(op, 0, 0));
  }
}

void MapJsr() { MapSingleEa(0x4E80, 0x4EBF, EaMaskControl, "JSR ", 3, kNoSize, McJSR); }
void MapJmp() { MapSingleEa(0x4EC0, 0x4EFF, EaMaskControl, "JMP ", 3, kNoSize, McJMP); }
void MapMulLong() { MapLongMulDiv(0x4C00, "MulUSL ", 38, McMULL); }
void MapDivLong() { MapLongMulDiv(0x4C40, "DivUSL ", 39, McDIVL); }

void MapLine0100() {
  MapNegx();
  MapMoveFromSr();
  MapChkAll();
  MapLeaAll();
  MapClr();
  MapMoveFromCcr();
  MapNeg();
  MapMoveToCcr();
  MapNot();
  MapMoveToSr();
  MapNbcd();
  MapSwap();
  MapBkpt();
  MapPea();
  MapExt();
  MapMovemToMem();
  MapTst();
  MapTas();
  MapIllegal();
  MapMovemToReg();
  MapTrap();
  MapLink();
  MapUnlk();
  MapMoveToUsp();
  MapMoveFromUsp();
  MapReset();
  MapNop();
  MapStop();
  MapRte();
  MapRtd();
  MapRts();
  MapTrapv();
  MapRtr();
  MapMovec();
  MapJsr();
  MapJmp();
  MapMulLong();
  MapDivLong();
}

}  // namespace korva
