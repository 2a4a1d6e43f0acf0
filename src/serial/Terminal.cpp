#include "serial/Terminal.h"

#include <algorithm>

#include "cpu/MainLoop.h"
#include "host/Host.h"
#include "host/Settings.h"
#include "serial/Cable.h"
#include "serial/Consoles.h"
#include "serial/TypedBytes.h"
#include "shell/NumberInput.h"
#include "tables/TextFormat.h"

namespace korva {

namespace {
constexpr int kNumberDigits = 6;  // digits an answer of the number boxes may have
}

std::string TerminalConsole::Caption() const {
  std::string caption = "DEV" + std::to_string(PortNumber_) + " - TTY";
  if (!ProfileName.empty()) caption += " - " + ProfileName;
  return caption;
}

void TerminalConsole::Changed() {
  if (view_) view_->TextChanged();
}

void TerminalConsole::AppendTerminalText(const std::string& add) {
  if (text_.size() + add.size() > MaxText) {
    text_.erase(0, std::min(text_.size(), add.size() + 1000));
    ++rewrites_;
  }
  text_ += add;
}

void TerminalConsole::Newline(bool mayBeSuppressed) {
  if (mayBeSuppressed && RipCRLFs && NewlineRun > 3) return;
  AppendTerminalText("\r\n");
  Column = 0;
  ++NewlineRun;
}

void TerminalConsole::Outchar(uint8_t byte) {
  const uint8_t b = Ascii ? byte & 0x7F : byte;
  // The byte's name, when control characters are shown.
  if (ShowCNTR) {
    if (InHex && (b < 32 || b >= 127)) {
      AppendTerminalText("<" + HexByte(b) + ">");
      Column += 4;
    } else if (b == 0) {
      AppendTerminalText("<NUL>");
      Column += 5;
    } else if (b < 32) {
      AppendTerminalText(ByteDisplayText(b, False, False));
      Column += 5;
    } else if (b == 127) {
      AppendTerminalText("<DEL>");
      Column += 5;
    }
  }
  // What the byte does.
  switch (b) {
    case 7:
      Host().Beep();
      break;
    case 8:
      // At the end of the text, whatever the user clicked; a line break stays.
      if (!text_.empty() && text_.back() != '\r' && text_.back() != '\n') {
        text_.pop_back();
        ++rewrites_;
        Column = std::max(0, Column - 1);
      }
      break;
    case 9: {
      const int32_t spacing = std::max<int32_t>(1, TabSpacing);
      const int32_t n = spacing - (std::max(0, Column) % spacing);
      AppendTerminalText(std::string(static_cast<size_t>(n), ' '));
      Column += n;
      break;
    }
    case 10:
      if (NewlineIs == 1) Newline(true);
      break;
    case 12:
      Newline(false);
      break;
    case 13:
      if (NewlineIs == 0) Newline(true);
      break;
    default:
      if ((b >= 32 && b <= 126) || (b >= 128 && !(ShowCNTR && InHex))) {
        AppendTerminalText(std::string(1, static_cast<char>(b)));
        ++Column;
      }
      break;
  }
  if (!NoWrap && Column >= LineLength) {
    AppendTerminalText("\r\n");
    Column = 0;
  }
  if (b != 13 && b != 10) NewlineRun = 0;
  Changed();
}

uint8_t TerminalConsole::ApplyParity(uint8_t byte) const {
  return korva::ApplyParity(byte, Ascii, Parity);
}

void TerminalConsole::KeyDown(int keyCode, int shiftMask) {
  CtrlDown = (shiftMask & CtrlKey) != 0;
  if (keyCode == KeyPause && shiftMask == 0) {
    Cable.FlushQueue(PortNumber_);
    Cable.Break(PortNumber_, True);
  }
}

void TerminalConsole::KeyUp(int keyCode, int shiftMask) {
  if (keyCode == KeyPause && shiftMask == 0) {
    Cable.FlushQueue(PortNumber_);
    Cable.Break(PortNumber_, False);
  }
}

void TerminalConsole::KeyPress(uint8_t code) {
  // Ctrl with "A" to "_" gives 1 to 31; with the lower-case range each maps as
  // its upper-case partner ("a" gives 1, "{" 27).
  const uint8_t c = static_cast<uint8_t>(CtrlTypedByte(code, CtrlDown));
  Cable.RX(PortNumber_, ApplyParity(c));
}

void TerminalConsole::PasteInput(const std::string& text) {
  std::string bytes = text;
  bytes.erase(std::remove(bytes.begin(), bytes.end(), '\n'), bytes.end());
  if (bytes.size() > MaxPaste) {
    Host().MessageBox("Pasted Data > 4095", "Too much Paste", MsgButtons::OK, MsgIcon::None);
    return;
  }
  for (const char ch : bytes) Cable.RX(PortNumber_, ApplyParity(static_cast<uint8_t>(ch)));
}

void TerminalConsole::Clear() {
  text_.clear();
  ++rewrites_;
  Column = 0;
  Changed();
}

void TerminalConsole::SetTabs() {
  if (TabSpacing != 0)
    TabSpacing = static_cast<int16_t>(
        InputNumberInRange("Enter spacing between tabs ", "Set Tabs", TabSpacing, 1, 132, kNumberDigits));
}

void TerminalConsole::CustomLineLength() {
  LineLength = InputNumberInRange("New Line Length", "Custom Size", LineLength, 16, 132, kNumberDigits);
}

void TerminalConsole::SetOnLine(bool state) {
  onLineCaption_ = state ? "On Line" : "Off Line";
  Cable.DCD(PortNumber_, ToVBool(state));
  Cable.CTS(PortNumber_, ToVBool(state));
}

void TerminalConsole::ToggleOnLine() { SetOnLine(onLineCaption_ != "On Line"); }

void TerminalConsole::FlushQueue() { Cable.FlushQueue(PortNumber_); }

void TerminalConsole::SetASCII(bool state) { Ascii = state; }
void TerminalConsole::SetParity(int16_t mode) { Parity = mode; }
void TerminalConsole::SetNewlineIs(int16_t value) { NewlineIs = value; }

void TerminalConsole::SaveFont(const std::string& name, int32_t size, bool bold, bool italic) {
  const std::string section = SectionName();
  Host().SaveSetting(section, "FontName", name);
  SaveSettingLong(section, "FontSize", size);
  SaveSettingBool(section, "FontBold", ToVBool(bold));
  SaveSettingBool(section, "FontItalic", ToVBool(italic));
}

void TerminalConsole::Load() {
  const std::string section = SectionName();
  if (view_) {
    view_->SetCaption(Caption());
    view_->ApplyFont(Host().GetSetting(section, "FontName", ""), Host().GetSetting(section, "FontSize", ""),
                     Host().GetSetting(section, "FontBold", ""), Host().GetSetting(section, "FontItalic", ""));
    view_->LoadPlacement(section);
  }
  LineLength = GetSettingLong(section, "LineLength", 80, 16, 132);
  NoWrap = GetSettingBool(section, "NoWrap", True) != False;
  SetASCII(GetSettingBool(section, "Ascii", False) != False);
  SetParity(static_cast<int16_t>(GetSettingLong(section, "Parity", 0, 0, 3)));
  SetNewlineIs(static_cast<int16_t>(GetSettingLong(section, "NewlineIs", 1, 0, 1)));
  TabSpacing = static_cast<int16_t>(GetSettingLong(section, "TabSpacing", 8, 1, 132));
  Column = 0;
  // A window loaded afresh starts empty, its marks off, on line.
  text_.clear();
  ++rewrites_;
  NewlineRun = 0;
  CtrlDown = false;
  ShowCNTR = InHex = RipCRLFs = false;
  onLineCaption_ = "On Line";
  loaded_ = true;
  Changed();
}

void TerminalConsole::Unload() {
  if (!loaded_) return;
  const auto p = static_cast<size_t>(PortNumber_);
  if (IsDevicePort(PortNumber_) && ConsoleType[p] == ConsoleTTY) {
    Cable.Connect(PortNumber_, False);
    ConsoleType[p] = ConsoleNone;
    if (TerminalForms[p] == this) TerminalForms[p] = nullptr;
  }
  const std::string section = SectionName();
  SaveSettingBool(section, "Ascii", ToVBool(Ascii));
  SaveSettingLong(section, "Parity", Parity);
  SaveSettingLong(section, "NewlineIs", NewlineIs);
  SaveSettingLong(section, "TabSpacing", TabSpacing);
  SaveSettingBool(section, "NoWrap", ToVBool(NoWrap));
  SaveSettingLong(section, "LineLength", LineLength);
  loaded_ = false;
  if (view_) {
    view_->SavePlacement(section);
    view_->HideWindow();
  }
}

void TerminalConsole::OpenTerminal(int16_t port, int16_t showMode) {
  (void)showMode;  // always modeless
  PortNumber_ = port;
  if (!loaded_) Load();
  if (view_) view_->ShowWindow();
  // The lines come up with the window, so the menu says so.
  onLineCaption_ = "On Line";
  Cable.Connect(port, True);
}

void TerminalConsole::CloseTerminal() {
  Cable.Connect(PortNumber_, False);
  Unload();
}

}  // namespace korva
