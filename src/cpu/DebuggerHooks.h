// What the core asks of the debugger window and the disassembler. The debugger
// attaches by filling DebuggerHook; until then the core does without: no
// refreshes, no status line, and a stand-in disassembly (the word as data).
#pragma once
#include <cstdint>
#include <string>
#include "tables/Types.h"

namespace korva {

struct DebuggerHooks {
  void (*DisplayRegisters)() = nullptr;             // refresh the register pane
  void (*LoadMemoryWatch)(int16_t watch) = nullptr;  // refresh memory watch 0 or 1
  void (*ShowStatus)(const std::string& text) = nullptr;
  // Disassembly of the instruction at address (mnemonic and operands).
  std::string (*Disassemble)(uint32_t address, VBool supervisor) = nullptr;
};
extern DebuggerHooks DebuggerHook;

// Stand-in disassembly: "DC.W $" and the stored word at address.
std::string DisassembleStandIn(uint32_t address);

}  // namespace korva
