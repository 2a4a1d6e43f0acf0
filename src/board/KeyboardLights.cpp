#include "board/KeyboardLights.h"

namespace korva {

constinit uint32_t KeyboardLightRGB[KeyboardLightCount] = {LightOffRGB, LightOffRGB, LightOffRGB,
                                                           LightOffRGB, LightOffRGB, LightOffRGB,
                                                           LightOffRGB, LightOffRGB, LightOffRGB};

namespace {
bool ValidLight(int light) { return light >= 0 && light < KeyboardLightCount; }
}  // namespace

void SetLights(int light, bool on) {
  if (ValidLight(light)) KeyboardLightRGB[light] = on ? LightOnRGB : LightOffRGB;
}

void SetLightColor(int light, int color) {
  static constexpr uint32_t kColors[4] = {0x003030, 0x0000FF, 0x00FF00, 0x00FFFF};
  if (ValidLight(light) && color >= 0 && color < 4) KeyboardLightRGB[light] = kColors[color];
}

}  // namespace korva
