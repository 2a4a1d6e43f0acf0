#include "terminal/CrtConsole.h"

#include <filesystem>

#include "cpu/MainLoop.h"
#include "host/Host.h"
#include "host/Settings.h"
#include "serial/Cable.h"
#include "serial/Consoles.h"
#include "shell/FileDialog.h"
#include "shell/NumberInput.h"

namespace korva {

CrtDialogHooks CrtDialogs;
std::string CrtDefaultFolder;

namespace {

std::string ProgramFolder() {
  if (!CrtDefaultFolder.empty()) return CrtDefaultFolder;
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return ".";
  return exe.parent_path().string();
}

// The name after the last folder separator (both kinds: stored names may come
// from either system).
std::string FileTitleOf(const std::string& path) {
  const size_t at = path.find_last_of("\\/");
  return at == std::string::npos ? path : path.substr(at + 1);
}

std::string TwoDigits(int i) { return (i < 10 ? "0" : "") + std::to_string(i); }

constexpr uint32_t Grey(int i) {
  const uint32_t v = static_cast<uint32_t>(16 * i + 15);
  return v + 256 * v + 65536 * v;
}

}  // namespace

CrtConsole::CrtConsole(CrtView* view) : view_(view), term_(0, this) {}

// ---- Reports of the terminal.

void CrtConsole::CellChanged(int16_t column, int16_t line) {
  if (view_) view_->CellsChanged(line, line, column, column);
}

void CrtConsole::RegionChanged(int16_t line1, int16_t line2, int16_t column1, int16_t column2) {
  if (view_) view_->CellsChanged(line1, line2, column1, column2);
}

void CrtConsole::ScreenResized(int16_t columns, int16_t lines) {
  if (view_ && loaded_) view_->FitScreen(columns, lines);
}

void CrtConsole::ModesChanged() {
  if (view_) view_->ModesChanged();
}

// ---- Title and files.

std::string CrtConsole::BuildCaption() const {
  std::string caption = " DEV" + std::to_string(PortNumber()) + " - CRT";
  if (!ProfileName.empty()) caption += " - " + ProfileName;
  const CrtDefinition& d = term_.Def();
  if (!d.TabFile.empty()) caption += FileTitleOf(d.TabFile) + "   ";
  if (!d.KbdFile.empty()) caption += FileTitleOf(d.KbdFile) + "   ";
  if (!d.FkyFile.empty()) caption += FileTitleOf(d.FkyFile);
  return caption;
}

void CrtConsole::RefreshCaption() {
  if (view_) view_->SetCaption(BuildCaption());
}

std::string CrtConsole::DefaultFile(const std::string& ext, bool general) const {
  return ProgramFolder() + "/Default" + (general ? std::string() : std::to_string(PortNumber())) + ext;
}

void CrtConsole::LoadDefaultKeys() {
  const int16_t port = PortNumber();
  Def().KbdFile.clear();
  SetDefaultNavigationKeys(port);
  SetDefaultEditingKeys(port);
  LoadKeysFile(DefaultFile(".kbd", true), port);
  LoadKeysFile(DefaultFile(".kbd", false), port);
  RefreshCaption();
}

void CrtConsole::LoadDefaultFunctionKeys() {
  const int16_t port = PortNumber();
  Def().FkyFile.clear();
  SetDefaultFunctionKeys(port);
  LoadFunctionKeysFile(DefaultFile(".fky", true), port);
  LoadFunctionKeysFile(DefaultFile(".fky", false), port);
  RefreshCaption();
}

void CrtConsole::LoadDefaultAbilities() {
  const int16_t port = PortNumber();
  Def().TabFile.clear();
  SetDefaultEscapeAbilities(port);
  SetDefaultControlAbilities(port);
  term_.InitDefinitions();
  term_.ResizeScreen(80, 24);
  LoadAbilitiesFile(DefaultFile(".tab", true), port, &term_);
  LoadAbilitiesFile(DefaultFile(".tab", false), port, &term_);
  RefreshCaption();
}

void CrtConsole::ReturnToDefaults() {
  LoadDefaultAbilities();
  LoadDefaultFunctionKeys();
  LoadDefaultKeys();
}

namespace {
struct FileKindOf {
  std::string CrtDefinition::*File;
  const char* Kind;
  const char* Ext;
};
FileKindOf KindOf(char which) {
  switch (which) {
    case 'k':
      return {&CrtDefinition::KbdFile, "kbd", ".kbd"};
    case 'f':
      return {&CrtDefinition::FkyFile, "fky", ".fky"};
    default:
      return {&CrtDefinition::TabFile, "tab", ".tab"};
  }
}
}  // namespace

void CrtConsole::LoadFile(char which) {
  const FileKindOf k = KindOf(which);
  std::string& file = Def().*k.File;
  const std::string chosen = OpenSaveDialog(file, "open", k.Kind, 0, "Default");
  if (chosen.empty()) {
    file.clear();  // a cancelled dialog forgets the name
  } else {
    // The title names only a file that was loaded: a refused one leaves the
    // definition and the name it came from as they were.
    const int16_t port = PortNumber();
    const bool loaded = which == 'k'   ? LoadKeysFile(chosen, port)
                        : which == 'f' ? LoadFunctionKeysFile(chosen, port)
                                       : LoadAbilitiesFile(chosen, port, &term_);
    if (loaded) file = chosen;
  }
  RefreshCaption();
}

void CrtConsole::SaveFile(char which) {
  const FileKindOf k = KindOf(which);
  std::string& file = Def().*k.File;
  file = OpenSaveDialog(file, "save", k.Kind, 0, "Default");
  if (file.empty()) return;
  const int16_t port = PortNumber();
  if (which == 'k')
    SaveKeysFile(file, port);
  else if (which == 'f')
    SaveFunctionKeysFile(file, port);
  else
    SaveAbilitiesFile(file, port);
}

void CrtConsole::SaveDefaultFile(char which) {
  const std::string path = DefaultFile(KindOf(which).Ext, false);
  const int16_t port = PortNumber();
  if (which == 'k')
    SaveKeysFile(path, port);
  else if (which == 'f')
    SaveFunctionKeysFile(path, port);
  else
    SaveAbilitiesFile(path, port);
}

// ---- Start-up and shutdown.

void CrtConsole::ReadFirstLoadColours(const std::string& section) {
  // An unknown scheme code counts as a custom scheme: the stored palette stays.
  term_.ColorsCode = static_cast<int16_t>(
      Host().GetSetting(section, "ColorsCode", "").empty() ? 1 : GetSettingLong(section, "ColorsCode", 0, 0, 5));
  term_.ColorsName = Host().GetSetting(section, "ColorsName", "White");
  for (int i = 0; i < 16; ++i)
    term_.ScreenColors[static_cast<size_t>(i)] =
        static_cast<uint32_t>(GetSettingLong(section, "ScreenColors" + TwoDigits(i), static_cast<int32_t>(Grey(i)))) &
        0xFFFFFFu;
  term_.CursorColor = static_cast<uint32_t>(GetSettingLong(section, "CursorColor", 255)) & 0xFFFFFFu;
  Def().CursorFront = GetSettingBool(section, "CursorFront", True);
  Def().CursorType = static_cast<int16_t>(GetSettingLong(section, "CursorType", 1, 0, 5));
}

void CrtConsole::Load() {
  CrtDefinition& d = Def();
  const bool again = d.Initialized != False;
  const std::string section = SectionName();
  loaded_ = true;
  RefreshCaption();
  if (!again) {
    term_.Inverse = term_.Bold = term_.Strike = term_.Underline = term_.Italic = False;
    term_.SetInsertMode(False);
  }
  if (view_) {
    view_->ApplyFont(Host().GetSetting(section, "FontName", ""), Host().GetSetting(section, "FontSize", ""));
    const std::string port = std::to_string(PortNumber());
    view_->SetDefaultFileCaptions("Save as Default" + port + ".fky", "Save as Default" + port + ".kbd",
                                  "Save as Default" + port + ".tab");
  }
  if (again) {
    term_.TakeSizeFromDefinition();
    term_.RestoreScreenState();
  } else {
    d.ANSI = GetSettingBool(section, "ANSI", True);
    d.Ascii = GetSettingBool(section, "Ascii", False);
    d.Parity = static_cast<int16_t>(GetSettingLong(section, "Parity", 0, 0, 3));
    term_.FixedFontsOnly = GetSettingBool(section, "FixedFontsOnly", True);
    term_.TabSpacing = static_cast<int16_t>(GetSettingLong(section, "TabSpacing", 8, 0, CrtMaxColumns));
    if (term_.TabSpacing != 0) term_.SetTabStopsPeriodic(term_.TabSpacing);
  }
  term_.PendingChar = 0;
  term_.EscapePending = False;
  term_.ResetAbilities();
  term_.PendingInput.clear();
  term_.PendingLength = 0;
  term_.AnsiReset();
  if (!again) {
    d.Lines = 0;
    d.Columns = 0;
    d.TextColor = 7;
    d.BackColor = 0;
  }
  term_.TakeSizeFromDefinition();
  if (!again) {
    term_.BlankScreen();
    ReadFirstLoadColours(section);
  }
  if (again) {
    term_.ResizeScreen(d.Columns, d.Lines);
  } else {
    LoadDefaultAbilities();
    LoadDefaultFunctionKeys();
    LoadDefaultKeys();
    term_.ClearScreen();
  }
  term_.MarkCursor();
  if (view_) {
    view_->FitScreen(static_cast<int16_t>(term_.MaxColumn + 1), static_cast<int16_t>(term_.MaxLine + 1));
    view_->LoadPlacement(section);
  }
  term_.SetAutoLF(d.AutoLF);
  term_.SetAutoCR(d.AutoCR);
  term_.SetInsertMode(d.Insert);
  term_.SetScrollLock(d.ScrollLock);
  term_.SetNoWrap(d.NoWrap);
  term_.SetANSI(d.ANSI);
  term_.SetASCII(d.Ascii);
  term_.SetParity(d.Parity);
  term_.SetCursorFront(d.CursorFront);
  term_.SetCursorType(d.CursorType);
  d.Initialized = True;
  if (view_) view_->RepaintAll();
}

void CrtConsole::Unload() {
  if (!loaded_) return;
  loaded_ = false;
  term_.SaveScreenState();
  const int16_t port = PortNumber();
  const auto p = static_cast<size_t>(port);
  if (IsDevicePort(port) && ConsoleType[p] == ConsoleCRT) {
    ConsoleType[p] = ConsoleNone;
    if (CRTForms[p] == this) CRTForms[p] = nullptr;
  }
  const std::string section = SectionName();
  const CrtDefinition& d = Def();
  SaveSettingLong(section, "ColorsCode", term_.ColorsCode);
  Host().SaveSetting(section, "ColorsName", term_.ColorsName);
  SaveSettingBool(section, "ANSI", d.ANSI);
  SaveSettingBool(section, "CursorFront", d.CursorFront);
  SaveSettingLong(section, "CursorType", d.CursorType);
  SaveSettingLong(section, "CursorColor", static_cast<int32_t>(term_.CursorColor));
  SaveSettingBool(section, "Ascii", d.Ascii);
  SaveSettingLong(section, "Parity", d.Parity);
  SaveSettingLong(section, "TabSpacing", term_.TabSpacing);
  SaveSettingBool(section, "FixedFontsOnly", term_.FixedFontsOnly);
  for (int i = 0; i < 16; ++i)
    SaveSettingLong(section, "ScreenColors" + TwoDigits(i),
                    static_cast<int32_t>(term_.ScreenColors[static_cast<size_t>(i)]));
  if (view_) {
    view_->SavePlacement(section);
    view_->HideWindow();
  }
}

void CrtConsole::OpenCRT(int16_t port, int16_t showMode) {
  (void)showMode;  // always modeless
  PortNumber(port);
  if (!loaded_) Load();
  if (view_) view_->ShowWindow();
  // The lines come up with the window, so the menu says so.
  Cable.Connect(port, True);
  term_.OnLine = True;
  onLineCaption_ = "On Line";
  ModesChanged();
}

void CrtConsole::CloseCRT() {
  Cable.Connect(PortNumber(), False);
  Unload();
}

// ---- Menu commands.

void CrtConsole::ResetTerminal() {
  term_.SetAutoCR(False);
  term_.SetAutoLF(False);
  term_.SetInsertMode(False);
  term_.TextHI = term_.BackHI = term_.Inverse = term_.Bold = term_.Strike = term_.Underline = term_.Italic = False;
  term_.PendingChar = 0;
  term_.EscapePending = False;
  term_.ResetAbilities();
  term_.PendingInput.clear();
  term_.PendingLength = 0;
  term_.AnsiReset();
  term_.BlankScreen();
  Def().TextColor = 7;
  Def().BackColor = 0;
  term_.ClearScreen();
  term_.MarkCursor();
}

void CrtConsole::ClearScreen() {
  term_.ClearScreen();
  term_.MarkCursor();
}

void CrtConsole::CopyScreen() {
  std::string text;
  text.reserve(static_cast<size_t>((term_.MaxLine + 1) * (term_.MaxColumn + 3)));
  for (int l = 0; l <= term_.MaxLine; ++l) {
    for (int c = 0; c <= term_.MaxColumn; ++c) text += static_cast<char>(term_.Cell(c, l).Char);
    text += "\r\n";
  }
  if (view_) view_->SetClipboardText(text);
}

void CrtConsole::PasteText(const std::string& text) {
  // Host clipboards end lines with LF: a CR LF pair or a lone LF is one CR.
  std::string bytes;
  bytes.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      if (i == 0 || text[i - 1] != '\r') bytes += '\r';
      continue;
    }
    bytes += text[i];
  }
  term_.PendingInput = bytes;
  term_.PendingLength = static_cast<int32_t>(bytes.size());
  term_.SendKeyString();
}

