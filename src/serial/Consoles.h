// The console kind of each of the sixteen device ports and the opening of their
// console windows at start-up.
#pragma once
#include <array>
#include <cstdint>

namespace korva {

// Console kinds of a device port.
enum ConsoleKind : int32_t {
  ConsoleNone = 0,
  ConsoleTTY = 1,      // terminal window
  ConsoleCRT = 2,      // CRT terminal window
  ConsoleCOM = 3,      // nothing opens
  ConsolePrinter = 4,  // printer window
  ConsoleSpooler = 5,  // nothing opens
  ConsoleNET = 6,      // network console
};
constexpr int32_t ConsoleKindLast = ConsoleNET;
constexpr int DevicePorts = 16;

// Console kind per device port 0-15 ("Devices"/"ConsoleType0".."ConsoleType15").
extern std::array<int32_t, DevicePorts> ConsoleType;
// The most CRT terminal windows the console-assignment window offers.
extern int16_t MaxCRTs;

// What the core asks of the console windows. Until they attach, OpenConsole is
// empty and no window opens.
struct ConsoleWindowHooks {
  // Open the console window of kind (TTY, CRT, Printer or NET) on port.
  void (*OpenConsole)(int16_t port, int32_t kind) = nullptr;
};
extern ConsoleWindowHooks ConsoleWindowHook;

// For each port 0-15 in order, open the console window its ConsoleType names
// (CRT, TTY, Printer and NET open a window; none, COM and Spooler open nothing).
void OpenConsoles();

}  // namespace korva
