// A number asked for through the host's input box.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korva {

// Asks (input box) for a number in lo..hi until the answer is valid; an empty
// answer or Cancel returns defaultValue.
int32_t InputNumberInRange(const std::string& name, const std::string& title, int32_t defaultValue, int32_t lo,
                           int32_t hi, int maxLen);

// The prompt of a box of several lines: the lines joined by CR LF (an empty
// line gives an empty line of the prompt).
std::string PromptLines(const std::vector<std::string>& lines);

// Asks (input box, offering defaultText) again and again until the answer is
// empty or valid. Returns the valid answer; nothing for an empty answer or
// Cancel, which leave everything as it was.
std::optional<std::string> InputUntilEmptyOrValid(const std::string& prompt, const std::string& title,
                                                  const std::string& defaultText,
                                                  const std::function<bool(const std::string&)>& valid);
// The same for a whole number lo..hi: decimal digits only (blanks around them
// allowed), at most ten of them.
std::optional<int32_t> InputNumberUntilEmptyOrValid(const std::string& prompt, const std::string& title,
                                                    int32_t current, int32_t lo, int32_t hi);

}  // namespace korva
