#include "shell/Neighbours.h"

namespace korva {

DebuggerWindowHooks DebuggerWindow;
std::array<ConsoleWindow*, ConsolePortCount> CRTForms{};
std::array<ConsoleWindow*, ConsolePortCount> TerminalForms{};
std::array<ConsoleWindow*, ConsolePortCount> PrinterForms{};
std::array<ConsoleWindow*, ConsolePortCount> NetPortForms{};
void (*UnloadKeyboardDisplay)() = nullptr;
void (*UnloadKeyboardWindow)() = nullptr;
void (*UnloadJumpers)() = nullptr;

}  // namespace korva
