#include "serial/Printer.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "cpu/MainLoop.h"
#include "host/CodePage.h"
#include "host/Host.h"
#include "host/Settings.h"
#include "host/UserFiles.h"
#include "serial/Consoles.h"
#include "serial/MC6821.h"
#include "serial/PrinterFiles.h"
#include "shell/FileDialog.h"
#include "shell/NumberInput.h"
#include "shell/PathHelpers.h"
#include "tables/Helpers.h"
#include "tables/TextFormat.h"

namespace korva {

int64_t PrintFileFailAfter = -1;

namespace {

// Print-file bytes gathered before a write.
constexpr size_t kPrintBufferBytes = 16384;

// A stored "True"/"False" (or a number: nonzero is true); nothing for other text.
std::optional<bool> StoredBool(const std::string& v) {
  if (EqualsNoCase(v, "True")) return true;
  if (EqualsNoCase(v, "False")) return false;
  const std::optional<double> n = ParseNumber(std::string_view(v));
  if (!n) return std::nullopt;
  return *n != 0;
}

// A stored font size in points, when it is one a font can have.
std::optional<float> StoredSize(const std::string& v) {
  char* end = nullptr;
  const double d = std::strtod(v.c_str(), &end);
  if (end == v.c_str() || *end != '\0' || !(d >= 1 && d <= 1638)) return std::nullopt;
  return static_cast<float>(d);
}

std::string SizeText(float size) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", static_cast<double>(size));
  return buf;
}

}  // namespace

PrinterConsole::PrinterConsole(PrinterView* view) : view_(view) {
  WindowFont.Name = "Courier New";
  PageFont = WindowFont;
}

PrinterConsole::~PrinterConsole() {
  if (printFd_ < 0) return;
  (void)WriteAllBytes(printFd_, printBuffer_.data(), printBuffer_.size());
  ::close(printFd_);
}

void PrinterConsole::Later(std::function<void()> f) {
  if (view_) view_->Later(std::move(f));
  else f();
}

std::string PrinterConsole::Caption() const {
  std::string caption = " DEV" + std::to_string(PortNumber_) + " - LPT";
  if (!ProfileName.empty()) caption += " - " + ProfileName;
  return caption;
}

void PrinterConsole::NotifyPage() {
  if (view_) view_->PageChanged();
}

// ---- The switch, the status byte and the acknowledge.

void PrinterConsole::SetOnLine(VBool state) {
  const bool on = state != False;
  classMC6821* pia = PortNumber_ == 8 ? &MVME410PIA1 : PortNumber_ == 9 ? &MVME410PIA2 : nullptr;
  if (pia) {
    StatusByte = on ? OnLineReturnValue : OffLineReturnValue;
    // Both pulses on every call, also when the state stays.
    if (SendFAULT) pia->AssertCB1();
    if (SendACK) pia->AssertCA1();
  }
  OnLineFlag = on;
  if (view_) view_->StatusChanged();
}

void PrinterConsole::Acknowledge() {
  if (PortNumber_ == 8) MVME410PIA1.AssertCA1();
  else if (PortNumber_ == 9) MVME410PIA2.AssertCA1();
}

void PrinterConsole::Outchar(uint8_t byte) {
  if (loaded_) {
    if (PrintToScreen) {
      RenderPrinterChar(byte);
      NotifyPage();
    }
    if (PrintToFile) WritePrintFile(byte);
  }
  Acknowledge();
}

// ---- Opening and closing.

void PrinterConsole::ResetRendererState() {
  SeqChar = 0;
  InEscape = false;
  Bold = Italic = Underline = Strike = Superscript = Subscript = false;
  Pitch = Raise = 0;
  HighIntensity = false;
  ColorIndex = 0;
  TextColor = 0;
  InJob = false;
}