void CrtConsole::PasteInput() {
  if (view_) PasteText(view_->ClipboardText());
}

void CrtConsole::CustomSize() {
  const CrtDefinition& d = Def();
  const int32_t columns = InputNumberInRange("New Number of Columns", "Custom Size", d.Columns, 4, CrtMaxColumns, 3);
  const int32_t lines = InputNumberInRange("New Number of Lines", "Custom Size", d.Lines, 1, CrtMaxLines, 2);
  term_.ResizeScreen(columns, lines);
}

void CrtConsole::SetTabs() {
  if (term_.TabSpacing == 0 || term_.MaxColumn < 1) return;
  term_.TabSpacing = static_cast<int16_t>(
      InputNumberInRange("Enter spacing between tabs ", "Set Tabs", term_.TabSpacing, 1, term_.MaxColumn, 2));
  term_.SetTabStopsPeriodic(term_.TabSpacing);
}

void CrtConsole::ClearTabs() {
  term_.ClearAllTabStops();
  Host().MessageBox("All tab stops have been cleared", "Clear Tab Stops", MsgButtons::OK, MsgIcon::Information);
}

void CrtConsole::SetOnLine(bool on) {
  onLineCaption_ = on ? "On Line" : "Off Line";
  term_.SetOnLine(ToVBool(on));
}

