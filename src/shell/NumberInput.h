// A number asked for through the host's input box.
#pragma once
#include <cstdint>
#include <string>

namespace korva {

// Asks (input box) for a number in lo..hi until the answer is valid; an empty
// answer or Cancel returns defaultValue.
int32_t InputNumberInRange(const std::string& name, const std::string& title, int32_t defaultValue, int32_t lo,
                           int32_t hi, int maxLen);

}  // namespace korva