void PrinterConsole::Load() {
  const std::string section = SectionName();
  if (view_) view_->SetCaption(Caption());
  // A window loaded afresh starts with an empty page and unticked marks.
  page_.Clear();
  ResetRendererState();
  ShowCNTR = InHex = FixedFontsOnly = false;
  OnLineFlag = false;

  PrinterCharFormat& ins = page_.Insertion();
  ins.FontName = PageFont.Name;
  ins.Size = PageFont.Size;
  ins.Bold = PageFont.Bold;
  ins.Italic = PageFont.Italic;
  if (const std::string v = Host().GetSetting(section, "FontName", ""); !v.empty())
    WindowFont.Name = PageFont.Name = ins.FontName = v;
  if (const auto v = StoredSize(Host().GetSetting(section, "FontSize", "")))
    WindowFont.Size = PageFont.Size = ins.Size = *v;
  if (const auto v = StoredBool(Host().GetSetting(section, "FontBold", "")))
    WindowFont.Bold = PageFont.Bold = ins.Bold = *v;
  if (const auto v = StoredBool(Host().GetSetting(section, "FontItalic", "")))
    WindowFont.Italic = PageFont.Italic = ins.Italic = *v;
  JobFontName = Host().GetSetting(section, "JobFontName", "");
  if (JobFontName.empty()) JobFontName = WindowFont.Name;
  if (view_) view_->LoadPlacement(section);

  SetASCII(GetSettingBool(section, "Ascii", False) != False);
  SetParity(static_cast<int16_t>(GetSettingLong(section, "Parity", 0, 0, 3)));
  NewlineIs = static_cast<int16_t>(GetSettingLong(section, "NewlineIs", 0, 0, 1));
  SetSendAck(GetSettingBool(section, "SendACK", True) != False);
  SetSendFault(GetSettingBool(section, "SendFAULT", True) != False);
  OnLineReturnValue = static_cast<uint8_t>(GetSettingLong(section, "OnLineReturnValue", 1, 0, 255));
  OffLineReturnValue = static_cast<uint8_t>(GetSettingLong(section, "OffLineReturnValue", 0, 0, 255));

  PrintToFile = false;
  PrintToScreen = true;
  ShowLEDs = GetSettingBool(section, "ShowLEDs", True) != False;
  ApplyShowLEDs();

  InitPrinterPalette();
  ResetPrinter();
  loaded_ = true;
  NotifyPage();
}

void PrinterConsole::Unload() {
  if (!loaded_) return;
  const auto p = static_cast<size_t>(PortNumber_);
  // The entry in PrinterForms stays: the board keeps asking the status and
  // strobing bytes, which are acknowledged and dropped until an opener loads
  // the window again.
  if (IsDevicePort(PortNumber_) && ConsoleType[p] == ConsolePrinter) ConsoleType[p] = ConsoleNone;
  {
    const std::string section = SectionName();
    SettingsBatch batch;
    SaveSettingBool(section, "Ascii", ToVBool(Ascii));
    SaveSettingLong(section, "Parity", Parity);
    SaveSettingLong(section, "NewlineIs", NewlineIs);
    SaveSettingBool(section, "ShowLEDs", ToVBool(ShowLEDs));
    SaveSettingBool(section, "SendACK", ToVBool(SendACK));
    SaveSettingBool(section, "SendFAULT", ToVBool(SendFAULT));
    if (view_) view_->SavePlacement(section);
  }
  if (PrintToFile) ClosePrintFile();
  loaded_ = false;
  if (view_) view_->HideWindow();
}

void PrinterConsole::OpenPrinter(int16_t port, int16_t showMode) {
  (void)showMode;  // always modeless
  PortNumber_ = port;
  if (!loaded_) Load();
  if (view_) view_->ShowWindow();
  SetOnLine(False);
}

void PrinterConsole::ClosePrinter() {
  if (!loaded_) return;  // closed by the user already
  SetOnLine(False);
  Unload();
}

void PrinterConsole::ApplyShowLEDs() {
  if (view_) view_->StatusChanged();
}

void PrinterConsole::SetNewlineIs(int16_t value) {
  NewlineIs = value;
  if (value == 0 || value == 1) {
    ControlTable[10] = value == 0 ? PaIgnore : PaNewline;
    ControlTable[13] = value == 0 ? PaNewline : PaIgnore;
  }
}

// ---- The print file.

std::string PrinterConsole::PrintFileCaption() const {
  return PrintToFile ? "Close - " + PrintFileName : "Print to File ...";
}

void PrinterConsole::PrintToFileItem() {
  if (PrintToFile) ClosePrintFile();
  else OpenPrintFile();
}

