// The vocabulary the opcode-map builders describe an instruction in: operand
// addressing codes, masks of accepted addressing categories, size codes, the
// setters that store an operand into an OpMap entry, the validity tests, and
// the small texts the disassembly templates are made of.
#pragma once
#include <cstdint>
#include <string>

namespace korva {

// Operand addressing as stored in OpMapEntry::SrcMode / DstMode. The opcode's
// mode 7 forms are spread over 7..11 (7 + register field); the register field
// is stored unchanged beside the code.
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

// Masks of accepted addressing categories: bit k accepts EaModeCode k (0..11).
using EaCategoryMask = uint16_t;
constexpr EaCategoryMask EaMaskAll = 4095;
constexpr EaCategoryMask EaMaskAllButAn = 4093;
constexpr EaCategoryMask EaMaskDataNoImmediate = 2045;
constexpr EaCategoryMask EaMaskMovemToReg = 2028;
constexpr EaCategoryMask EaMaskDnOrControl = 2021;
constexpr EaCategoryMask EaMaskControl = 2020;
constexpr EaCategoryMask EaMaskAlterable = 511;
constexpr EaCategoryMask EaMaskDataAlterable = 509;
constexpr EaCategoryMask EaMaskMemoryAlterable = 508;
constexpr EaCategoryMask EaMaskMovemToMem = 500;
constexpr EaCategoryMask EaMaskAnOnly = 2;

// Operand sizes; a size mask has bit k set for each accepted size code k.
using SizeCode = uint16_t;
constexpr SizeCode SizeByte = 0;
constexpr SizeCode SizeWord = 1;
constexpr SizeCode SizeLong = 2;
constexpr uint16_t SizeMaskBWL = 7;
constexpr uint16_t SizeMaskWL = 6;

// Store an operand of the opcode's OpMap entry: mode 0..6 (and the codes 16..18)
// are stored as given, mode 7 becomes 7 + register; the register is kept as is.
void SetSourceEa(uint16_t mode, uint16_t reg, uint16_t opcode);
void SetDestEa(uint16_t mode, uint16_t reg, uint16_t opcode);
void SetEaBoth(uint16_t mode, uint16_t reg, uint16_t opcode);

// Takes the raw mode and register fields of an opcode. Mode 7 with register
// 0..4 tests bits 7..11; registers 5..7 are never accepted; a mode above 7 is.
bool IsEaAllowed(uint16_t mode, uint16_t reg, EaCategoryMask mask);
// Sizes 0..3 test their bit of the mask; a size above 3 is always accepted.
bool IsSizeAllowed(uint16_t size, uint16_t sizeMask);

// "B", "W", "L", or "X" for any other size code.
const char* SizeLetter(uint16_t size);
// Operand text of a template from the raw mode field (7 with a register) or
// one of the codes 16..18; "" for anything else.
std::string EaText(uint16_t mode, uint16_t reg);
// Condition mnemonic "T", "F", "HI" ... "LE" for 0..15, "" otherwise.
const char* ConditionName(uint16_t cc);
// "TST", "CHG", "CLR", "SET" for bit-operation types 0..3, "" otherwise.
const char* BitOpName(uint16_t type);
// "L" for a data-register operand (mode 0), "B" for memory.
const char* BitOpSize(uint16_t mode);
// Operand masks of the bit operations by type; 0 (nothing accepted) above 3.
EaCategoryMask BitStaticEaMask(uint16_t type);
EaCategoryMask BitDynamicEaMask(uint16_t type);
// The EXG opmodes: 8 data registers, 9 address registers, 17 data and address.
bool IsExgOpmode(uint16_t opmode);

}  // namespace korva
