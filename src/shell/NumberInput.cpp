#include "shell/NumberInput.h"
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

}  // namespace korva
