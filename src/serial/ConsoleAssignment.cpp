#include "serial/ConsoleAssignment.h"

#include <string>

#include "host/Host.h"

namespace korva {

namespace {

enum class Shut { CRT, TTY, Printer, NET };

// Closes the port's attached window of one kind and empties its entry.
void Close(Shut which, size_t p) {
  switch (which) {
    case Shut::CRT:
      if (CRTConsoleWindow* w = CRTForms[p]) {
        CRTForms[p] = nullptr;
        w->Unload();
      }
      break;
    case Shut::TTY:
      if (TerminalConsoleWindow* w = TerminalForms[p]) {
        TerminalForms[p] = nullptr;
        w->CloseTerminal();
      }
      break;
    case Shut::Printer:
      if (PrinterConsoleWindow* w = PrinterForms[p]) {
        PrinterForms[p] = nullptr;
        w->Unload();
      }
      break;
    case Shut::NET:
      if (NetConsoleWindow* w = NetPortForms[p]) {
        NetPortForms[p] = nullptr;
        w->Unload();
      }
      break;
  }
}

struct Choice {
  int32_t Kind;
  std::array<Shut, 4> Closes;
  int CloseCount;
  void (*Opener)(int16_t);
};

// In the order a row's ticks are taken: CRT, NET, TTY, COM, Printer, Spooler.
constexpr std::array<std::pair<int, Choice>, ConsoleColumns> kChoices = {{
    {ColumnCRT, {ConsoleCRT, {Shut::TTY, Shut::Printer, Shut::NET, Shut::NET}, 3, &OpenCRTConsole}},
    {ColumnNET, {ConsoleNET, {Shut::CRT, Shut::Printer, Shut::TTY, Shut::TTY}, 3, &OpenNetConsole}},
    {ColumnTTY, {ConsoleTTY, {Shut::CRT, Shut::Printer, Shut::NET, Shut::NET}, 3, &OpenTTYConsole}},
    {ColumnCOM, {ConsoleCOM, {Shut::CRT, Shut::Printer, Shut::TTY, Shut::NET}, 4, &EmptyHook}},
    {ColumnPrinter, {ConsolePrinter, {Shut::CRT, Shut::TTY, Shut::NET, Shut::NET}, 3, &OpenPrinterConsole}},
    {ColumnSpooler, {ConsoleSpooler, {Shut::CRT, Shut::Printer, Shut::TTY, Shut::NET}, 4, &EmptyHook}},
}};
constexpr Choice kNone = {ConsoleNone, {Shut::CRT, Shut::Printer, Shut::TTY, Shut::NET}, 4, nullptr};

}  // namespace

ConsoleTicks ShowConsoleTypes() {
  ConsoleTicks ticks{};
  for (size_t p = 0; p < DevicePorts; ++p)
    for (int c = 0; c < ConsoleColumns; ++c) ticks[p][static_cast<size_t>(c)] = ConsoleType[p] == ColumnKind[static_cast<size_t>(c)];
  return ticks;
}

void TickConsole(ConsoleTicks& ticks, int port, int column, bool on) {
  if (!IsDevicePort(port) || column < 0 || column >= ConsoleColumns) return;
  auto& row = ticks[static_cast<size_t>(port)];
  if (on) row.fill(false);
  row[static_cast<size_t>(column)] = on;
}

bool ValidateConsoles(const ConsoleTicks& ticks) {
  int crts = 0;
  for (const auto& row : ticks) crts += row[ColumnCRT] ? 1 : 0;
  if (crts <= MaxCRTs) return true;
  Host().MessageBox("You have specified too many CRTs - Current Maximum is " + std::to_string(MaxCRTs),
                    "Warning - CRT count too high", MsgButtons::OK, MsgIcon::None);
  return false;
}

void ApplyConsoleTypes(const ConsoleTicks& ticks) {
  for (size_t p = 0; p < DevicePorts; ++p) {
    const Choice* choice = &kNone;
    for (const auto& [column, c] : kChoices)
      if (ticks[p][static_cast<size_t>(column)]) {
        choice = &c;
        break;
      }
    // The kind first: a window closed below leaves it as it is.
    ConsoleType[p] = choice->Kind;
    for (int i = 0; i < choice->CloseCount; ++i) Close(choice->Closes[static_cast<size_t>(i)], p);
    if (choice->Opener) choice->Opener(static_cast<int16_t>(p));
  }
}

}  // namespace korva
