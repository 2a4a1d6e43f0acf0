// The program's version numbers (major.minor.revision), shown by the about box,
// written into created disk images and readable by the guest through MOVEC's
// read-only control registers 0x701-0x703.
#pragma once
#include <cstdint>

namespace korva {

constexpr int16_t AppVersionMajor = 1;
constexpr int16_t AppVersionMinor = 0;
constexpr int16_t AppVersionRevision = 15;

}  // namespace korva
