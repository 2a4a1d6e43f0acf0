// Operand codes: the addressing-mode codes an OpMap entry stores for its source
// and destination, the masks of modes an instruction accepts, and the size
// codes. The opcode-map builders and the micro-routines take them from here.
#pragma once
#include <cstdint>

namespace korva {

// The opcode's mode 7 forms are spread over 7..11 (7 + register field); the
// register field is stored unchanged beside the code.
using EaModeCode = uint16_t;
constexpr EaModeCode EaDn = 0;
constexpr EaModeCode EaAn = 1;
constexpr EaModeCode EaAnIndirect = 2;
constexpr EaModeCode EaAnPostInc = 3;
constexpr EaModeCode EaAnPreDec = 4;
constexpr EaModeCode EaAnDisp16 = 5;
constexpr EaModeCode EaAnIndex = 6;
constexpr EaModeCode EaAbsWord = 7;
constexpr EaModeCode EaAbsLong = 8;
constexpr EaModeCode EaPcDisp16 = 9;
constexpr EaModeCode EaPcIndex = 10;
constexpr EaModeCode EaImmediate = 11;
constexpr EaModeCode EaMoveqData = 16;   // MOVEQ data held in Extra1
constexpr EaModeCode EaQuickData = 17;   // ADDQ/SUBQ data held in Extra1
constexpr EaModeCode EaShiftCount = 18;  // shift or rotate count held in Extra1

// Raw opcode fields of the immediate operand: mode 7, register 4.
constexpr uint16_t ModeSpecial = 7;
constexpr uint16_t RegImmediate = 4;

// Masks of accepted modes: bit k accepts EaModeCode k.
//
//   0b1111'1111'1111
//     |||| |||| |||+ 0 Dn
//     |||| |||| ||+- 1 An
//     |||| |||| |+-- 2 (An)
//     |||| |||| +--- 3 (An)+
//     |||| |||+----- 4 -(An)
//     |||| ||+------ 5 d16(An)
//     |||| |+------- 6 d8(An,Xn)
//     |||| +-------- 7 abs.W
//     |||+---------- 8 abs.L
//     ||+----------- 9 d16(PC)
//     |+------------ 10 d8(PC,Xn)
//     +------------- 11 #imm
using EaCategoryMask = uint16_t;
constexpr EaCategoryMask EaMaskAll             = 0b1111'1111'1111;
constexpr EaCategoryMask EaMaskAllButAn        = 0b1111'1111'1101;
constexpr EaCategoryMask EaMaskDataNoImmediate = 0b0111'1111'1101;
constexpr EaCategoryMask EaMaskMovemToReg      = 0b0111'1110'1100;  // control, and (An)+
constexpr EaCategoryMask EaMaskDnOrControl     = 0b0111'1110'0101;
constexpr EaCategoryMask EaMaskControl         = 0b0111'1110'0100;
constexpr EaCategoryMask EaMaskAlterable       = 0b0001'1111'1111;
constexpr EaCategoryMask EaMaskDataAlterable   = 0b0001'1111'1101;
constexpr EaCategoryMask EaMaskMemoryAlterable = 0b0001'1111'1100;
constexpr EaCategoryMask EaMaskMovemToMem      = 0b0001'1111'0100;  // control alterable, and -(An)
constexpr EaCategoryMask EaMaskAnOnly          = 0b0000'0000'0010;

// Operand sizes; a size mask has bit k set for each accepted size code k.
using SizeCode = uint16_t;
constexpr SizeCode SizeByte = 0;
constexpr SizeCode SizeWord = 1;
constexpr SizeCode SizeLong = 2;
constexpr uint16_t SizeMaskBWL = 0b111;
constexpr uint16_t SizeMaskWL = 0b110;

}  // namespace korva
