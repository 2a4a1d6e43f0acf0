// The texts of the main window's status labels.
#pragma once
#include <cstdint>
#include <string>

namespace korva {

// Instructions per second: "1000 IPS", "1.001 KIPS", "1.000001 MIPS",
// "1.000000 BIPS" (three decimals for KIPS, six for MIPS and BIPS).
std::string IpsText(uint64_t n);
// Instructions per second from a count over a measured span: the count itself
// when the span is not positive.
uint64_t InstructionsPerSecond(uint64_t count, int64_t elapsedNanoseconds);
// The emulated date and time as "hh:mm:ss AMPM   mmm d, yyyy", 12-hour clock,
// for example "03:04:05 PM   Dec 7, 2026" (rounded to the second).
std::string EmulatedTimeText(double date);
// The program version as "V 1.0.15".
std::string VersionText();
// The main window's caption: "Korvan", or "Korvan - " and the profile.
std::string MainCaption(const std::string& profile);

}  // namespace korva
