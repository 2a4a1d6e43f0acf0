// The picture the screen part of our test ROM draws, for the screen window's
// tests: the ROM runs as the boot ROM after a power-on reset until it stops.
#pragma once
#include <string>

namespace korva {
class ScriptedHost;
}

namespace korva::ui::test {

// Boots tests/guest/testrom_screen.s on a fresh machine; host answers the
// start-up's settings. Returns an empty text when the ROM ended well, else
// what went wrong. The machine's globals keep the picture afterwards.
std::string DrawTestRomScene(ScriptedHost& host);

}  // namespace korva::ui::test
