// Typed access to the settings store of the current host. Values are kept as
// text: numbers in decimal, booleans as "True" or "False". Every read is checked:
// text that is not a number of the right kind, or lies outside the range the
// caller allows, gives the default.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/Host.h"
#include "tables/Types.h"

namespace korva {

// A decimal integer (optional sign, blanks around it allowed) within lo..hi.
int32_t GetSettingLong(const std::string& section, const std::string& key, int32_t defaultValue,
                       int32_t lo = INT32_MIN, int32_t hi = INT32_MAX);
// "True" / "False" in any case, or a decimal number (nonzero is true).
VBool GetSettingBool(const std::string& section, const std::string& key, VBool defaultValue);

// The host's limit on the length of a path, in bytes.
constexpr size_t MaxHostPath = 4096;
// A path or file name: any text up to MaxHostPath bytes; a longer one counts as
// unset and gives the default.
std::string GetSettingPath(const std::string& section, const std::string& key, const std::string& defaultValue);

// Holds the settings store's writes for its lifetime: the saves made meanwhile
// reach the file in one write when the outermost batch ends.
class SettingsBatch {
 public:
  SettingsBatch() { Host().HoldSettings(); }
  ~SettingsBatch() { Host().ReleaseSettings(); }
  SettingsBatch(const SettingsBatch&) = delete;
  SettingsBatch& operator=(const SettingsBatch&) = delete;
};

void SaveSettingLong(const std::string& section, const std::string& key, int32_t value);
void SaveSettingBool(const std::string& section, const std::string& key, VBool value);

}  // namespace korva
