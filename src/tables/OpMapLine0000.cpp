// Opcode line 0000: immediate arithmetic and logic (with their CCR and SR
// forms), MOVES, static and dynamic bit operations, MOVEP and CMP2/CHK2.
#include "tables/CpuModel.h"
#include "tables/OpMapBuilders.h"

namespace korva {

namespace {

// ORI, ANDI, EORI, ADDI, SUBI, CMPI to an effective address: #imm,<ea>.
void MapImmediate(uint32_t base, const char* prefix, EaCategoryMask mask, uint32_t start) {
  for (uint32_t op = base; op <= base + 0xFF; ++op) {
    const uint16_t reg = OpReg(op), mode = OpMode(op), size = OpSize(op);
    if (!IsSizeAllowed(size, SizeMaskBWL) || !IsEaAllowed(mode, reg, mask)) continue;
    SetTemplate(op, 4, std::string(prefix) + SizeLetter(size) + " #data," + EaText(mode, reg));
    SetSourceEa(ModeSpecial, RegImmediate, op);
    SetDestEa(mode, reg, op);
    SetSize(op, size);
    SetStart(op, start);
  }
}

// The CCR (byte) and SR (word, privileged) forms of ORI, ANDI and EORI. The
// micro-routine tells the two apart by Size; no destination operand is written.
void MapImmediateToStatus(uint32_t opcode, const char* prefix, uint16_t formatCode, uint32_t start) {
  const uint16_t size = OpSize(opcode);
  const bool toSr = size == SizeWord;
  SetTemplate(opcode, formatCode, std::string(prefix) + SizeLetter(size) + (toSr ? " #data,SR" : " #data,CCR"));
  SetSourceEa(ModeSpecial, RegImmediate, opcode);
  SetSize(opcode, toSr ? SizeWord : SizeByte);
  SetStart(opcode, start);
  if (toSr) SetPrivileged(opcode);
}

}  // namespace

void MapOri() {
  MapImmediate(0x0000, "ORI.", EaMaskDataAlterable, McORI);
  MapImmediateToStatus(0x003C, "ORI.", 15, McORItoSR);
  MapImmediateToStatus(0x007C, "ORI.", 14, McORItoSR);
}

void MapAndi() {
  MapImmediate(0x0200, "ANDI.", EaMaskDataAlterable, McANDI);
  MapImmediateToStatus(0x023C, "ANDI.", 17, McANDItoSR);
  MapImmediateToStatus(0x027C, "ANDI.", 16, McANDItoSR);
}

void MapEori() {
  MapImmediate(0x0A00, "EORI.", EaMaskDataAlterable, McEORI);
  MapImmediateToStatus(0x0A3C, "EORI.", 19, McEORItoSR);
  MapImmediateToStatus(0x0A7C, "EORI.", 18, McEORItoSR);
}

void MapAddi() { MapImmediate(0x0600, "ADDI.", EaMaskDataAlterable, McADDI); }
void MapSubi() { MapImmediate(0x0400, "SUBI.", EaMaskDataAlterable, McSUBI); }

void MapCmpi() {
  // CPU32 also compares against PC-relative operands.
  MapImmediate(0x0C00, "CMPI.", CpuType == Cpu32 ? EaMaskDataNoImmediate : EaMaskDataAlterable, McCMPI);
}

void MapMoves() {
  for (uint32_t op = 0x0E00; op <= 0x0EFF; ++op) {
    const uint16_t reg = OpReg(op), mode = OpMode(op), size = OpSize(op);
    if (!IsSizeAllowed(size, SizeMaskBWL) || !IsEaAllowed(mode, reg, EaMaskMemoryAlterable)) continue;
    SetTemplate(op, 23, std::string("MOVES.") + SizeLetter(size) + " TO/FROM " + EaText(mode, reg));
    SetEaBoth(mode, reg, op);
    SetSize(op, size);
    SetStart(op, McMOVES);
    SetPrivileged(op);
  }
}

void MapBitStatic() {
  static constexpr uint32_t kStart[4] = {McBTSTImm, McBCHGImm, McBCLRImm, McBSETImm};
  for (uint32_t op = 0x0800; op <= 0x08FF; ++op) {
    const uint16_t reg = OpReg(op), mode = OpMode(op), type = OpSize(op);
    if (!IsEaAllowed(mode, reg, BitStaticEaMask(type))) continue;
    SetTemplate(op, 33, std::string("B") + BitOpName(type) + "." + BitOpSize(mode) + " #BitN," + EaText(mode, reg));
    SetSourceEa(ModeSpecial, RegImmediate, op);
    SetDestEa(mode, reg, op);
    SetSize(op, mode == 0 ? SizeLong : SizeByte);
    SetExtra2(op, type);
    SetStart(op, kStart[type]);
  }
}

void MapBitDynamic(uint16_t r) {
  static constexpr uint32_t kStart[4] = {McBTSTDn, McBCHGDn, McBCLRDn, McBSETDn};
  const uint32_t base = 0x0100u + 0x200u * (r & 7u);
  for (uint32_t op = base; op <= base + 0xFF; ++op) {
    const uint16_t reg = OpReg(op), mode = OpMode(op), type = OpSize(op);
    if (!IsEaAllowed(mode, reg, BitDynamicEaMask(type))) continue;
    SetTemplate(op, 4, std::string("B") + BitOpName(type) + "." + BitOpSize(mode) + " D" +
                           static_cast<char>('0' + (r & 7)) + "," + EaText(mode, reg));
    SetSourceEa(EaDn, r & 7, op);
    SetDestEa(mode, reg, op);
    SetSize(op, mode == 0 ? SizeLong : SizeByte);
    SetExtra2(op, type);
    SetStart(op, kStart[type]);
  }
}

void MapBitDynamicAll() {
  for (uint16_t r = 0; r < 8; ++r) MapBitDynamic(r);
}

void MapMovep() {
  for (uint16_t d = 0; d < 8; ++d) {
    for (uint16_t k = 0; k < 4; ++k) {
      for (uint16_t a = 0; a < 8; ++a) {
        const uint32_t op = 0x0108u + 0x200u * d + 0x40u * k + a;
        const bool toMemory = k >= 2;
        const uint16_t size = (k & 1) ? SizeLong : SizeWord;
        const uint16_t srcMode = toMemory ? EaDn : EaAnDisp16, srcReg = toMemory ? d : a;
        const uint16_t dstMode = toMemory ? EaAnDisp16 : EaDn, dstReg = toMemory ? a : d;
        SetTemplate(op, 4, std::string(size == SizeLong ? "MOVEP.L " : "MOVEP.W ") + EaText(srcMode, srcReg) + "," +
                               EaText(dstMode, dstReg));
        SetSourceEa(srcMode, srcReg, op);
        SetDestEa(dstMode, dstReg, op);
        SetSize(op, size);
        SetExtra2(op, 4 + k);  // the opmode field, bits 8-6
        SetStart(op, toMemory ? McMOVEPToMem : McMOVEPToReg);
      }
    }
  }
}

void MapCmp2Chk2() {
  if (CpuType != Cpu32) return;
  for (uint32_t op = 0x00C0; op <= 0x06FF; ++op) {
    if ((op & 0xF1C0) != 0x00C0) continue;
    const uint16_t reg = OpReg(op), mode = OpMode(op), size = OpField(op, 10, 9);
    if (!IsSizeAllowed(size, SizeMaskBWL) || !IsEaAllowed(mode, reg, EaMaskControl)) continue;
    SetTemplate(op, 40, std::string("Cmp2Chk2.") + SizeLetter(size) + EaText(mode, reg));
    SetEaBoth(mode, reg, op);
    SetSize(op, size);
    SetStart(op, McCMP2);
  }
}

void MapLine0000() {
  MapOri();
  MapAndi();
  MapEori();
  MapAddi();
  MapSubi();
  MapCmpi();
  MapMoves();
  MapBitStatic();
  MapBitDynamicAll();
  MapMovep();
  MapCmp2Chk2();
}

}  // namespace korva
