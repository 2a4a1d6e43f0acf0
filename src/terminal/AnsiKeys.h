// modAnsi: the key reassignment that guest software sends in ANSI mode.
#pragma once
#include <cstdint>
#include <string>

namespace korva {

// Stores text into the key string of CrtDefinitions[port] that the IBM PC key
// codes name (code1 0 or 224 with an extended code; 8 BackSpace, 9 Tab with any
// code2). Codes that name no key, and ports outside 0-15, change nothing.
void AnsiRedefineKey(int16_t port, int16_t code1, int16_t code2, const std::string& text);

}  // namespace korva
