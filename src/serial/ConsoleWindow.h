// The members that the console windows of the device ports offer to the rest
// of the program: the cable, the openers, the console-assignment dialog, the
// printer adapters and the main window's close sequence and TCP listener call
// a window only through these. A window of one kind is only ever called
// through its own kind's interface.
//
// Lifetime (see Consoles.h): a port keeps at most one object per kind, made by
// the kind's factory at the port's first opening and deleted only after the
// main loop has returned. "Close" and "unload" below run the window's unload
// steps and hide it; the object stays valid, so a call that is still running
// inside it (an Outchar that pumps events) returns safely. An open on such an
// object loads it afresh (reads its settings again) and shows it.
#pragma once
#include <cstdint>

#include "host/HostSocket.h"
#include "tables/Types.h"

namespace korva {

// Every console window, of every kind.
class ConsoleWindow {
 public:
  virtual ~ConsoleWindow() = default;
  // The device port (0-15) the window serves; the openers set it before opening.
  virtual int16_t PortNumber() const = 0;
  virtual void PortNumber(int16_t port) = 0;
  // One byte sent by the guest: shown, printed or passed on. Called from inside
  // the guest's register write, which completes only when this returns.
  virtual void Outchar(uint8_t byte) = 0;
};

// The windows at the far end of a serial channel (TTY, CRT, NET): the cable
// also reports the two lines the serial card drives.
class SerialConsoleWindow : public ConsoleWindow {
 public:
  // Never called; kept for the transmitter-empty notice. Does nothing.
  virtual void TXAvailableA() {}
  // The card changed the port's DTR or RTS line (the new value, 0 or -1),
  // called before the cable stores it. The windows ignore both.
  virtual void DTRChanged(VBool state) { (void)state; }
  virtual void RTSChanged(VBool state) { (void)state; }
};

// The TTY window (console kind 1).
class TerminalConsoleWindow : public SerialConsoleWindow {
 public:
  // Load when not loaded, show (showMode 0: modeless) and raise the port's
  // lines (Cable.Connect(port, True)).
  virtual void OpenTerminal(int16_t port, int16_t showMode) = 0;
  // Drop the port's lines (Cable.Connect(port, False)) and unload the window.
  virtual void CloseTerminal() = 0;
};

// The CRT terminal window (console kind 2).
class CRTConsoleWindow : public SerialConsoleWindow {
 public:
  // Load when not loaded, show and raise the port's lines.
  virtual void OpenCRT(int16_t port, int16_t showMode) = 0;
  // Drop the port's lines and unload the window.
  virtual void CloseCRT() = 0;
  // Hide and unload without the close procedure (the console dialog): the
  // window's own unload steps run, the port's lines stay as they are.
  virtual void Unload() = 0;
};

// The printer window (console kind 4) of ports 8 and 9. It is fed by the
// parallel board's adapters, not by the cable.
class PrinterConsoleWindow : public ConsoleWindow {
 public:
  // Load when not loaded and show.
  virtual void OpenPrinter(int16_t port, int16_t showMode) = 0;
  // Unload the window (its print file closed, its options saved).
  virtual void ClosePrinter() = 0;
  // Hide and unload without the close procedure (the console dialog): no
  // off-line switch, the window's own unload steps run.
  virtual void Unload() = 0;
  // The status byte the printer offers on the adapter's port B: the on-line or
  // off-line return value of the current state.
  virtual uint8_t GetStatus() = 0;
  // The simulated on-line switch (0 off line, -1 on line), with its optional
  // FAULT and ACK pulses to the adapter.
  virtual void SetOnLine(VBool state) = 0;
  virtual VBool IsOnLine() const = 0;
};

// The role of a NET window.
enum NetRole : int16_t {
  NetStandalone = 0,  // listens on a port of its own
  NetClient = 1,      // connects out
  NetChild = 2,       // served by the main window's listener
};

// The raw TCP console window (console kind 6).
class NetConsoleWindow : public SerialConsoleWindow {
 public:
  // Load when not loaded, show, and drop the port's lines (Cable.Connect(port,
  // False)) until a TCP connection exists. Opening never starts a role.
  virtual void OpenNet(int16_t port, int16_t showMode) = 0;
  // Drop the port's lines and unload the window.
  virtual void CloseNet() = 0;
  // Hide and unload without the close procedure (the console dialog): the
  // window's own unload steps run (its socket closes, the lines drop).
  virtual void Unload() = 0;
  // The window's NetRole; the main listener hands connections only to Child windows.
  virtual int16_t Role() const = 0;
  virtual void Role(int16_t role) = 0;
  // The state of the window's own socket; the main listener hands a
  // connection only to a window whose socket is closed.
  virtual SocketState NetSocketState() const = 0;
  // Take the pending connection request the main listener received.
  virtual void AcceptConnection(int32_t requestId) = 0;
};

}  // namespace korva