void PrinterConsole::OpenPrintFile() {
  if (PrintToFile) ClosePrintFile();
  const std::string path = OpenSaveDialog("", "SAVE", "PRN", 0, "Default");
  PrintToFile = false;
  if (path.empty()) return;
  // Deleted and made anew, so a link is replaced and its target left alone; a
  // failed delete has said why and leaves everything as it was.
  const NewFile file = CreateUserFile(path, [&path] { return DeleteFileChecked(path) != False; });
  if (file.Problem) {
    Host().MessageBox(GeneratedErrorText(file.Problem->Number, Utf8ToCp1252(path + ": " + file.Problem->Reason)),
                      "Print to File Error", MsgButtons::OK, MsgIcon::None);
    return;
  }
  if (file.Fd < 0) return;
  printFd_ = file.Fd;
  printBuffer_.clear();
  printWritten_ = 0;
  PrintFileName = path;
  PrintToFile = true;
}

void PrinterConsole::ClosePrintFile() {
  FlushPrintFile(false);
  if (printFd_ >= 0) {
    const int fd = printFd_;
    printFd_ = -1;
    if (::close(fd) != 0) PrintFileFailed(errno, false);
  }
  PrintToFile = false;
}

void PrinterConsole::WritePrintFile(uint8_t byte) {
  if (printFd_ < 0) return;
  printBuffer_.push_back(static_cast<char>(byte));
  if (printBuffer_.size() >= kPrintBufferBytes) {
    FlushPrintFile(true);
  } else if (!flushQueued_) {
    // A burst of bytes reaches the file at the next pump, in one write.
    flushQueued_ = true;
    Later([this] {
      flushQueued_ = false;
      FlushPrintFile(false);
    });
  }
}

void PrinterConsole::FlushPrintFile(bool inAccess) {
  if (printFd_ < 0 || printBuffer_.empty()) return;
  size_t n = printBuffer_.size();
  int fault = 0;
  if (PrintFileFailAfter >= 0 && printWritten_ + static_cast<int64_t>(n) > PrintFileFailAfter) {
    n = static_cast<size_t>(std::max<int64_t>(0, PrintFileFailAfter - printWritten_));
    fault = ENOSPC;
  }
  int error = WriteAllBytes(printFd_, printBuffer_.data(), n);
  if (!error) {
    printWritten_ += static_cast<int64_t>(n);
    error = fault;
  }
  printBuffer_.clear();
  if (error) PrintFileFailed(error, inAccess);
}

void PrinterConsole::PrintFileFailed(int error, bool inAccess) {
  // Closed first: whatever runs while the box is up finds no print file.
  if (printFd_ >= 0) ::close(printFd_);
  printFd_ = -1;
  printBuffer_.clear();
  PrintToFile = false;
  printProblem_ = GeneratedErrorText(error, Utf8ToCp1252(PrintFileName + ": " + std::strerror(error))) +
                  "\rThe print file is closed; the bytes written before stay in it.";
  // Inside a strobe the box waits for the access to end.
  if (inAccess) Later([this] { ShowPrintFileProblem(); });
  else ShowPrintFileProblem();
}

void PrinterConsole::ShowPrintFileProblem() {
  if (printProblem_.empty()) return;
  const std::string text = std::move(printProblem_);
  printProblem_.clear();
  Host().MessageBox(text, "Print to File Error", MsgButtons::OK, MsgIcon::Exclamation);
}

// ---- Return values.

std::string PrinterConsole::OnLineReturnCaption() const {
  return "Set On Line Return Value=0x" + HexByte(OnLineReturnValue) + " ...";
}

std::string PrinterConsole::OffLineReturnCaption() const {
  return "Set Off Line Return Value=0x" + HexByte(OffLineReturnValue) + " ...";
}

void PrinterConsole::AskReturnValue(bool onLine) {
  uint8_t& field = onLine ? OnLineReturnValue : OffLineReturnValue;
  const char* prompt =
      onLine ? "Input On Line Return Value (Decimal or 0xHex)" : "Input Off line Return Value (Decimal or 0xHex)";
  const auto byteValue = [](const std::string& text) {
    const std::optional<double> v = ParseNumber(std::string_view(text));
    return v && *v >= 0 && *v <= 255 && std::floor(*v) == *v;
  };
  const std::optional<std::string> answer =
      InputUntilEmptyOrValid(prompt, "Return on Input", std::to_string(field), byteValue);
  if (!answer) return;
  field = static_cast<uint8_t>(*ParseNumber(std::string_view(*answer)));
  SaveSettingLong(SectionName(), onLine ? "OnLineReturnValue" : "OffLineReturnValue", field);
}

