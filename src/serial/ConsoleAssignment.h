// The console assignment ("I/O Devices"): the grid of ticks, one row per device
// port and one box per console kind, and what applying it does. The dialog
// (serial/ui/formConsoles.h) only shows the boxes; these functions work on the
// ticks as plain data, so they run without widgets.
#pragma once
#include <array>
#include <cstdint>

#include "serial/Consoles.h"

namespace korva {

// The grid's columns, in the dialog's order.
enum ConsoleColumn : int {
  ColumnCRT = 0,
  ColumnTTY = 1,
  ColumnNET = 2,
  ColumnCOM = 3,
  ColumnPrinter = 4,
  ColumnSpooler = 5,
};
constexpr int ConsoleColumns = 6;

// The kind each column stands for.
constexpr std::array<int32_t, ConsoleColumns> ColumnKind = {ConsoleCRT, ConsoleTTY, ConsoleNET,
                                                           ConsoleCOM, ConsolePrinter, ConsoleSpooler};

using ConsoleTicks = std::array<std::array<bool, ConsoleColumns>, DevicePorts>;

// The ticks of the stored kinds: a kind 1-6 ticks its box, any other value none.
ConsoleTicks ShowConsoleTypes();
// The tick rule: ticking a box clears the other five of its row; unticking
// changes nothing else.
void TickConsole(ConsoleTicks& ticks, int port, int column, bool on);
// True when at most MaxCRTs ports have CRT ticked; else the warning box and False.
bool ValidateConsoles(const ConsoleTicks& ticks);
// Per port 0-15: the first ticked of CRT, NET, TTY, COM, Printer, Spooler
// (none: 0) becomes its ConsoleType, then the port's windows of the other
// kinds close (a TTY through CloseTerminal, the others unloaded directly) and
// their entries empty, then the kind's opener runs.
void ApplyConsoleTypes(const ConsoleTicks& ticks);

}  // namespace korva
