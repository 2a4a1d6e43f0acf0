#include "disk/DiskSettings.h"

namespace korva {

std::array<std::string, 2> BootSrecFileName;
VBool UseSrecStartAddress = False;
VBool UseCpmFileStartAddress = True;
std::array<int32_t, 8> BootDataRegs{};
std::array<int32_t, 8> BootAddressRegs{};
int32_t GetPutBootLoadAddress = 1024;
int32_t GetPutBootBlocks = 32;
int32_t GetPutBootLSN = 0;
int32_t AlternateBootSP = 1280;
int32_t AlternateBootPC = 1024;

namespace {
// Row 0, rows 1 and 3, rows 2 and 4; per row FM/MFM for 128, 256, 512, 1024 bytes.
constexpr std::array<int16_t, 8> kRow0 = {26, 52, 13, 26, 7, 15, 4, 8};
constexpr std::array<int16_t, 8> kRow13 = {16, 32, 8, 16, 4, 8, 2, 4};
constexpr std::array<int16_t, 8> kRow24 = {32, 64, 16, 32, 8, 16, 4, 8};
constexpr std::array<int16_t, 40> DefaultSpt() {
  std::array<int16_t, 40> a{};
  const std::array<int16_t, 8>* rows[5] = {&kRow0, &kRow13, &kRow24, &kRow13, &kRow24};
  for (int r = 0; r < 5; ++r)
    for (int k = 0; k < 8; ++k) a[8 * r + k] = (*rows[r])[k];
  return a;
}
}  // namespace

constinit const std::array<int16_t, 40> RwinDefaultSectorsPerTrack = DefaultSpt();
std::array<int16_t, 40> RwinSectorsPerTrack = DefaultSpt();
std::array<int16_t, 4> RwinDiskType = {1, 1, 1, 1};
std::array<VBool, 4> RwinDiskAuto = {False, False, False, False};
std::array<VBool, 2> RwinJ16A = {False, True};
std::array<VBool, 8> RwinJ16 = {False, True, False, True, True, True, True, True};

int RwinSptIndex(int row, int sizeIndex, int density) { return 8 * row + 2 * sizeIndex + density; }

}  // namespace korva