void CrtConsole::ToggleOnLine() { SetOnLine(onLineCaption_ != "On Line"); }

void CrtConsole::FlushQueue() { Cable.FlushQueue(PortNumber()); }

void CrtConsole::SelectColors() {
  if (!CrtDialogs.SelectColors) return;
  CrtDefinition& d = Def();
  CrtColorScheme s{term_.ScreenColors, term_.ColorsName, term_.ColorsCode, d.CursorType, d.CursorFront,
                   term_.CursorColor};
  if (!CrtDialogs.SelectColors(PortNumber(), s)) return;
  for (uint32_t& c : s.ScreenColors) c &= 0xFFFFFFu;
  term_.ScreenColors = s.ScreenColors;
  term_.ColorsName = s.ColorsName;
  term_.ColorsCode = s.ColorsCode;
  term_.CursorColor = s.CursorColor & 0xFFFFFFu;
  term_.SetCursorType(s.CursorType >= 0 && s.CursorType <= 5 ? s.CursorType : 1);
  term_.SetCursorFront(s.CursorFront);
  if (view_) view_->RepaintAll();
}

void CrtConsole::EditAbilities() {
  if (CrtDialogs.EditAbilities) CrtDialogs.EditAbilities(PortNumber());
}

void CrtConsole::EditKeyDefinitions() {
  if (CrtDialogs.EditKeyDefinitions) CrtDialogs.EditKeyDefinitions(PortNumber());
}

void CrtConsole::SaveFont(const std::string& name, int32_t size) {
  Host().SaveSetting(SectionName(), "FontName", name);
  SaveSettingLong(SectionName(), "FontSize", size);
}

}  // namespace korva
