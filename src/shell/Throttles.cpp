#include "shell/Throttles.h"

#include "bus/Memory.h"
#include "cpu/FetchDecode.h"
#include "cpu/MainLoop.h"
#include "tables/FixedTables.h"

namespace korva {

namespace {
constexpr char kLetters[ThrottleBarCount] = {'T', '2', '4', 'R', 'D'};

int32_t ThrottleValue(ThrottleBar bar) {
  switch (bar) {
    case ThrottleBar::vscThrottle: return CpuThrottleMask;
    case ThrottleBar::vscSN2661: return Sn2661PollInterval;
    case ThrottleBar::vscMVME400: return Mvme400PollInterval;
    case ThrottleBar::vscRWIN: return RwinPollInterval;
    default: return DisplayYieldInterval;
  }
}

std::string LabelText(ThrottleBar bar) {
  return std::string(1, kLetters[static_cast<int>(bar)]) + "=" + std::to_string(ThrottleValue(bar));
}
}  // namespace

int16_t VscLabelIndex = 0;

std::string ApplyThrottle(ThrottleBar bar, int position) {
  const size_t p = static_cast<size_t>(position < 0 ? 0 : position > ThrottleMaxPosition ? ThrottleMaxPosition : position);
  switch (bar) {
    case ThrottleBar::vscThrottle: CpuThrottleMask = MaskTable[p]; break;
    case ThrottleBar::vscSN2661: Sn2661PollInterval = Sn2661PollCount = MaskTable[p]; break;
    case ThrottleBar::vscMVME400: Mvme400PollInterval = Mvme400PollCount = MaskTable[p]; break;
    case ThrottleBar::vscRWIN: RwinPollInterval = RwinPollCount = MaskTable[p]; break;
    case ThrottleBar::vscDisplay: DisplayYieldInterval = DisplayYieldCount = DisplayThrottleTable[p]; break;
    default: return "";
  }
  return LabelText(bar);
}

std::string NextThrottleLabel() {
  if (VscLabelIndex < 0 || VscLabelIndex >= ThrottleBarCount) VscLabelIndex = 0;
  const std::string text = LabelText(static_cast<ThrottleBar>(VscLabelIndex));
  VscLabelIndex = static_cast<int16_t>((VscLabelIndex + 1) % ThrottleBarCount);
  return text;
}

}  // namespace korva
