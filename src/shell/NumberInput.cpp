#include "shell/NumberInput.h"
#include <cstdlib>
#include <optional>
#include "host/Host.h"
#include "tables/Helpers.h"
#include "tables/TextFormat.h"

namespace korva {

namespace {
std::string ToDecimal(int32_t v) { return std::to_string(v); }
}  // namespace

int32_t InputNumberInRange(const std::string& name, const std::string& title, int32_t defaultValue, int32_t lo,
                           int32_t hi, int maxLen) {
  const std::string range = ToDecimal(lo) + "-" + ToDecimal(hi);
  for (;;) {
    const std::optional<std::string> answer =
        Host().InputBox("Input " + name + " (" + range + ") ", title, ToDecimal(defaultValue));
    if (!answer || answer->empty()) return defaultValue;
    // The value is read with the same digit limit that validates the text, so an
    // answer longer than six digits cannot slip past the range test.
    if (IsNumberText(*answer, maxLen)) {
      const double v = ValToVariant(*answer, maxLen);
      if (v >= lo && v <= hi) return static_cast<int32_t>(v);
    }
    Host().MessageBox("New " + name + " must be between " + ToDecimal(lo) + " and " + ToDecimal(hi) +
                          ". You input \"" + *answer + "\"",
                      name + " Size Error", MsgButtons::OK, MsgIcon::None);
  }
}

std::string PromptLines(const std::vector<std::string>& lines) {
  std::string prompt;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) prompt += "\r\n";
    prompt += lines[i];
  }
  return prompt;
}

std::optional<std::string> InputUntilEmptyOrValid(const std::string& prompt, const std::string& title,
                                                  const std::string& defaultText,
                                                  const std::function<bool(const std::string&)>& valid) {
  for (;;) {
    const std::optional<std::string> answer = Host().InputBox(prompt, title, defaultText);
    if (!answer || answer->empty()) return std::nullopt;
    if (valid(*answer)) return answer;
  }
}

namespace {
// The whole number of a text of digits with blanks around, or nothing.
std::optional<int64_t> WholeNumber(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::nullopt;
  const size_t last = text.find_last_not_of(' ');
  const std::string digits = text.substr(first, last - first + 1);
  if (digits.size() > 10) return std::nullopt;
  for (const char c : digits)
    if (c < '0' || c > '9') return std::nullopt;
  return std::strtoll(digits.c_str(), nullptr, 10);
}
}  // namespace

std::optional<int32_t> InputNumberUntilEmptyOrValid(const std::string& prompt, const std::string& title,
                                                    int32_t current, int32_t lo, int32_t hi) {
  const std::optional<std::string> answer =
      InputUntilEmptyOrValid(prompt, title, ToDecimal(current), [lo, hi](const std::string& text) {
        const std::optional<int64_t> v = WholeNumber(text);
        return v && *v >= lo && *v <= hi;
      });
  if (!answer) return std::nullopt;
  return static_cast<int32_t>(*WholeNumber(*answer));
}

}  // namespace korva
