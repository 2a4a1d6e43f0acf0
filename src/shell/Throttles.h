// The five throttle bars of the main window and what they set: how often the
// main loop processes window events, how often the keyboard UART and the serial
// cards are polled, how long a disk-controller command takes and how often
// display writes yield to the host.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "shell/MainFormHooks.h"

namespace korva {

constexpr int16_t ThrottleMaxPosition = 15;
// Positions of "Reset Thottles" and of an empty settings store, by bar.
constexpr std::array<int16_t, ThrottleBarCount> ThrottleDefaultPositions = {10, 12, 9, 7, 0};

// The click-cycled bar shown by the throttle label (0-4), starting at 0.
extern int16_t VscLabelIndex;

// The bar's change step: the value for position (clamped to 0-15) goes into
// the bar's global and, for every bar but the CPU one, into its countdown so
// that the new rate applies from the next instruction. Returns the label text,
// for example "T=1023".
std::string ApplyThrottle(ThrottleBar bar, int position);
// The label text for the bar VscLabelIndex selects, then the index moves on
// (4 wraps to 0).
std::string NextThrottleLabel();

}  // namespace korva
