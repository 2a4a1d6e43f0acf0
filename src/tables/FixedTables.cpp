#include "tables/FixedTables.h"

namespace korva {

namespace {
constexpr std::array<uint32_t, 32> BuildBits() {
  std::array<uint32_t, 32> a{};
  for (int k = 0; k < 32; ++k) a[k] = uint32_t{1} << k;
  return a;
}
constexpr std::array<int32_t, 33> BuildMasks() {
  std::array<int32_t, 33> a{};
  for (int k = 0; k < 32; ++k) a[k] = static_cast<int32_t>((uint32_t{1} << k) - 1);
  a[32] = -1;
  return a;
}
constexpr auto kBits = BuildBits();
constexpr auto kMasks = BuildMasks();
// black, red, blue, magenta, green, yellow, cyan, white
constexpr std::array<uint32_t, 8> kGraphics = {0x000000, 0x0000FF, 0xFF0000, 0xFF00FF,
                                               0x00FF00, 0x00FFFF, 0xFFFF00, 0xFFFFFF};
constexpr std::array<uint32_t, 8> kWhite = {0x000000, 0x505050, 0x686868, 0x7C7C7C,
                                            0x989898, 0xB4B4B4, 0xD0D0D0, 0xFFFFFF};
constexpr std::array<uint32_t, 8> kGreen = {0x000000, 0x005000, 0x006C00, 0x008000,
                                            0x009C00, 0x00BC00, 0x00D800, 0x00FF00};
constexpr std::array<int32_t, 16> kDisplaySteps = {0,   1,   4,   8,   16,  64,  80,   128,
                                                   256, 384, 512, 640, 768, 1024, 2048, 4096};
}  // namespace

constinit std::array<uint32_t, 32> BitTable = kBits;
constinit std::array<int32_t, 33> MaskTable = kMasks;
constinit std::array<uint32_t, 8> GraphicsPalette = kGraphics;
constinit std::array<uint32_t, 8> PhosphorPalette = kGreen;
constinit std::array<int32_t, 16> DisplayThrottleTable = kDisplaySteps;

void InitColorTable2() {}
void InitColorTable() { GraphicsPalette = kGraphics; }
void InitBitTable() { BitTable = kBits; }
void InitMaskTable() { MaskTable = kMasks; }
void InitDisplayThrottleTable() { DisplayThrottleTable = kDisplaySteps; }

void SetWhitePhosphor() { PhosphorPalette = kWhite; }
void SetGreenPhosphor() { PhosphorPalette = kGreen; }

}  // namespace korva
