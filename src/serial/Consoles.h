// The console kind of each of the sixteen device ports, the four arrays of
// console windows and the openers that make and open a port's window.
//
// Window objects: the first opener of a (port, kind) makes the window through
// the kind's factory (the program registers the Qt windows in main.cpp, tests
// register fakes) and keeps the object until DestroyConsoleWindows, which the
// program calls after its main loop has returned. The arrays hold the windows
// that are attached: a window's unload, the console dialog and the close
// sequence empty an entry, which only detaches the object; the next opener of
// that port and kind attaches the same object again and opens it afresh.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "serial/ConsoleWindow.h"

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

inline bool IsDevicePort(int port) { return port >= 0 && port < DevicePorts; }

// Console kind per device port 0-15 ("Devices"/"ConsoleType0".."ConsoleType15").
extern std::array<int32_t, DevicePorts> ConsoleType;
// The most CRT terminal windows the console-assignment window offers.
extern int16_t MaxCRTs;

// The attached window of each port, per kind; nullptr when none is attached.
extern std::array<TerminalConsoleWindow*, DevicePorts> TerminalForms;
extern std::array<CRTConsoleWindow*, DevicePorts> CRTForms;
extern std::array<PrinterConsoleWindow*, DevicePorts> PrinterForms;
extern std::array<NetConsoleWindow*, DevicePorts> NetPortForms;

// Makers of the windows, one per kind, given the port. A kind without a maker
// opens no window (its opener does nothing).
struct ConsoleWindowFactories {
  std::function<std::unique_ptr<TerminalConsoleWindow>(int16_t port)> Terminal;
  std::function<std::unique_ptr<CRTConsoleWindow>(int16_t port)> CRT;
  std::function<std::unique_ptr<PrinterConsoleWindow>(int16_t port)> Printer;
  std::function<std::unique_ptr<NetConsoleWindow>(int16_t port)> Net;
};
extern ConsoleWindowFactories ConsoleFactories;

// The openers: when ConsoleType(port) is the opener's kind (CRT 2, TTY 1,
// Printer 4, NET 6), attach the port's window of that kind (made at the first
// opening), set its PortNumber and open it modeless (show mode 0); the printer
// opener then switches the printer off line. Any other kind, or a port outside
// 0-15: nothing.
void OpenCRTConsole(int16_t port);
void OpenTTYConsole(int16_t port);
void OpenPrinterConsole(int16_t port);
void OpenNetConsole(int16_t port);
// The opener of the kinds without a window (COM, Spooler): does nothing.
void EmptyHook(int16_t port);

// For each port 0-15 in turn: OpenCRTConsole, OpenTTYConsole,
// OpenPrinterConsole, OpenNetConsole.
void OpenConsoles();

// The main window's close sequence: for each port 0-15, the attached CRT, TTY,
// printer and NET windows in this order get their close member, and each
// entry is emptied after its close.
void CloseConsoleWindows();

// Program end, after the main loop has returned (and in tests): empties the
// arrays and deletes every window object made so far, without closing them.
void DestroyConsoleWindows();

}  // namespace korva
