// Host commands that change the machine under a running program (a plug change,
// a CPU-model switch, a remap of the physical-move opcodes) take effect only
// between two instructions: an instruction never runs half under the old and
// half under the new machine. A command asked for while the sequencer stands
// between two instructions (and no control-store word is executing) runs at
// once; otherwise it is held, and the main loop runs it after the word that
// brings the sequencer to the next instruction boundary. A processor stopped in
// the middle of an instruction keeps the command until it runs on to that
// boundary.
#pragma once
#include <cstdint>

namespace korva {

using BoundaryCommand = void (*)();

// The ControlLatch bit of held boundary commands.
constexpr uint8_t LatchBoundaryCommands = 0x10;

// True when no instruction is in flight: the next word is a fetch, the STOP
// wait, the reset entry, the halt or the idle loop, at its first step.
bool AtInstructionBoundary();

// Run command now when no word executes and the sequencer stands at a
// boundary, else hold it (in the order asked; at most 32 wait, further ones are
// refused and false is returned).
bool RunAtInstructionBoundary(BoundaryCommand command);

// The number of held commands.
int HeldBoundaryCommands();

// Called by ApplyControlLatch: runs the held commands when the sequencer stands
// at a boundary, else keeps them and the latch bit for the next word.
void RunHeldBoundaryCommands();

// Drop every held command (test-machine reset).
void ClearBoundaryCommands();

}  // namespace korva
