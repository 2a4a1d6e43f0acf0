// Pictures of the screen for the tests: a hash that changes with any pixel, and
// a small PNG writer (RGB, stored deflate blocks) so that a stored
// or failing picture can be looked at.
#pragma once
#include <cstdint>
#include <string>

namespace korva::test {

// FNV-1a over the pixels' 24-bit colours, as 16 hex digits.
std::string ImageHash(const uint32_t* pixels, int width, int height);

// Writes pixels (0x00BBGGRR each, row by row) as an 8-bit RGB PNG. False when
// the file cannot be written.
bool WritePng(const std::string& path, const uint32_t* pixels, int width, int height);

}  // namespace korva::test
