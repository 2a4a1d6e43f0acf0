// The nine lights under the screen (caps, insert and delete locks, scroll, num
// and the three keypad locks, keyboard locked). Their fill colours are machine
// state: the keyboard and the system control module set them, the screen
// window only paints what is stored here.
#pragma once
#include <cstdint>

namespace korva {

constexpr int KeyboardLightCount = 9;

// Host colours 0x00BBGGRR.
constexpr uint32_t LightOnRGB = 0x0000FF;   // RGB(255, 0, 0)
constexpr uint32_t LightOffRGB = 0x000080;  // RGB(128, 0, 0)

// Index 0-8: caps "A", insert "B", delete "C", scroll "PAD", num "NL", keypad
// divide "HL", keypad multiply "FL", keypad subtract "SL", keyboard locked "KBL".
extern uint32_t KeyboardLightRGB[KeyboardLightCount];

// Light on (bright red) or off (dark red); an index outside 0-8 is ignored.
void SetLights(int light, bool on);
// Colour code 0 RGB(48,48,0), 1 red, 2 green, 3 yellow; other codes and
// indexes outside 0-8 change nothing.
void SetLightColor(int light, int color);

}  // namespace korva