// ---- Fonts and saving.

void PrinterConsole::SaveFont() {
  const std::string section = SectionName();
  SettingsBatch batch;
  Host().SaveSetting(section, "JobFontName", JobFontName);
  Host().SaveSetting(section, "FontName", WindowFont.Name);
  Host().SaveSetting(section, "FontSize", SizeText(WindowFont.Size));
  SaveSettingBool(section, "FontBold", ToVBool(WindowFont.Bold));
  SaveSettingBool(section, "FontItalic", ToVBool(WindowFont.Italic));
}

PrinterFontChoice PrinterConsole::FontChoiceStart(int mode) const {
  PrinterFontChoice c;
  c.Effects = mode == 0 || mode == 1;
  c.NameOnly = mode == 2 || mode == 3;
  if (mode == 0) {
    c.Font = WindowFont;
    c.Color = ForeColor;
  } else if (mode == 1 || mode == 2) {
    const PrinterSelectionFormat s = page_.SelectionFormat();
    c.Font = PageFont;
    c.Font.Name = s.FontName.value_or(PageFont.Name);
    if (mode == 1) {
      c.Font.Size = s.Size.value_or(PageFont.Size);
      c.Font.Bold = s.Bold.value_or(PageFont.Bold);
      c.Font.Italic = s.Italic.value_or(PageFont.Italic);
      c.Font.Underline = s.Underline.value_or(PageFont.Underline);
      c.Font.Strike = s.Strike.value_or(PageFont.Strike);
      c.Color = s.Color.value_or(0);
    }
  } else {
    c.Font.Name = JobFontName;
  }
  return c;
}

void PrinterConsole::ApplyFontChoice(int mode, const PrinterFontChoice& choice) {
  const PrinterFont& f = choice.Font;
  switch (mode) {
    case 0:
      WindowFont = f;
      ForeColor = choice.Color;
      if (!InJob) NonJobAttributes();
      break;
    case 1:
      page_.ChangeSelection([&](PrinterCharFormat& c) {
        c.FontName = f.Name;
        c.Size = f.Size;
        c.Italic = f.Italic;
        c.Bold = f.Bold;
        c.Underline = f.Underline;
        c.Strike = f.Strike;
        c.Color = choice.Color;
      });
      NotifyPage();
      break;
    case 2:
      page_.ChangeSelection([&](PrinterCharFormat& c) { c.FontName = f.Name; });
      NotifyPage();
      break;
    case 3:
      JobFontName = f.Name;
      break;
    default:
      break;
  }
}

void PrinterConsole::SavePage(bool rtf) {
  const std::string path = OpenSaveDialog("", "Save", rtf ? "rtf" : "txt", 0, "Default");
  if (path.empty()) return;
  const std::string bytes = rtf ? PageAsRtf(page_, {JobFontName}) : PageAsText(page_);
  if (const auto e = ReplaceFileWith(path, bytes)) {
    Host().MessageBox(GeneratedErrorText(e->Number, e->Description),
                      rtf ? "Save As RTF Error" : "Save As TXT Error", MsgButtons::OK, MsgIcon::None);
  }
}

void PrinterConsole::SaveAsRTF() { SavePage(true); }
void PrinterConsole::SaveAsTXT() { SavePage(false); }

// ---- Edit commands.

PrinterConsole::EditEnables PrinterConsole::EditMenuEnables(bool clipboardHasText) const {
  const bool sel = page_.SelLength() > 0;
  return {sel, sel, sel, !page_.Empty(), clipboardHasText, true};
}

std::string PrinterConsole::Cut() {
  std::string t = page_.SelText();
  page_.DeleteSelection();
  NotifyPage();
  return t;
}

std::string PrinterConsole::Copy() { return page_.SelText(); }

void PrinterConsole::Paste(const std::string& text) {
  std::string t;
  t.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      t += "\r\n";
    } else {
      t += c;
    }
  }
  page_.Insert(t);
  NotifyPage();
}

void PrinterConsole::Delete() {
  page_.DeleteSelection();
  NotifyPage();
}

void PrinterConsole::SelectAll() { page_.Select(0, page_.Length()); }

void PrinterConsole::ClearPage() {
  page_.Clear();
  NotifyPage();
}

}  // namespace korva
