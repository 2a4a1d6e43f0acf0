#include "shell/StatusText.h"

#include <cstdio>

#include "host/DateTime.h"

#include "shell/AppVersion.h"

namespace korva {

namespace {
// whole.fraction with the fraction zero-padded to digits places.
std::string Fixed(uint64_t whole, uint64_t fraction, int digits, const char* unit) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%llu.%0*llu %s", static_cast<unsigned long long>(whole), digits,
                static_cast<unsigned long long>(fraction), unit);
  return buf;
}
}  // namespace

std::string IpsText(uint64_t n) {
  if (n > 1000000000) {
    const uint64_t micro = (n + 500) / 1000;  // billionths rounded to millionths
    return Fixed(micro / 1000000, micro % 1000000, 6, "BIPS");
  }
  if (n > 1000000) return Fixed(n / 1000000, n % 1000000, 6, "MIPS");
  if (n > 1000) return Fixed(n / 1000, n % 1000, 3, "KIPS");
  return std::to_string(n) + " IPS";
}

uint64_t InstructionsPerSecond(uint64_t count, int64_t elapsedNanoseconds) {
  if (elapsedNanoseconds <= 0) return count;
  const long double ips = static_cast<long double>(count) * 1e9L / static_cast<long double>(elapsedNanoseconds);
  return static_cast<uint64_t>(ips + 0.5L);
}

std::string EmulatedTimeText(double date) {
  static const char* const months[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const DateParts t = SplitDate(date);
  const int hour12 = t.Hour % 12 == 0 ? 12 : t.Hour % 12;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d %s   %s %d, %04d", hour12, t.Minute, t.Second,
                t.Hour < 12 ? "AM" : "PM", months[(t.Month - 1) % 12], t.Day, t.Year);
  return buf;
}

std::string VersionText() {
  return "V " + std::to_string(AppVersionMajor) + "." + std::to_string(AppVersionMinor) + "." +
         std::to_string(AppVersionRevision);
}

std::string MainCaption(const std::string& profile) {
  return profile.empty() ? std::string("Korvan") : "Korvan - " + profile;
}

}  // namespace korva
