#include "serial/Consoles.h"

#include <cstddef>

namespace korva {

std::array<int32_t, DevicePorts> ConsoleType{};
int16_t MaxCRTs = 4;
std::array<TerminalConsoleWindow*, DevicePorts> TerminalForms{};
std::array<CRTConsoleWindow*, DevicePorts> CRTForms{};
std::array<PrinterConsoleWindow*, DevicePorts> PrinterForms{};
std::array<NetConsoleWindow*, DevicePorts> NetPortForms{};
ConsoleWindowFactories ConsoleFactories;

namespace {

// Every window object made so far, per kind and port; they outlive detaching.
std::array<std::unique_ptr<TerminalConsoleWindow>, DevicePorts> madeTerminals;
std::array<std::unique_ptr<CRTConsoleWindow>, DevicePorts> madeCRTs;
std::array<std::unique_ptr<PrinterConsoleWindow>, DevicePorts> madePrinters;
std::array<std::unique_ptr<NetConsoleWindow>, DevicePorts> madeNets;

// The window to open for the port when its kind matches: the attached one, else
// the one made before, else a new one from the factory (nullptr without one).
template <typename W, typename Factory>
W* AttachWindow(int16_t port, int32_t kind, std::array<W*, DevicePorts>& forms,
                std::array<std::unique_ptr<W>, DevicePorts>& made, const Factory& factory) {
  if (!IsDevicePort(port)) return nullptr;
  const auto p = static_cast<size_t>(port);
  if (ConsoleType[p] != kind) return nullptr;
  if (!forms[p]) {
    if (!made[p]) {
      if (!factory) return nullptr;
      made[p] = factory(port);
      if (!made[p]) return nullptr;
    }
    forms[p] = made[p].get();
  }
  forms[p]->PortNumber(port);
  return forms[p];
}

// Closes the attached window of one array entry and empties the entry.
template <typename W, typename Close>
void CloseEntry(W*& entry, Close close) {
  if (W* w = entry) {
    (w->*close)();
    entry = nullptr;
  }
}

}  // namespace

void OpenCRTConsole(int16_t port) {
  if (CRTConsoleWindow* w = AttachWindow(port, ConsoleCRT, CRTForms, madeCRTs, ConsoleFactories.CRT))
    w->OpenCRT(port, 0);
}

void OpenTTYConsole(int16_t port) {
  if (TerminalConsoleWindow* w = AttachWindow(port, ConsoleTTY, TerminalForms, madeTerminals, ConsoleFactories.Terminal))
    w->OpenTerminal(port, 0);
}

void OpenPrinterConsole(int16_t port) {
  if (PrinterConsoleWindow* w = AttachWindow(port, ConsolePrinter, PrinterForms, madePrinters, ConsoleFactories.Printer)) {
    w->OpenPrinter(port, 0);
    w->SetOnLine(False);
  }
}

void OpenNetConsole(int16_t port) {
  if (NetConsoleWindow* w = AttachWindow(port, ConsoleNET, NetPortForms, madeNets, ConsoleFactories.Net))
    w->OpenNet(port, 0);
}

void EmptyHook(int16_t) {}

void OpenConsoles() {
  for (int16_t port = 0; port < DevicePorts; ++port) {
    OpenCRTConsole(port);
    OpenTTYConsole(port);
    OpenPrinterConsole(port);
    OpenNetConsole(port);
  }
}

void CloseConsoleWindows() {
  for (size_t p = 0; p < DevicePorts; ++p) {
    CloseEntry(CRTForms[p], &CRTConsoleWindow::CloseCRT);
    CloseEntry(TerminalForms[p], &TerminalConsoleWindow::CloseTerminal);
    CloseEntry(PrinterForms[p], &PrinterConsoleWindow::ClosePrinter);
    CloseEntry(NetPortForms[p], &NetConsoleWindow::CloseNet);
  }
}

void DestroyConsoleWindows() {
  TerminalForms = {};
  CRTForms = {};
  PrinterForms = {};
  NetPortForms = {};
  for (auto& w : madeTerminals) w.reset();
  for (auto& w : madeCRTs) w.reset();
  for (auto& w : madePrinters) w.reset();
  for (auto& w : madeNets) w.reset();
}

}  // namespace korva
