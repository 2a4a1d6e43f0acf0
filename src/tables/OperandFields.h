// The vocabulary the opcode-map builders describe an instruction in: the
// operand codes (tables/OperandCodes.h), the setters that store an operand into
// an OpMap entry, the validity tests, and the small texts the disassembly
// templates are made of.
#pragma once
#include <cstdint>
#include <string>

#include "tables/OpMapEntry.h"
#include "tables/OperandCodes.h"

namespace korva {

// Store an operand of the opcode's OpMap entry: mode 0..6 (and the codes 16..18)
// are stored as given, mode 7 becomes 7 + register; the register (a 3-bit field) is
// kept as is.
void SetSourceEa(uint16_t mode, uint16_t reg, uint16_t opcode);
void SetDestEa(uint16_t mode, uint16_t reg, uint16_t opcode);
void SetEaBoth(uint16_t mode, uint16_t reg, uint16_t opcode);

// The address-register step of an operand: 1 for a byte (2 on A7, which keeps
// the stack even), 2 for a word, 4 for a long, 0 for any other size code.
uint8_t AnStepOf(uint16_t size, uint16_t reg);
// Fills the entry's IndirectAn fields and pre and post steps from its Size and
// operand modes and registers. Run on every entry once its other fields are final: the defaulting
// pass of a build, and any builder that rewrites entries on its own.
void FillAnFields(OpMapEntry& e);

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
