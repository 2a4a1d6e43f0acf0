#include "serial/Consoles.h"

#include <cstddef>

namespace korva {

std::array<int32_t, DevicePorts> ConsoleType{};
int16_t MaxCRTs = 4;
ConsoleWindowHooks ConsoleWindowHook;

void OpenConsoles() {
  for (int16_t port = 0; port < DevicePorts; ++port) {
    const int32_t kind = ConsoleType[static_cast<size_t>(port)];
    const bool opensWindow = kind == ConsoleCRT || kind == ConsoleTTY || kind == ConsolePrinter || kind == ConsoleNET;
    if (opensWindow && ConsoleWindowHook.OpenConsole) ConsoleWindowHook.OpenConsole(port, kind);
  }
}

}  // namespace korva
