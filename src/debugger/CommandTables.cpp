// The list of command tables the dispatcher looks in. Each group of commands
// keeps its own table in its own file and has one line here; the blank lines
// between the groups keep additions to different groups apart.
#include "debugger/DebuggerCore.h"

namespace korva {

// Run control, switches, device dumps, number base, version, help.
extern const CommandTable RunCommands, DeviceCommands;

// Breakpoints and the trace table.
extern const CommandTable BreakCommands;

// Registers and memory watches.
extern const CommandTable RegisterCommands;

// Disassembly, memory tags and opcode frequencies.
extern const CommandTable DisasmCommands;

// Memory display, change, fill and search.
extern const CommandTable MemoryCommands, FindCommands;

// VersaDOS structures and system-module displays.
extern const CommandTable StructureCommands;

namespace {
const CommandTable* const kTables[] = {
    &RunCommands,
    &DeviceCommands,

    &BreakCommands,

    // registers and watches
    &RegisterCommands,

    // disassembly
    &DisasmCommands,

    // memory
    &MemoryCommands,
    &FindCommands,

    // structures
    &StructureCommands,
};
}  // namespace

std::span<const CommandTable* const> AllCommandTables() { return kTables; }

}  // namespace korva
