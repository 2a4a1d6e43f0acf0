// The disassembler: one text line per instruction (or per data word the user
// tagged as constants) read straight from the memory cells, never through the
// bus, so looking at code never disturbs a device. It decodes nothing itself:
// the opcode's template and format code come from OpText, its operand fields
// from OpMap; it fetches the extension words and renders the operands. Every
// instruction it decodes counts in its opcode's frequency counter.
#pragma once
#include <cstdint>
#include <string>

#include "tables/OperandCodes.h"
#include "tables/Types.h"

namespace korva {

// ---- State of the debugger's disassembly (one instance) ----

// Where the next DisassembleCurrent starts; every Disassemble leaves the
// address after its line here, with its supervisor flag in DebugSpace.
extern uint32_t DebugAddress;
extern VBool DebugSpace;
// While a line is built: the next word to fetch (kept to 24 bits), its
// supervisor flag and the opcode word (or the data of a constant line).
extern uint32_t DisasmAddress;
extern VBool DisasmSpace;
extern uint32_t DisasmWord;
// The options Ascii7Bit, DisplacementsHex and UseMmuForDisasm are the
// debugger's (debugger/DebuggerCore.h).

// Memory tags: how the disassembler shows a word (MemoryCell.Tag).
constexpr uint8_t TagNone = 0;
constexpr uint8_t TagCode = 1;
constexpr uint8_t TagBytes = 10;
constexpr uint8_t TagWords = 11;
constexpr uint8_t TagLongs = 12;

// The line of the instruction or constant at address (no address column).
std::string Disassemble(uint32_t address, VBool supervisor);
// Disassemble of DebugAddress and DebugSpace.
std::string DisassembleCurrent();

// Tags every word from min(start, end) to max(start, end), both included.
void SetMemoryTag(uint32_t start, uint32_t end, uint8_t tag);

// The text of one operand; fetches the operand's extension words.
std::string EffectiveAddressText(EaModeCode mode, int16_t reg, SizeCode size);

// The disassembler's memory: function code 6 (supervisor) or 2, through the
// MMU's side-effect-free translation when UseMmuForDisasm is set.
uint8_t ReadMemoryTag(uint32_t address, VBool supervisor);
// The word at address; DisasmAddress then moves on by 2 (whatever address was given).
int16_t FetchDisasmWord(uint32_t address, VBool supervisor);
int32_t FetchDisasmLong(uint32_t address, VBool supervisor);

// column - position blanks when column < 133 and position < column, else "".
std::string PadToColumn(int16_t position, int16_t column);
// MOVEC's control register names; "INV" for any other code.
std::string ControlRegisterName(int16_t code);
// "D0/D1/A6": bit 0 is D0 ... bit 15 A7, joined with "/", never as ranges.
std::string RegisterMaskText(int16_t mask);
// The same for the reversed mask of the predecrement form.
std::string RegisterListText(int16_t mask);

// The addresses back to their start-up values (options, memory tags and
// counters are not touched).
void ResetDisassembler();

}  // namespace korva
