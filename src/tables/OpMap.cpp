// Building the opcode map as a whole: clearing, the order of the line builders,
// the defaulting pass, the fixed lines 1010 and 1111 (with the CPU32 table
// lookup and the physical-move instruction) and the extension-word table.
#include "tables/OpMap.h"

#include <algorithm>

#include "tables/CpuModel.h"
#include "tables/OpMapBuilders.h"
#include "tables/TextFormat.h"

namespace korva {

void ClearOpMap() {
  for (OpMapEntry& e : OpMap) e = OpMapEntry{};
}

void ClearOpText() {
  for (OpTextEntry& t : OpText) {
    t.FormatCode = 0;
    t.Value = 0;
    t.Text.clear();
  }
}

void BuildOpMap() {
  MapLine0000();
  MapLine0001();
  MapLine0011();
  MapLine0010();
  MapLine0100();
  MapLine0101();
  MapLine0110();
  MapLine0111();
  MapLine1000();
  MapLine1001();
  MapLine1010();
  MapLine1011();
  MapLine1100();
  MapLine1101();
  MapLine1110();
  MapLine1111();

  // Every opcode nobody claimed is an illegal instruction; a privileged one
  // traps as a privilege violation in user state. The builders have written
  // every size and operand by now, so the register steps are final too.
  for (OpMapEntry& e : OpMap) {
    if (e.SupervisorStart == 0) e.SupervisorStart = McIllegal;
    e.UserStart = e.Privileged != 0 ? McPrivilege : e.SupervisorStart;
    FillAnFields(e);
  }
}

void MapLine1010() {
  for (uint32_t op = 0xA000; op <= 0xAFFF; ++op) OpMap[op].SupervisorStart = McLine1010;
}

void MapLine1111() {
  for (uint32_t op = 0xF000; op <= 0xFFFF; ++op) OpMap[op].SupervisorStart = McLine1111;

  if (CpuType == Cpu32) {
    // Table lookup and interpolate: Dn or a control-mode operand.
    for (uint32_t op = 0xF800; op <= 0xF83F; ++op) {
      const uint16_t reg = OpReg(op), mode = OpMode(op);
      if (!IsEaAllowed(mode, reg, EaMaskDnOrControl)) continue;
      SetStart(op, McTableLookup);
      SetEaBoth(mode, reg, static_cast<uint16_t>(op));
      SetTemplate(op, 37, HexWord(static_cast<uint16_t>(op)) + "CPU32");
    }
  }

  MapMovePhysical();
}

void MapMovePhysical() {
  for (uint32_t op = 0xFE00; op <= 0xFFFF; ++op) {
    OpMapEntry& e = OpMap[op];
    if (MovePhysEn == False) {
      // Back to a plain line-1111 word, exactly as a build with the option off
      // leaves it, so no MOVPHY template or operand outlives the option.
      e = OpMapEntry{};
      e.SupervisorStart = McLine1111;
      e.UserStart = McLine1111;
      SetTemplate(op, 0, std::string());
      continue;
    }
    const uint16_t size = OpSize(op);
    if (!IsSizeAllowed(size, SizeMaskBWL)) continue;  // size code 3 stays line 1111
    const uint16_t toMemory = OpField(op, 8, 8), a = OpField(op, 5, 3), d = OpReg(op);
    e.SupervisorStart = McMOVPHY;
    e.UserStart = McMOVPHY;  // usable in user state; also runs without the defaulting pass
    e.Size = size;
    e.Extra2 = toMemory;
    const uint16_t srcMode = toMemory ? EaDn : EaAnIndirect, srcReg = toMemory ? d : a;
    const uint16_t dstMode = toMemory ? EaAnIndirect : EaDn, dstReg = toMemory ? a : d;
    SetSourceEa(srcMode, srcReg, static_cast<uint16_t>(op));
    SetDestEa(dstMode, dstReg, static_cast<uint16_t>(op));
    SetTemplate(op, 4, std::string("MOVPHY.") + SizeLetter(size) + " " + EaText(srcMode, srcReg) + "," +
                           EaText(dstMode, dstReg));
    FillAnFields(e);
  }
}

void BuildExtWordTable() {
  const bool cpu32 = CpuType == Cpu32;
  for (uint32_t w = 0; w <= 0xFFFF; ++w) {
    ExtWordEntry& x = ExtWordTable[w];
    x = ExtWordEntry{};
    x.DA = static_cast<uint16_t>((w >> 15) & 1);
    x.WL = static_cast<uint16_t>((w >> 11) & 1);
    x.Reg = static_cast<uint16_t>((w >> 12) & 7);
    x.RegField = static_cast<uint16_t>((w >> 12) & 15);
    x.Disp8 = static_cast<int8_t>(w & 0xFF);
    if (!cpu32) continue;
    x.Scale = static_cast<uint16_t>((w >> 9) & 3);
    if ((w & 0x100) == 0) continue;
    x.Full = True;
    x.BS = ToVBool((w & 0x80) != 0);
    x.IS = ToVBool((w & 0x40) != 0);
    x.BDSize = static_cast<uint16_t>((w >> 4) & 3);
    x.IIS = static_cast<uint16_t>(w & 7);
    // Base displacement size 0 is reserved; CPU32 has no memory-indirect forms.
    x.Unsupported = ToVBool(x.BDSize == 0 || x.IIS != 0);
  }
}

std::vector<uint32_t> OpMapStartAddresses() {
  std::vector<uint32_t> starts;
  for (const OpMapEntry& e : OpMap) {
    starts.push_back(e.SupervisorStart);
    starts.push_back(e.UserStart);
  }
  std::sort(starts.begin(), starts.end());
  starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
  return starts;
}

}  // namespace korva
