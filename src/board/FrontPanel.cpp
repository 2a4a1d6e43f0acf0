#include "board/FrontPanel.h"
#include "shell/MainFormHooks.h"

namespace korva {

classFrontPanel FrontPanel;

void classFrontPanel::Reg(uint32_t index, uint8_t v) {
  if (index != 2) return;
  flag_ = ToVBool(v & 0x80);
  const uint8_t digit = static_cast<uint8_t>(~v & 0xF);
  switch ((v >> 4) & 3) {
    case 1: left_ = digit; break;
    case 2: right_ = digit; break;
    default: return;
  }
  static constexpr char hex[] = "0123456789ABCDEF";
  label_ = {hex[left_], hex[right_]};
  MainForm->SetFrontPanelText(label_);
}

void classFrontPanel::Reset() {
  label_.clear();
  MainForm->SetFrontPanelText(label_);
}

}  // namespace korva
