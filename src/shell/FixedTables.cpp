#include "shell/FixedTables.h"

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
}  // namespace

constinit std::array<uint32_t, 32> BitTable = kBits;
constinit std::array<int32_t, 33> MaskTable = kMasks;

void InitBitTable() { BitTable = kBits; }
void InitMaskTable() { MaskTable = kMasks; }

}  // namespace korva
