// The front-panel display: two hexadecimal digits that guest software writes
// through the word at 000A04, shown as the text of a label on the main window
// (MainForm->SetFrontPanelText follows every change of the text).
#pragma once
#include <cstdint>
#include <string>
#include "tables/Types.h"

namespace korva {

class classFrontPanel {
 public:
  // Only index 2 acts: bit 7 is kept as a flag; bits 5-4 = 01 set the left
  // digit, 10 the right digit, to the inverted low nibble; the label then shows
  // both digits. Other indexes are ignored.
  void Reg(uint32_t index, uint8_t v);
  uint16_t Reg(uint32_t /*index*/) const { return 0; }
  // Blanks the label; the digits keep their values.
  void Reset();

  uint8_t LeftDigit() const { return left_; }
  uint8_t RightDigit() const { return right_; }
  VBool Flag() const { return flag_; }
  // The label text the main window shows: "" or two upper-case hex digits.
  const std::string& Label() const { return label_; }

 private:
  uint8_t left_ = 0;
  uint8_t right_ = 0;
  VBool flag_ = False;
  std::string label_;
};

extern classFrontPanel FrontPanel;

}  // namespace korva
