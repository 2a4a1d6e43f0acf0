#include "host/Settings.h"

#include <optional>
#include <string_view>

#include "host/CodePage.h"
#include "host/Host.h"

namespace korva {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::optional<int64_t> ParseDecimal(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 18) return std::nullopt;
  int64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return negative ? -v : v;
}

}  // namespace

int32_t GetSettingLong(const std::string& section, const std::string& key, int32_t defaultValue, int32_t lo,
                       int32_t hi) {
  const std::optional<int64_t> v = ParseDecimal(Host().GetSetting(section, key, std::to_string(defaultValue)));
  if (!v || *v < lo || *v > hi) return defaultValue;
  return static_cast<int32_t>(*v);
}

VBool GetSettingBool(const std::string& section, const std::string& key, VBool defaultValue) {
  const std::string text = Host().GetSetting(section, key, defaultValue ? "True" : "False");
  const std::string_view t = Trim(text);
  if (EqualsNoCase(t, "True")) return True;
  if (EqualsNoCase(t, "False")) return False;
  if (const std::optional<int64_t> v = ParseDecimal(t)) return ToVBool(*v != 0);
  return defaultValue;
}

std::string GetSettingPath(const std::string& section, const std::string& key, const std::string& defaultValue) {
  std::string text = Host().GetSetting(section, key, defaultValue);
  return text.size() > MaxHostPath ? defaultValue : text;
}

void SaveSettingLong(const std::string& section, const std::string& key, int32_t value) {
  Host().SaveSetting(section, key, std::to_string(value));
}

void SaveSettingBool(const std::string& section, const std::string& key, VBool value) {
  Host().SaveSetting(section, key, value ? "True" : "False");
}

}  // namespace korva
