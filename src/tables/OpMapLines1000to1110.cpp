// Opcode lines 1000 to 1110: the two-operand arithmetic and logic lines (OR,
// SBCD, DIVU/DIVS; SUB, SUBA, SUBX; EOR, CMP, CMPA, CMPM; AND, ABCD, MULU/MULS,
// EXG; ADD, ADDA, ADDX) and the shifts and rotates.
#include "tables/CpuModel.h"
#include "tables/OpMapBuilders.h"

namespace korva {

namespace {

inline std::string DReg(uint16_t n) { return EaText(EaDn, n); }
inline std::string AReg(uint16_t n) { return EaText(EaAn, n); }

// One operand order of a dyadic instruction: the accepted <ea>, and the start
// by the <ea>'s kind (data register, address register, anything else).
struct DyadicForm {
  EaCategoryMask mask;
  bool anWordLongOnly;  // byte operations on An are rejected
  uint32_t startDn, startAn, startOther;
};

// Bit 8 = 1: Dn r op <ea> -> <ea>; bit 8 = 0: <ea> op Dn r -> Dn r.
// Size code 3 belongs to other instructions of the line and is never accepted.
void MapDyadic(uint32_t base, const char* prefixToEa, const char* prefixToDn, DyadicForm toEa, DyadicForm toDn) {
  for (uint32_t op = base; op <= base + 0xFFF; ++op) {
    const uint16_t reg = OpReg(op), mode = OpMode(op), size = OpSize(op), r = OpReg2(op);
    const uint16_t dir = OpField(op, 8, 8);
    const DyadicForm& f = dir ? toEa : toDn;
    if (!IsEaAllowed(mode, reg, f.mask)) continue;
    if (!IsSizeAllowed(size, (f.anWordLongOnly && mode == EaAn) ? SizeMaskWL : SizeMaskBWL)) continue;
    const uint32_t start = mode == EaDn ? f.startDn : mode == EaAn ? f.startAn : f.startOther;
    const std::string prefix = std::string(dir ? prefixToEa : prefixToDn) + SizeLetter(size) + " ";
    if (dir) {
      SetTemplate(op, 4, prefix + DReg(r) + "," + EaText(mode, reg));
      SetSourceEa(EaDn, r, op);
      SetDestEa(mode, reg, op);
    } else {
      SetTemplate(op, 4, prefix + EaText(mode, reg) + "," + DReg(r));
      SetSourceEa(mode, reg, op);
      SetDestEa(EaDn, r, op);
    }
    SetSize(op, size);
    SetExtra2(op, dir);
    SetStart(op, start);
  }
}

// SUBA, ADDA, CMPA: size code 3, bit 8 picks word or long, <ea> -> An r.
void MapAddressForm(uint32_t pattern, const char* prefix, uint32_t startRegister, uint32_t startOther) {
  for (uint32_t op = pattern & 0xF000; op <= (pattern & 0xF000) + 0xFFF; ++op) {
    if ((op & 0xF0C0) != pattern) continue;
    const uint16_t reg = OpReg(op), mode = OpMode(op), r = OpReg2(op);
    if (!IsEaAllowed(mode, reg, EaMaskAll)) continue;
    const uint16_t size = static_cast<uint16_t>(OpField(op, 8, 8) + 1);
    SetTemplate(op, 4, std::string(prefix) + SizeLetter(size) + " " + EaText(mode, reg) + "," + AReg(r));
    SetSourceEa(mode, reg, op);
    SetDestEa(EaAn, r, op);
    SetSize(op, size);
    SetStart(op, (mode == EaDn || mode == EaAn) ? startRegister : startOther);
  }
}

// SUBX, ADDX, SBCD, ABCD: Dn n,Dn r or -(An n),-(An r) chosen by bit 3.
// sized: the size is bits 7-6, otherwise byte.
void MapRegisterOrPredec(uint32_t andMask, uint32_t pattern, bool sized, const char* mnemonic, uint32_t start0,
                         uint32_t start1) {
  for (uint32_t op = pattern & 0xF000; op <= (pattern & 0xF000) + 0xFFF; ++op) {
    if ((op & andMask) != pattern) continue;
    const uint16_t size = sized ? OpSize(op) : SizeByte;
    if (!IsSizeAllowed(size, SizeMaskBWL)) continue;
    const uint16_t n = OpReg(op), r = OpReg2(op), rm = OpField(op, 3, 3);
    const uint16_t mode = rm ? EaAnPreDec : EaDn;
    SetTemplate(op, 4, std::string(mnemonic) + SizeLetter(size) + " " + EaText(mode, n) + "," + EaText(mode, r));
    SetSourceEa(mode, n, op);
    SetDestEa(mode, r, op);
    SetSize(op, size);
    SetExtra2(op, rm);
    SetStart(op, rm ? start1 : start0);
  }
}

// DIVU/DIVS.W and MULU/MULS.W: <ea>,Dn r; bit 8 set for the signed form.
void MapMulDivWord(uint32_t pattern, const char* signedName, const char* unsignedName, uint32_t startSigned,
                   uint32_t startUnsigned) {
  for (uint32_t op = pattern & 0xF000; op <= (pattern & 0xF000) + 0xFFF; ++op) {
    if ((op & 0xF0C0) != pattern) continue;
    const uint16_t reg = OpReg(op), mode = OpMode(op), r = OpReg2(op), isSigned = OpField(op, 8, 8);
    if (!IsEaAllowed(mode, reg, EaMaskAllButAn)) continue;
    SetTemplate(op, 4, std::string(isSigned ? signedName : unsignedName) + ".W " + EaText(mode, reg) + "," + DReg(r));
    SetSourceEa(mode, reg, op);
    SetDestEa(EaDn, r, op);
    SetSize(op, SizeWord);
    SetExtra2(op, isSigned);
    SetStart(op, isSigned ? startSigned : startUnsigned);
  }
}

const char* const kShiftName[4] = {"AS", "LS", "ROX", "RO"};
// Starts by type, then register left, register right, memory left, memory right.
constexpr uint32_t kShiftStart[4][4] = {
    {McASLReg, McASRReg, McASLMem, McASRMem},
    {McLSLReg, McLSRReg, McLSLMem, McLSRMem},
    {McROXLReg, McROXRReg, McROXLMem, McROXRMem},
    {McROLReg, McRORReg, McROLMem, McRORMem}};

// OR, AND, SUB, ADD: Dn op <ea> -> <ea> for memory operands (one start), and
// <ea> op Dn -> Dn (one start for a register source, one for the others).
void MapToMemoryOrDn(uint32_t base, const char* prefix, uint32_t toEa, EaCategoryMask toDnMask, bool anWordLongOnly,
                     uint32_t registerToDn, uint32_t toDn) {
  MapDyadic(base, prefix, prefix, {EaMaskMemoryAlterable, false, toEa, toEa, toEa},
            {toDnMask, anWordLongOnly, registerToDn, registerToDn, toDn});
}

}  // namespace

void MapOr() { MapToMemoryOrDn(0x8000, "OR.", McORDnToEa, EaMaskAllButAn, false, McORToDn, McORToDn); }
void MapAnd() { MapToMemoryOrDn(0xC000, "AND.", McANDDnToEa, EaMaskAllButAn, false, McANDToDn, McANDToDn); }
void MapSub() { MapToMemoryOrDn(0x9000, "SUB.", McSUBDnToEa, EaMaskAll, true, McSUBRnToDn, McSUBToDn); }
void MapAdd() { MapToMemoryOrDn(0xD000, "ADD.", McADDDnToEa, EaMaskAll, true, McADDRnToDn, McADDToDn); }
void MapEorCmp() {
  MapDyadic(0xB000, "EOR.", "CMP.", {EaMaskDataAlterable, false, McEORReg, McEORDnToEa, McEORDnToEa},
            {EaMaskAll, true, McCMPRnToDn, McCMPRnToDn, McCMPToDn});
}

void MapSuba() { MapAddressForm(0x90C0, "SUBA.", McSUBARn, McSUBA); }
void MapAdda() { MapAddressForm(0xD0C0, "ADDA.", McADDARn, McADDA); }
void MapCmpa() { MapAddressForm(0xB0C0, "CMPA.", McCMPARn, McCMPA); }

void MapSubx() { MapRegisterOrPredec(0xF130, 0x9100, true, "SUBX.", McSUBXReg, McSUBXMem); }
void MapAddx() { MapRegisterOrPredec(0xF130, 0xD100, true, "ADDX.", McADDXReg, McADDXMem); }
void MapSbcd() { MapRegisterOrPredec(0xF1F0, 0x8100, false, "SBCD.", McSBCDReg, McSBCDMem); }
void MapAbcd() { MapRegisterOrPredec(0xF1F0, 0xC100, false, "ABCD.", McABCDReg, McABCDMem); }

void MapCmpm() {
  for (uint32_t op = 0xB000; op <= 0xBFFF; ++op) {
    if ((op & 0xF138) != 0xB108) continue;
    const uint16_t size = OpSize(op);
    if (!IsSizeAllowed(size, SizeMaskBWL)) continue;
    const uint16_t n = OpReg(op), r = OpReg2(op);
    SetTemplate(op, 4, std::string("CMPM.") + SizeLetter(size) + " " + EaText(EaAnPostInc, n) + "," +
                           EaText(EaAnPostInc, r));
    SetSourceEa(EaAnPostInc, n, op);
    SetDestEa(EaAnPostInc, r, op);
    SetSize(op, size);
    SetStart(op, McCMPM);
  }
}

void MapDivWord() { MapMulDivWord(0x80C0, "DIVS", "DIVU", McDIVS, McDIVU); }
void MapMulWord() { MapMulDivWord(0xC0C0, "MULS", "MULU", McMULS, McMULU); }

void MapExg() {
  for (uint32_t op = 0xC000; op <= 0xCFFF; ++op) {
    if ((op & 0xF100) != 0xC100) continue;
    const uint16_t opmode = OpField(op, 7, 3);
    if (!IsExgOpmode(opmode)) continue;
    const uint16_t n = OpReg(op), r = OpReg2(op);
    const uint16_t srcMode = opmode == 9 ? EaAn : EaDn;
    const uint16_t dstMode = opmode == 8 ? EaDn : EaAn;
    SetTemplate(op, 4, "EXG.L " + EaText(srcMode, r) + "," + EaText(dstMode, n));
    SetSourceEa(srcMode, r, op);
    SetDestEa(dstMode, n, op);
    SetSize(op, SizeLong);
    SetExtra2(op, opmode);
    SetStart(op, McEXG);
  }
}

void MapShiftRegister() {
  for (uint32_t op = 0xE000; op <= 0xEFFF; ++op) {
    const uint16_t size = OpSize(op);
    if (!IsSizeAllowed(size, SizeMaskBWL)) continue;
    const uint16_t left = OpField(op, 8, 8), ir = OpField(op, 5, 5), type = OpField(op, 4, 3);
    const uint16_t count = OpReg2(op), n = OpReg(op);
    const uint16_t srcMode = ir ? EaDn : EaShiftCount;
    SetTemplate(op, 4, std::string(kShiftName[type]) + (left ? "L." : "R.") + SizeLetter(size) + " " +
                           EaText(srcMode, count) + "," + DReg(n));
    SetSourceEa(srcMode, count, op);
    SetDestEa(EaDn, n, op);
    if (!ir) SetExtra1(op, count == 0 ? 8 : count);
    SetSize(op, size);
    SetExtra2(op, ir);
    SetStart(op, kShiftStart[type][left ? 0 : 1]);
  }
}

void MapShiftMemory() {
  for (uint32_t op = 0xE0C0; op <= 0xE7FF; ++op) {
    if ((op & 0xF8C0) != 0xE0C0) continue;
    const uint16_t reg = OpReg(op), mode = OpMode(op);
    if (!IsEaAllowed(mode, reg, EaMaskMemoryAlterable)) continue;
    const uint16_t type = OpField(op, 10, 9), left = OpField(op, 8, 8);
    SetTemplate(op, 3, std::string(kShiftName[type]) + (left ? "L" : "R") + ".W " + EaText(mode, reg));
    SetEaBoth(mode, reg, op);
    SetSize(op, SizeWord);
    SetStart(op, kShiftStart[type][left ? 2 : 3]);
  }
}

void MapLine1000() {
  MapOr();
  MapSbcd();
  MapDivWord();
}

void MapLine1001() {
  MapSub();
  MapSuba();
  MapSubx();
}

void MapLine1011() {
  MapEorCmp();
  MapCmpa();
  MapCmpm();
}

void MapLine1100() {
  MapAnd();
  MapAbcd();
  MapMulWord();
  MapExg();
}

void MapLine1101() {
  MapAdd();
  MapAdda();
  MapAddx();
}

void MapLine1110() {
  MapShiftRegister();
  MapShiftMemory();
}

}  // namespace korva
