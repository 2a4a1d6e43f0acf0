#include "debugger/Disassembler.h"

#include "bus/MMU.h"
#include "bus/Memory.h"
#include "debugger/DebuggerCore.h"
#include "tables/CpuModel.h"
#include "tables/Helpers.h"
#include "tables/OpMap.h"
#include "tables/OperandFields.h"
#include "tables/Packing.h"
#include "tables/TextFormat.h"

namespace korva {

uint32_t DebugAddress = 0;
VBool DebugSpace = False;
uint32_t DisasmAddress = 0;
VBool DisasmSpace = False;
uint32_t DisasmWord = 0;

namespace {

constexpr uint32_t kAddressMask = 0xFFFFFF;
// Operands begin in this column (1-based), right after the mnemonic's blanks.
constexpr int16_t kOperandColumn = 10;

// The cell a disassembler access reads: program space of the given state,
// translated without side effects when the MMU option is on.
const MemoryCell& DisasmCell(uint32_t address, VBool supervisor) {
  uint32_t physical = address;
  if (UseMmuForDisasm) {
    uint32_t r = 0;
    Mmu.TTA(address, supervisor ? 6 : 2, r);
    physical = r & kAddressMask;
  }
  return RamArray[(physical >> 1) & RamIndexMask];
}

int16_t FetchWord() { return FetchDisasmWord(DisasmAddress, DisasmSpace); }
int32_t FetchLong() { return FetchDisasmLong(DisasmAddress, DisasmSpace); }

std::string Dec(int32_t v) { return std::to_string(v); }
std::string Reg(char kind, uint32_t n) { return std::string(1, kind) + static_cast<char>('0' + (n & 7)); }

// The display texts of the bytes of a constant, most significant first.
std::string BytesText(uint32_t value, int count) {
  std::string t;
  for (int i = count - 1; i >= 0; --i) t += ByteDisplayText(static_cast<int32_t>((value >> (8 * i)) & 0xFF), Ascii7Bit, False);
  return t;
}

// "DC.W     $4E71         * ( Nq )": the "*" stands in column 24.
std::string WordConstantLine(uint32_t word) {
  return "DC.W     $" + HexWord(static_cast<uint16_t>(word)) + "         * ( " + BytesText(word, 2) + " )";
}

// Tagged data: one DC.B, DC.W or DC.L line. Constants are not counted.
std::string ConstantLine(uint8_t tag) {
  if (tag == TagLongs) {
    DisasmWord = static_cast<uint32_t>(FetchLong());
    return "DC.L     $" + HexLong(DisasmWord) + "     * ( " + BytesText(DisasmWord, 4) + " )";
  }
  DisasmWord = static_cast<uint16_t>(FetchWord());
  if (tag == TagBytes)
    return "DC.B     $" + HexByte(DisasmWord >> 8) + ",$" + HexByte(DisasmWord) + "       * ( " + BytesText(DisasmWord, 2) +
           " )";
  return WordConstantLine(DisasmWord);
}

// Brief or full index extension word of d8(An,Xn) and d8(PC,Xn); base is "A3" or "PC".
std::string IndexedText(const std::string& base) {
  const ExtWordEntry& x = ExtWordTable[static_cast<uint16_t>(FetchWord())];
  const bool cpu32 = CpuType == Cpu32;
  std::string index = Reg(x.DA == 0 ? 'D' : 'A', x.Reg) + (x.WL == 0 ? ".W" : ".L");
  if (cpu32 && x.Scale != 0) index += x.Scale == 1 ? "*2" : x.Scale == 2 ? "*4" : "*8";
  if (!(cpu32 && x.Full)) {
    const std::string disp = DisplacementsHex ? "$" + HexByte(static_cast<uint32_t>(x.Disp8)) : Dec(x.Disp8);
    return disp + "(" + base + "," + index + ")";
  }
  std::string bd;
  switch (x.BDSize) {
    case 0: bd = "ERROR,"; break;
    case 1: break;
    case 2: {
      const int16_t d = FetchWord();
      bd = (DisplacementsHex ? "$" + HexWord(static_cast<uint16_t>(d)) : Dec(d)) + ".W,";
      break;
    }
    default: {
      const int32_t d = FetchLong();
      bd = (DisplacementsHex ? "$" + HexLong(static_cast<uint32_t>(d)) : Dec(d)) + ".L,";
      break;
    }
  }
  return "(" + bd + (x.BS ? "Z" : "") + base + "," + (x.IS ? "Z" : "") + index + ")";
}

std::string Displacement16(const std::string& base) {
  const int16_t d = FetchWord();
  return (DisplacementsHex ? "$" + HexWord(static_cast<uint16_t>(d)) : Dec(d)) + "(" + base + ")";
}

// The first token of the template followed by the blanks up to the operand column.
std::string Prefix(const std::string& templ) {
  int32_t pos = 1;
  std::string p = GetToken(pos, templ);
  return p + PadToColumn(static_cast<int16_t>(pos), kOperandColumn);
}

// "D3" or "A5" from bits 15-12 of an extension word.
std::string GeneralRegister(uint16_t ext) { return Reg(ext & 0x8000 ? 'A' : 'D', ext >> 12); }

// CPU32 table lookup and interpolate, and LPSTOP (which shares its first word).
std::string TableLine(const OpMapEntry& e) {
  const uint16_t ext = static_cast<uint16_t>(FetchWord());
  if (ext == 0x01C0) return "LPSTOP   #$" + HexWord(static_cast<uint16_t>(FetchWord()));
  std::string m = std::string("TBL") + (ext & 0x0800 ? "S" : "U") + (ext & 0x0400 ? "N" : " ") + "." +
                  SizeLetter((ext >> 6) & 3);
  m.resize(9, ' ');
  m += EffectiveAddressText(e.SrcMode, static_cast<int16_t>(e.SrcReg), e.Size);
  if (e.SrcMode == EaDn) m += ":" + Reg('D', ext);
  return m + "," + Reg('D', ext >> 12);
}

std::string InstructionLine(uint16_t opcode) {
  OpTextEntry& t = OpText[opcode];
  t.Value = static_cast<uint32_t>(AddLongWrap(static_cast<int32_t>(t.Value), 1));
  const OpMapEntry& e = OpMap[opcode];
  auto src = [&e] { return EffectiveAddressText(e.SrcMode, static_cast<int16_t>(e.SrcReg), e.Size); };
  auto dst = [&e] { return EffectiveAddressText(e.DstMode, static_cast<int16_t>(e.DstReg), e.Size); };
  switch (t.FormatCode) {
    case 0: return WordConstantLine(opcode);
    case 2: return Prefix(t.Text) + src();
    case 3: return Prefix(t.Text) + dst();
    case 4: {
      std::string p = Prefix(t.Text) + src();
      return p + "," + dst();
    }
    case 5: return t.Text;
    case 10: return Prefix(t.Text) + "SR," + dst();
    case 11: case 14: case 16: case 18: return Prefix(t.Text) + src() + ",SR";
    case 12: return Prefix(t.Text) + "CCR," + dst();
    case 13: case 15: case 17: case 19: return Prefix(t.Text) + src() + ",CCR";
    case 20: return Prefix(t.Text) + "$" + HexLong(static_cast<uint32_t>(AddLongWrap(e.Extra1, static_cast<int32_t>(DisasmAddress))));
    case 21: {
      const int16_t d = FetchWord();
      return Prefix(t.Text) + "$" + HexLong(DisasmAddress - 2 + static_cast<uint32_t>(static_cast<int32_t>(d)));
    }
    case 36: {
      const int32_t d = FetchLong();
      return Prefix(t.Text) + "$" + HexLong(DisasmAddress - 4 + static_cast<uint32_t>(d));
    }
    case 22: {
      const int16_t d = FetchWord();
      const uint32_t target = DisasmAddress - 2 + static_cast<uint32_t>(static_cast<int32_t>(d));
      return Prefix(t.Text) + dst() + ",$" + HexLong(target);
    }
    case 23: {
      const uint16_t ext = static_cast<uint16_t>(FetchWord());
      const std::string r = GeneralRegister(ext);
      if (ext & 0x0800) return Prefix(t.Text) + r + "," + dst();
      return Prefix(t.Text) + src() + "," + r;
    }
    case 24: {
      const uint16_t ext = static_cast<uint16_t>(FetchWord());
      const std::string r = GeneralRegister(ext), c = ControlRegisterName(static_cast<int16_t>(ext & 0x0FFF));
      return Prefix(t.Text) + (opcode & 1 ? r + "," + c : c + "," + r);
    }
    case 25: {
      const int16_t mask = FetchWord();
      return Prefix(t.Text) + src() + "," + RegisterMaskText(mask);
    }
    case 26: {
      const int16_t mask = FetchWord();
      return Prefix(t.Text) + RegisterMaskText(mask) + "," + dst();
    }
    case 27: {
      const int16_t mask = FetchWord();
      return Prefix(t.Text) + RegisterListText(mask) + "," + dst();
    }
    case 28: {
      const int32_t d = e.Size == SizeLong ? FetchLong() : FetchWord();
      return Prefix(t.Text) + dst() + ",#" + Dec(d);
    }
    case 29: return Prefix(t.Text) + dst();
    case 30: return Prefix(t.Text) + "#" + Dec(e.Extra1 / 4);
    case 31: return Prefix(t.Text) + "#" + Dec(e.Extra1);
    case 33: {
      std::string p = Prefix(t.Text) + EffectiveAddressText(e.SrcMode, static_cast<int16_t>(e.SrcReg), SizeWord);
      return p + "," + dst();
    }
    case 34: return Prefix(t.Text) + src() + ",USP";
    case 35: return Prefix(t.Text) + "USP," + dst();
    case 37: return TableLine(e);
    case 38: {
      const uint16_t ext = static_cast<uint16_t>(FetchWord());
      std::string m = std::string(ext & 0x0800 ? "MULS.L" : "MULU.L") + "   " + src();
      if (ext & 0x0400) return m + "," + Reg('D', ext) + ":" + Reg('D', ext >> 12);
      return m + "," + Reg('D', ext >> 12);
    }
    case 39: {
      const uint16_t ext = static_cast<uint16_t>(FetchWord());
      const char* s = ext & 0x0800 ? "S" : "U";
      const uint16_t dq = (ext >> 12) & 7, dr = ext & 7;
      if (ext & 0x0400) return std::string("DIV") + s + ".L   " + src() + "," + Reg('D', dr) + ":" + Reg('D', dq);
      if (dq == dr) return std::string("DIV") + s + ".L   " + src() + "," + Reg('D', dq);
      return std::string("DIV") + s + "L.L  " + src() + "," + Reg('D', dr) + ":" + Reg('D', dq);
    }
    case 40: {
      const uint16_t ext = static_cast<uint16_t>(FetchWord());
      std::string m = std::string(ext & 0x0800 ? "CHK2." : "CMP2.") + SizeLetter(e.Size) + "   " + src();
      return m + (ext & 0x8000 ? ",A" : ",D") + static_cast<char>('0' + ((ext >> 12) & 7));
    }
    default: return std::string();  // no builder writes these codes: only the opcode word is used
  }
}

}  // namespace

uint8_t ReadMemoryTag(uint32_t address, VBool supervisor) { return DisasmCell(address, supervisor).Tag; }

int16_t FetchDisasmWord(uint32_t address, VBool supervisor) {
  const uint16_t w = DisasmCell(address, supervisor).Data;
  DisasmAddress = (DisasmAddress + 2) & kAddressMask;
  return static_cast<int16_t>(w);
}

int32_t FetchDisasmLong(uint32_t address, VBool supervisor) {
  const uint16_t hi = static_cast<uint16_t>(FetchDisasmWord(address, supervisor));
  const uint16_t lo = static_cast<uint16_t>(FetchDisasmWord((address + 2) & kAddressMask, supervisor));
  return static_cast<int32_t>(MakeLong(hi, lo));
}

std::string EffectiveAddressText(EaModeCode mode, int16_t reg, SizeCode size) {
  const uint32_t n = static_cast<uint32_t>(reg) & 7;
  switch (mode) {
    case EaDn: return Reg('D', n);
    case EaAn: return Reg('A', n);
    case EaAnIndirect: return "(" + Reg('A', n) + ")";
    case EaAnPostInc: return "(" + Reg('A', n) + ")+";
    case EaAnPreDec: return "-(" + Reg('A', n) + ")";
    case EaAnDisp16: return Displacement16(Reg('A', n));
    case EaAnIndex: return IndexedText(Reg('A', n));
    case EaAbsWord: return "$" + HexWord(static_cast<uint16_t>(FetchWord())) + ".W";
    case EaAbsLong: return "$" + HexLong(static_cast<uint32_t>(FetchLong())) + ".L";
    case EaPcDisp16: return Displacement16("PC");
    case EaPcIndex: return IndexedText("PC");
    case EaImmediate:
      switch (size) {
        case SizeByte: return "#$" + HexByte(static_cast<uint16_t>(FetchWord()));
        case SizeWord: return "#$" + HexWord(static_cast<uint16_t>(FetchWord()));
        case SizeLong: return "#$" + HexLong(static_cast<uint32_t>(FetchLong()));
        default: return std::string();
      }
    case EaMoveqData: return "#$" + HexByte(static_cast<uint32_t>(OpMap[DisasmWord & 0xFFFF].Extra1));
    case EaQuickData:
    case EaShiftCount: return "#$" + HexLongTrim(static_cast<uint32_t>(OpMap[DisasmWord & 0xFFFF].Extra1));
    default: return "InvalidEA";
  }
}

std::string Disassemble(uint32_t address, VBool supervisor) {
  DisasmAddress = address;
  DisasmSpace = supervisor;
  const uint8_t tag = ReadMemoryTag(address, supervisor);
  std::string line;
  if (tag == TagBytes || tag == TagWords || tag == TagLongs) {
    line = ConstantLine(tag);
  } else {
    DisasmWord = static_cast<uint16_t>(FetchWord());
    line = InstructionLine(static_cast<uint16_t>(DisasmWord));
  }
  DebugAddress = DisasmAddress;
  DebugSpace = DisasmSpace;
  return line;
}

std::string DisassembleCurrent() { return Disassemble(DebugAddress, DebugSpace); }

void SetMemoryTag(uint32_t start, uint32_t end, uint8_t tag) {
  const uint32_t lo = (start < end ? start : end) >> 1, hi = (start < end ? end : start) >> 1;
  // A range of as many words as memory holds reaches every cell: each is written once.
  if (hi - lo >= RamIndexMask) {
    for (MemoryCell& c : RamArray) c.Tag = tag;
    return;
  }
  for (uint32_t i = lo;; ++i) {
    RamArray[i & RamIndexMask].Tag = tag;
    if (i == hi) break;
  }
}

std::string PadToColumn(int16_t position, int16_t column) {
  if (column < 133 && position < column) return std::string(static_cast<size_t>(column - position), ' ');
  return std::string();
}

std::string ControlRegisterName(int16_t code) {
  switch (code) {
    case 0x000: return "SFC";
    case 0x001: return "DFC";
    case 0x800: return "USP";
    case 0x801: return "VBR";
    case 0x701: return "MAJ";
    case 0x702: return "MIN";
    case 0x703: return "REV";
    case 0x704: return "CPU";
    case 0x705: return "STK";
    default: return "INV";
  }
}

std::string RegisterMaskText(int16_t mask) {
  std::string t;
  const uint16_t m = static_cast<uint16_t>(mask);
  for (uint32_t bit = 0; bit < 16; ++bit) {
    if (!(m & (1u << bit))) continue;
    if (!t.empty()) t += "/";
    t += Reg(bit < 8 ? 'D' : 'A', bit);
  }
  return t;
}

std::string RegisterListText(int16_t mask) {
  const uint16_t m = static_cast<uint16_t>(mask);
  uint16_t reversed = 0;
  for (int bit = 0; bit < 16; ++bit)
    if (m & (1u << bit)) reversed = static_cast<uint16_t>(reversed | (1u << (15 - bit)));
  return RegisterMaskText(static_cast<int16_t>(reversed));
}

void ResetDisassembler() {
  DebugAddress = 0;
  DebugSpace = False;
  DisasmAddress = 0;
  DisasmSpace = False;
  DisasmWord = 0;
}

}  // namespace korva
