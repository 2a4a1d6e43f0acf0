// Opcode lines 0001 to 0111: MOVE and MOVEA (byte, word, long), ADDQ, SUBQ,
// Scc, DBcc, TRAPcc, the branches and MOVEQ.
#include "tables/CpuModel.h"
#include "tables/OpMapBuilders.h"

namespace korva {

namespace {

inline bool IsRegisterMode(uint16_t mode) { return mode == EaDn || mode == EaAn; }

// Micro-routine starts of a MOVE by operand kinds.
struct MoveStarts {
  uint32_t regToDn, regToMem, memToDn, memToMem;
};

// Source <ea> from bits 5-3/2-0, destination from mode bits 8-6 and register
// bits 11-9, over one whole MOVE line.
void MapMoveLine(uint32_t base, uint16_t size, const char* mnemonic, EaCategoryMask srcMask,
                 EaCategoryMask dstMask, MoveStarts s) {
  for (uint32_t op = base; op <= base + 0xFFF; ++op) {
    const uint16_t reg = OpReg(op), mode = OpMode(op);
    const uint16_t dreg = OpReg2(op), dmode = OpField(op, 8, 6);
    if (!IsEaAllowed(mode, reg, srcMask) || !IsEaAllowed(dmode, dreg, dstMask)) continue;
    SetTemplate(op, 4, std::string(mnemonic) + SizeLetter(size) + " " + EaText(mode, reg) + "," + EaText(dmode, dreg));
    SetSourceEa(mode, reg, op);
    SetDestEa(dmode, dreg, op);
    SetSize(op, size);
    const bool fromReg = IsRegisterMode(mode), toDn = dmode == EaDn;
    SetStart(op, fromReg ? (toDn ? s.regToDn : s.regToMem) : (toDn ? s.memToDn : s.memToMem));
  }
}

// ADDQ and SUBQ: quick data 1-8 from bits 11-9 (0 meaning 8) in Extra1.
void MapQuick(uint16_t bit8, const char* prefix, uint32_t startDn, uint32_t startAn, uint32_t startOther) {
  for (uint32_t op = 0x5000; op <= 0x5FFF; ++op) {
    if ((op & 0xF100) != (0x5000u | (bit8 << 8))) continue;
    const uint16_t reg = OpReg(op), mode = OpMode(op), size = OpSize(op);
    // No byte operation on an address register.
    if (!IsSizeAllowed(size, mode == EaAn ? SizeMaskWL : SizeMaskBWL)) continue;
    if (!IsEaAllowed(mode, reg, EaMaskAlterable)) continue;
    const uint16_t data = OpReg2(op);
    SetTemplate(op, 4, std::string(prefix) + SizeLetter(size) + " #data3," + EaText(mode, reg));
    SetSourceEa(EaQuickData, 0, op);
    SetDestEa(mode, reg, op);
    SetSize(op, size);
    SetExtra1(op, data == 0 ? 8 : data);
    SetStart(op, mode == EaDn ? startDn : mode == EaAn ? startAn : startOther);
  }
}

}  // namespace

void MapMoveByte() {
  MapMoveLine(0x1000, SizeByte, "MOVE.", EaMaskAllButAn, EaMaskDataAlterable,
              {McMOVEBDnDn, McMOVEBDnToEa, McMOVEBToDn, McMOVEB});
}
void MapMoveWord() {
  MapMoveLine(0x3000, SizeWord, "MOVE.", EaMaskAll, EaMaskDataAlterable,
              {McMOVEWRnDn, McMOVEWRnToEa, McMOVEWToDn, McMOVEW});
}
void MapMoveLong() {
  MapMoveLine(0x2000, SizeLong, "MOVE.", EaMaskAll, EaMaskDataAlterable,
              {McMOVELRnDn, McMOVELRnToEa, McMOVELToDn, McMOVEL});
}
void MapMoveaWord() {
  MapMoveLine(0x3000, SizeWord, "MOVEA.", EaMaskAll, EaMaskAnOnly, {McMOVEAWRn, McMOVEAWRn, McMOVEAW, McMOVEAW});
}
void MapMoveaLong() {
  MapMoveLine(0x2000, SizeLong, "MOVEA.", EaMaskAll, EaMaskAnOnly, {McMOVEALRn, McMOVEALRn, McMOVEAL, McMOVEAL});
}

void MapLine0001() { MapMoveByte(); }

void MapLine0011() {
  MapMoveWord();
  MapMoveaWord();
}

void MapLine0010() {
  MapMoveLong();
  MapMoveaLong();
}

void MapAddq() { MapQuick(0, "ADDQ.", McADDQDn, McADDQAn, McADDQ); }
void MapSubq() { MapQuick(1, "SUBQ.", McSUBQDn, McSUBQAn, McSUBQ); }

void MapScc() {
  for (uint32_t op = 0x50C0; op <= 0x5FFF; ++op) {
    if ((op & 0xF0C0) != 0x50C0) continue;
    const uint16_t reg = OpReg(op), mode = OpMode(op), cc = OpField(op, 11, 8);
    if (!IsEaAllowed(mode, reg, EaMaskDataAlterable)) continue;
    SetTemplate(op, 3, std::string("S") + ConditionName(cc) + ".B " + EaText(mode, reg));
    SetEaBoth(mode, reg, op);
    SetSize(op, SizeByte);
    SetExtra2(op, cc);
    SetStart(op, McScc);
  }
}

void MapDbcc() {
  for (uint32_t op = 0x50C8; op <= 0x5FCF; ++op) {
    if ((op & 0xF0F8) != 0x50C8) continue;
    const uint16_t n = OpReg(op), cc = OpField(op, 11, 8);
    SetTemplate(op, 22, std::string("DB") + ConditionName(cc) + " " + EaText(EaDn, n) + ",label");
    SetEaBoth(EaDn, n, op);
    SetSize(op, SizeWord);
    SetExtra2(op, cc);
    SetStart(op, McDBcc);
  }
}

void MapTrapcc() {
  if (CpuType != Cpu32) return;
  for (uint32_t op = 0x50F8; op <= 0x5FFF; ++op) {
    if ((op & 0xF0F8) != 0x50F8) continue;
    const uint16_t opmode = OpReg(op), cc = OpField(op, 11, 8);
    const std::string name = std::string("TRAP") + ConditionName(cc);
    switch (opmode) {
      case 2:  // a word operand follows
      case 3:  // a long operand follows
        SetTemplate(op, 2, name + (opmode == 2 ? ".W  #WordValue" : ".L  #LongValue"));
        SetEaBoth(ModeSpecial, RegImmediate, op);
        SetSize(op, opmode == 2 ? SizeWord : SizeLong);
        SetStart(op, McTRAPccOperand);
        break;
      case 4:  // no operand
        SetTemplate(op, 5, name);
        SetStart(op, McTRAPcc);
        break;
      default:
        continue;
    }
    SetExtra2(op, cc);
  }
}

void MapLine0101() {
  MapAddq();
  MapSubq();
  MapScc();
  MapDbcc();
  MapTrapcc();
}

void MapBcc() {
  // Starts by condition (0 BRA, 1 BSR, other Bcc) and displacement size.
  static constexpr uint32_t kStart[3][3] = {
      {McBRAB, McBRAW, McBRAL}, {McBSRB, McBSRW, McBSRL}, {McBccB, McBccW, McBccL}};
  for (uint32_t op = 0x6000; op <= 0x6FFF; ++op) {
    const uint16_t cc = OpField(op, 11, 8), d = OpField(op, 7, 0);
    uint16_t size;
    int32_t extra1;
    uint16_t formatCode;
    if (d == 0) {  // a 16-bit displacement follows
      size = SizeWord;
      extra1 = 0;
      formatCode = 21;
    } else if (d == 0xFF && CpuType == Cpu32) {  // a 32-bit displacement follows
      size = SizeLong;
      extra1 = 255;
      formatCode = 36;
    } else {
      size = SizeByte;
      extra1 = static_cast<int8_t>(d);
      formatCode = 20;
    }
    const unsigned kind = cc < 2 ? cc : 2;
    std::string text = cc == 0 ? "BRA." : cc == 1 ? "BSR." : std::string("B") + ConditionName(cc) + ".";
    SetTemplate(op, formatCode, text + SizeLetter(size) + " label");
    SetSize(op, size);
    SetExtra1(op, extra1);
    SetExtra2(op, cc);
    SetStart(op, kStart[kind][size]);
  }
}

void MapLine0110() { MapBcc(); }

void MapMoveq() {
  for (uint32_t op = 0x7000; op <= 0x7FFF; ++op) {
    if ((op & 0xF100) != 0x7000) continue;
    const int32_t data = static_cast<int8_t>(OpField(op, 7, 0));
    const uint16_t r = OpReg2(op);
    SetTemplate(op, 4, "MOVEQ.L #" + std::to_string(data) + "," + EaText(EaDn, r));
    SetExtra1(op, data);
    SetSourceEa(EaMoveqData, 0, op);
    SetDestEa(EaDn, r, op);
    SetSize(op, SizeLong);
    SetStart(op, McMOVEQ);
  }
}

void MapLine0111() { MapMoveq(); }

}  // namespace korva
