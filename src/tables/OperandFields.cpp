#include "tables/OperandFields.h"

#include "tables/OpMapEntry.h"

namespace korva {

namespace {

inline uint16_t StoredMode(uint16_t mode, uint16_t reg) {
  return mode == ModeSpecial ? static_cast<uint16_t>(ModeSpecial + reg) : mode;
}

}  // namespace

void SetSourceEa(uint16_t mode, uint16_t reg, uint16_t opcode) {
  OpMapEntry& e = OpMap[opcode];
  e.SrcMode = StoredMode(mode, reg);
  e.SrcReg = static_cast<uint8_t>(reg);
}

void SetDestEa(uint16_t mode, uint16_t reg, uint16_t opcode) {
  OpMapEntry& e = OpMap[opcode];
  e.DstMode = StoredMode(mode, reg);
  e.DstReg = static_cast<uint8_t>(reg);
}

void SetEaBoth(uint16_t mode, uint16_t reg, uint16_t opcode) {
  SetSourceEa(mode, reg, opcode);
  SetDestEa(mode, reg, opcode);
}

uint8_t AnStepOf(uint16_t size, uint16_t reg) {
  switch (size) {
    case SizeByte: return (reg & 7) == 7 ? 2 : 1;
    case SizeWord: return 2;
    case SizeLong: return 4;
    default: return 0;
  }
}

void FillAnFields(OpMapEntry& e) {
  auto fill = [&e](uint16_t mode, uint16_t reg, uint8_t& indirectAn, int8_t& pre, int8_t& post) {
    const bool indirect = mode == EaAnIndirect || mode == EaAnPostInc || mode == EaAnPreDec;
    indirectAn = indirect ? static_cast<uint8_t>(reg & 7) : NoIndirectAn;
    const int8_t step = static_cast<int8_t>(AnStepOf(e.Size, reg));
    pre = mode == EaAnPreDec ? static_cast<int8_t>(-step) : int8_t{0};
    post = mode == EaAnPostInc ? step : int8_t{0};
  };
  fill(e.SrcMode, e.SrcReg, e.SrcIndirectAn, e.SrcPreStep, e.SrcPostStep);
  fill(e.DstMode, e.DstReg, e.DstIndirectAn, e.DstPreStep, e.DstPostStep);
}

bool IsEaAllowed(uint16_t mode, uint16_t reg, EaCategoryMask mask) {
  if (mode > ModeSpecial) return true;
  unsigned bit;
  if (mode < ModeSpecial) {
    bit = mode;
  } else {
    if (reg > RegImmediate) return false;
    bit = 7u + reg;
  }
  return ((mask >> bit) & 1u) != 0;
}

bool IsSizeAllowed(uint16_t size, uint16_t sizeMask) {
  if (size > 3) return true;
  return ((sizeMask >> size) & 1u) != 0;
}

const char* SizeLetter(uint16_t size) {
  switch (size) {
    case SizeByte: return "B";
    case SizeWord: return "W";
    case SizeLong: return "L";
    default: return "X";
  }
}

std::string EaText(uint16_t mode, uint16_t reg) {
  const char n = static_cast<char>('0' + (reg & 7));
  switch (mode) {
    case 0: return std::string{'D', n};
    case 1: return std::string{'A', n};
    case 2: return std::string{'(', 'A', n, ')'};
    case 3: return std::string{'(', 'A', n, ')', '+'};
    case 4: return std::string{'-', '(', 'A', n, ')'};
    case 5: return std::string("(D16,A") + n + ")";
    case 6: return std::string("(D8,A") + n + ",Xn)";
    case 7:
      switch (reg) {
        case 0: return "(xxx).W";
        case 1: return "(xxx).L";
        case 2: return "(D16,PC)";
        case 3: return "(D8,PC,Xn)";
        case 4: return "#data";
        default: return "";
      }
    case EaMoveqData: return "#MQdata";
    case EaQuickData: return "#ASQdata";
    case EaShiftCount: return "#RSdata";
    default: return "";
  }
}

const char* ConditionName(uint16_t cc) {
  static const char* const kNames[16] = {"T",  "F",  "HI", "LS", "CC", "CS", "NE", "EQ",
                                         "VC", "VS", "PL", "MI", "GE", "LT", "GT", "LE"};
  return cc < 16 ? kNames[cc] : "";
}

const char* BitOpName(uint16_t type) {
  static const char* const kNames[4] = {"TST", "CHG", "CLR", "SET"};
  return type < 4 ? kNames[type] : "";
}

const char* BitOpSize(uint16_t mode) { return mode == 0 ? "L" : "B"; }

EaCategoryMask BitStaticEaMask(uint16_t type) {
  if (type == 0) return EaMaskDataNoImmediate;
  return type <= 3 ? EaMaskDataAlterable : 0;
}

EaCategoryMask BitDynamicEaMask(uint16_t type) {
  if (type == 0) return EaMaskAllButAn;
  return type <= 3 ? EaMaskDataAlterable : 0;
}

bool IsExgOpmode(uint16_t opmode) { return opmode == 8 || opmode == 9 || opmode == 17; }

}  // namespace korva
