#include "terminal/AbilitiesEditor.h"

#include <algorithm>
#include <cstdlib>

#include "host/Host.h"
#include "tables/Helpers.h"
#include "tables/TextFormat.h"

namespace korva {

namespace {

constexpr std::array<AbilityEntry, AbilityCount> kAbilities = {{
    {"NULL", 0}, {"Bell", 1}, {"BackSpace", 2}, {"Tab (Obey NoWrap,ScrollLock)", 3}, {"TabNoWrap", 113},
    {"TabFillNoWrap", 115}, {"BackTabNoWrap", 120}, {"TabWrap", 114}, {"BackTabWrap", 121},
    {"TabWrapScreen", 116}, {"BackTabWrapScreen", 122}, {"LF", 4}, {"CR", 5}, {"CRLF", 6}, {"ESC", 7},
    {"ClearScreen", 9}, {"HomeCursor", 8}, {"ClearEOS", 10}, {"ClearEOSnext", 11}, {"ClearEOScurrent", 12},
    {"ClearLine", 16}, {"ClearEOL", 17}, {"InsertLineAboveScrollDown", 20}, {"InsertLineBelowScrollUp", 21},
    {"InsertCharRight", 23}, {"InsertCharLeft", 24}, {"DeleteLineScrollUp", 25}, {"DeleteLineScrollDown", 26},
    {"EraseCharRight", 27}, {"EraseCharLeft", 28}, {"CursorUp", 31}, {"CursorUpScroll", 32},
    {"CursorUpNoScroll", 33}, {"CCursorDown", 34}, {"CursorDownScroll", 35}, {"CursorDownNoScroll", 36},
    {"CursorLeft", 37}, {"CursorLeftWrap", 38}, {"CursorLeftNoWrap", 39}, {"CursorRight", 40},
    {"CursorRightWrap", 41}, {"CursorRightNoWrap", 42}, {"ScrollUp", 43}, {"ScrollDown", 44},
    {"ScrollLock", 45}, {"ScrollUnLock", 46}, {"ScrollLockToggle", 47}, {"WrapOff", 48}, {"WrapOn", 49},
    {"WrapToggle", 50}, {"GotoXYbinary", 51}, {"GotoCustom", 52}, {"GotoXYbinaryPlus32", 53},
    {"GotoYXbinary", 54}, {"GotoYXbinaryPlus32", 56}, {"80x24", 57}, {"80x25", 58}, {"Dump1", 59},
    {"Dump2", 60}, {"Dump3", 61}, {"Dump4", 62}, {"Dump5", 63}, {"Dump6", 64}, {"Dump7", 65}, {"Dump8", 66},
    {"SetTextHI", 67}, {"SetTextLO", 68}, {"SetBackHI", 69}, {"SetBackLO", 70}, {"TextColorBlack", 71},
    {"TextColorBlue", 72}, {"TextColorGreen", 73}, {"TextColorCyan", 74}, {"TextColorRed", 75},
    {"TextColorMagenta", 76}, {"TextColorYellow", 77}, {"TextColorWhite", 78}, {"BackColorBlack", 79},
    {"BackColorBlue", 80}, {"CBackColorGreen", 81}, {"BackColorCyan", 82}, {"BackColorRed", 83},
    {"BackColorMagenta", 84}, {"BackColorYellow", 85}, {"BackColorWhite", 86}, {"DelCharRight", 87},
    {"DelCharLeft", 88}, {"SaveLine", 89}, {"SaveColumn", 90}, {"SavePosition", 91}, {"RestoreLine", 92},
    {"RestoreColumn", 93}, {"RestorePosition", 94}, {"BoldOn", 104}, {"BoldOff", 105}, {"BoldToggle", 106},
    {"InverseOn", 95}, {"InverseOff", 96}, {"InverseToggle", 97}, {"UnderLineOn", 101},
    {"UnderLineOff", 102}, {"UnderLineToggle", 103}, {"StrikeOn", 98}, {"StrikeOff", 99},
    {"StrikeToggle", 100}, {"ItalicOn", 107}, {"ItalicOff", 108}, {"ItalicToggle", 109}, {"InsertON", 110},
    {"InsertOFF", 111}, {"SubstituteBlank", 112}, {"Cromemco3200Attr", 117}, {"SetTabCurrentPos", 118},
    {"ClrTabCurrentPos", 119},
}};

// Digits and range of the four range-checked fields.
struct Range {
  int Digits, Min, Max;
};
Range RangeOf(DefinitionField f) {
  switch (f) {
    case FieldLines: return {2, 1, CrtMaxLines};
    case FieldColumns: return {3, 4, CrtMaxColumns};
    default: return {3, -128, 255};
  }
}

long FieldValue(std::string_view text) { return static_cast<long>(ValToVariant(text, 6)); }

int16_t FieldInt16(const std::string& text) { return static_cast<int16_t>(std::clamp(FieldValue(text), -32768L, 32767L)); }

}  // namespace

const std::array<AbilityEntry, AbilityCount>& AbilityList() { return kAbilities; }

std::string AbilityName(int32_t code) {
  for (const AbilityEntry& e : kAbilities)
    if (e.Code == code) return e.Name;
  return {};
}

std::string TableLineText(int i, int32_t code) {
  i &= 255;
  std::string s = FormatNumber3(static_cast<uint8_t>(i));
  s += ' ';
  s += (i >= 32 && i <= 126) ? static_cast<char>(i) : ' ';
  s += " (" + HexByte(static_cast<uint32_t>(i)) + ")-";
  if (code != 0) s += AbilityName(code);
  return s;
}

int XYDigitsFor(int xyType) {
  switch (xyType) {
    case 0: return 1;
    case 2: return 2;
    default: return 3;
  }
}

bool RangeCheck(DefinitionField field, std::string_view text) {
  const Range r = RangeOf(field);
  if (!IsNumberText(text, r.Digits)) return false;
  const long v = FieldValue(text);
  return v >= r.Min && v <= r.Max;
}

std::array<bool, 4> CheckGotoRules(const std::array<std::string, 4>& texts, int xyDigits) {
  std::array<bool, 4> red{};
  for (size_t k = 0; k < 4; ++k) red[k] = !IsNumberText(texts[k], 2);
  const long s = FieldValue(texts[0]), xy = FieldValue(texts[1]), x = FieldValue(texts[2]), y = FieldValue(texts[3]);
  bool& rs = red[0];
  bool& rxy = red[1];
  bool& rx = red[2];
  bool& ry = red[3];
  if (s < 3 || s > 16) rs = true;
  if (xy < 1 || xy > xyDigits) rxy = true;
  if (s < 2 * xy + 1) rs = rxy = true;
  if (x < 1) rx = true;
  if (y < 1) ry = true;
  if (xy == 1 && y > s - xy) ry = rs = true;
  if (xy > 1 && y > s - xy) ry = rxy = rs = true;
  if (x > s - xy) rx = rxy = rs = true;
  if (x == y) ry = rx = true;
  if (std::labs(x - y) < xy) rx = ry = rxy = true;
  return red;
}

std::string GotoRuler(int size) {
  std::string r;
  for (int p = 0; p <= size && p <= 99; ++p) r += static_cast<char>('0' + p % 10);
  return r;
}

std::string GotoExample(int size, int sizeXY, int offsetX, int offsetY) {
  std::string e = "C";
  auto add = [&e](int n, char c) {
    for (int k = 0; k < n && k < 100; ++k) e += c;
  };
  if (offsetX > offsetY) {
    add(offsetY - 1, GotoBullet);
    add(sizeXY, 'y');
    add(offsetX - offsetY - sizeXY, GotoBullet);
    add(sizeXY, 'x');
    add(size - offsetX - sizeXY, GotoBullet);
  } else {
    add(offsetX - 1, GotoBullet);
    add(sizeXY, 'x');
    add(offsetY - offsetX - sizeXY, GotoBullet);
    add(sizeXY, 'y');
    add(size - offsetY - sizeXY, GotoBullet);
  }
  return e;
}

void AbilitiesEditor::Load() {
  if (port_ < 0 || port_ >= DevicePorts) return;
  const CrtDefinition& d = CrtDefinitions[static_cast<size_t>(port_)];
  scc_ = d.SCC;
  ecc_ = d.ECC;
  if (d.XYType >= 0 && d.XYType <= 3) {
    ClickXYType(d.XYType);
  } else {
    // No option stands for the stored type: it is kept, so OK writes it back.
    currentXYType_ = d.XYType;
    xyDigits_ = XYDigitsFor(d.XYType);
  }
  SetField(FieldGotoSize, std::to_string(d.GotoSize));
  SetField(FieldGotoSizeXY, std::to_string(d.GotoSizeXY));
  SetField(FieldGotoOffsetX, std::to_string(d.GotoOffsetX));
  SetField(FieldGotoOffsetY, std::to_string(d.GotoOffsetY));
  SetField(FieldGotoValueOffsetX, std::to_string(d.GotoValueOffsetX));
  SetField(FieldGotoValueOffsetY, std::to_string(d.GotoValueOffsetY));
  SetField(FieldColumns, std::to_string(d.Columns));
  SetField(FieldLines, std::to_string(d.Lines));
  ScrollLock = d.ScrollLock != 0;
  NoWrap = d.NoWrap != 0;
}

void AbilitiesEditor::SetField(DefinitionField f, const std::string& text) {
  fields_[static_cast<size_t>(f)] = text;
  if (f <= FieldGotoOffsetY)
    CheckGotoFields();
  else
    red_[static_cast<size_t>(f)] = !RangeCheck(f, text);
}

void AbilitiesEditor::ClickXYType(int index) {
  currentXYType_ = index;
  xyDigits_ = XYDigitsFor(index);
  CheckGotoFields();
}

void AbilitiesEditor::CheckGotoFields() {
  const std::array<bool, 4> red =
      CheckGotoRules({fields_[FieldGotoSize], fields_[FieldGotoSizeXY], fields_[FieldGotoOffsetX], fields_[FieldGotoOffsetY]},
                     xyDigits_);
  for (size_t k = 0; k < 4; ++k) red_[k] = red[k];
  if (!DefinitionsValid()) {
    example_ = "Error";
    return;
  }
  const auto v = [this](DefinitionField f) { return static_cast<int>(FieldValue(fields_[static_cast<size_t>(f)])); };
  ruler_ = GotoRuler(v(FieldGotoSize));
  example_ = GotoExample(v(FieldGotoSize), v(FieldGotoSizeXY), v(FieldGotoOffsetX), v(FieldGotoOffsetY));
}

bool AbilitiesEditor::DefinitionsValid() const {
  return std::none_of(red_.begin(), red_.end(), [](bool r) { return r; });
}

void AbilitiesEditor::SaveDefinitions(CrtModeSink* window) const {
  if (port_ < 0 || port_ >= DevicePorts) return;
  CrtDefinition& d = CrtDefinitions[static_cast<size_t>(port_)];
  d.SCC = scc_;
  d.ECC = ecc_;
  d.GotoSize = FieldInt16(fields_[FieldGotoSize]);
  d.GotoSizeXY = FieldInt16(fields_[FieldGotoSizeXY]);
  d.GotoOffsetX = FieldInt16(fields_[FieldGotoOffsetX]);
  d.GotoOffsetY = FieldInt16(fields_[FieldGotoOffsetY]);
  d.XYType = static_cast<int16_t>(currentXYType_);
  d.GotoValueOffsetX = FieldInt16(fields_[FieldGotoValueOffsetX]);
  d.GotoValueOffsetY = FieldInt16(fields_[FieldGotoValueOffsetY]);
  const VBool noWrap = ToVBool(NoWrap);
  if (window)
    window->SetNoWrap(noWrap);
  else
    d.NoWrap = noWrap;
  d.ScrollLock = ToVBool(ScrollLock);
  const int16_t columns = FieldInt16(fields_[FieldColumns]), lines = FieldInt16(fields_[FieldLines]);
  if (window) {
    window->ResizeScreen(columns, lines);
  } else {
    d.Columns = columns;
    d.Lines = lines;
  }
}

bool AbilitiesEditor::Apply(CrtModeSink* window) const {
  if (!DefinitionsValid()) {
    Host().MessageBox("There are Errors on the Definitions Tab. They are Red. Fix them or click cancel.",
                      "Definition Errors", MsgButtons::OK, MsgIcon::None);
    return false;
  }
  SaveDefinitions(window);
  return true;
}

}  // namespace korva
