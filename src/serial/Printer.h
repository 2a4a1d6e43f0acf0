// The printer console of a parallel port (8 or 9): it lays each byte the
// parallel board strobes out on a page and/or appends it to a print file,
// acknowledges every byte on the board's CA1 input, and plays the printer's
// on-line switch with its status byte and FAULT/ACK pulses. This is the
// window's logic (formPrinter); the Qt window (serial/ui/formPrinter.h) shows
// the page and the status frame and gives the few things only a window has
// (fonts, clipboard, placement) through PrinterView.
//
// The page renderer is a small printer language: a table per byte state maps a
// byte to a PrinterAction; escapes switch attributes, pitch, colour and jobs.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "serial/ConsoleWindow.h"
#include "serial/PrinterPage.h"

namespace korva {

// What a byte does on the page.
enum PrinterAction : int32_t {
  PaPrint = 0,
  PaBell = 1,
  PaBackspace = 2,
  PaTab = 3,
  PaNewline = 5,
  PaEscape = 7,
  PaIgnore = 9,
  PaStrikeOn = 17, PaStrikeOff = 18, PaStrikeToggle = 19,
  PaUnderlineOn = 20, PaUnderlineOff = 21, PaUnderlineToggle = 22,
  PaBoldOn = 23, PaBoldOff = 24, PaBoldToggle = 25,
  PaItalicOn = 26, PaItalicOff = 27, PaItalicToggle = 28,
  PaSuperOn = 29, PaSuperOff = 30, PaSuperToggle = 31,
  PaSubOn = 32, PaSubOff = 33, PaSubToggle = 34,
  PaPitch10 = 35, PaPitch12 = 36, PaPitch17 = 37,
  PaBeginJob = 38,
  PaEndJob = 39,
  PaHighIntensity = 40,
  PaNormalIntensity = 41,
  PaColor0 = 42,  // 42-49: colours 0-7
  PaColor7 = 49,
};

// A window font: the print format outside jobs.
struct PrinterFont {
  std::string Name;  // Windows-1252
  float Size = 10;   // points
  bool Bold = false, Italic = false, Strike = false, Underline = false;
};

// What a font dialog starts from and what it answers.
struct PrinterFontChoice {
  PrinterFont Font;
  uint32_t Color = 0;
  bool Effects = false;   // the dialog offers colour, strikethrough and underline
  bool NameOnly = false;  // only the name is taken
};

// What the window asks of its view. Without a view (tests) nothing is shown.
class PrinterView {
 public:
  virtual ~PrinterView() = default;
  virtual void ShowWindow() = 0;
  virtual void HideWindow() = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // The page changed; shown from the next pump on (one refresh per burst).
  virtual void PageChanged() = 0;
  // The on-line state, the lamps or "Show LEDs" changed.
  virtual void StatusChanged() = 0;
  // "Top", "Left", "Width", "Height" and "WindowState" of the section.
  virtual void LoadPlacement(const std::string& section) = 0;
  virtual void SavePlacement(const std::string& section) = 0;
  // Runs f once the guest's access in progress is over (the window: at its next
  // pump). The default runs it at once.
  virtual void Later(std::function<void()> f) { f(); }
};

class PrinterConsole : public PrinterConsoleWindow {
 public:
  explicit PrinterConsole(PrinterView* view = nullptr);
  ~PrinterConsole() override;
  void SetView(PrinterView* view) { view_ = view; }

  // ---- ConsoleWindow / PrinterConsoleWindow
  int16_t PortNumber() const override { return PortNumber_; }
  void PortNumber(int16_t port) override { PortNumber_ = port; }
  // A strobed byte: on the page, into the print file, then acknowledged. A
  // window the user closed only acknowledges.
  void Outchar(uint8_t byte) override;
  void OpenPrinter(int16_t port, int16_t showMode) override;
  void ClosePrinter() override;
  void Unload() override;
  uint8_t GetStatus() override { return StatusByte; }
  void SetOnLine(VBool state) override;
  VBool IsOnLine() const override { return OnLineFlag ? True : False; }

  // ---- Load and unload.
  void Load();
  bool Loaded() const { return loaded_; }

  // ---- Menus.
  void ToggleOnLine() { SetOnLine(OnLineFlag ? False : True); }  // "On Line" item and the switch
  std::string OnLineCaption() const { return OnLineFlag ? "On Line" : "Off Line"; }
  std::string PrintFileCaption() const;  // "Print to File ..." or "Close - " + the file
  void PrintToFileItem();                // opens or closes the print file
  // The print file is made anew: a file or link of that name is deleted first
  // (a link's target stays as it was); a FIFO, a device, a folder or a
  // read-only file is refused with a box that says why, as is a failed open.
  void OpenPrintFile();
  void ClosePrintFile();
  // Bytes are gathered and written at the next pump or when a buffer is full.
  // The first failed write closes the print file (the bytes written before
  // stay) and says so in one box, shown once the guest's access is over.
  void WritePrintFile(uint8_t byte);
  std::string OnLineReturnCaption() const;
  std::string OffLineReturnCaption() const;
  void AskOnLineReturnValue() { AskReturnValue(true); }
  void AskOffLineReturnValue() { AskReturnValue(false); }
  void SaveFont();      // "Save Font"
  void SaveAsRTF();     // "Save as RTF ..."
  void SaveAsTXT();     // "Save as TXT ..."
  void SetASCII(bool state) { Ascii = state; }
  void SetParity(int16_t mode) { Parity = mode; }
  void SetNewlineIs(int16_t value);
  void SetSendFault(bool state) { SendFAULT = state; }
  void SetSendAck(bool state) { SendACK = state; }
  void ApplyShowLEDs();

  // ---- Edit commands on the page's selection (the view sets it first).
  struct EditEnables {
    bool Cut, Copy, Delete, SelectAll, Paste, Clear;
  };
  EditEnables EditMenuEnables(bool clipboardHasText) const;
  std::string Cut();   // the text for the clipboard
  std::string Copy();  // likewise
  void Paste(const std::string& text);  // Windows-1252; any line break becomes CR LF
  void Delete();
  void SelectAll();
  void ClearPage();
  void Select(size_t start, size_t length) { page_.Select(start, length); }

  // ---- Fonts (ChoosePrinterFont): the dialog's start, then its answer.
  PrinterFontChoice FontChoiceStart(int mode) const;
  void ApplyFontChoice(int mode, const PrinterFontChoice& choice);
  // The window font before any setting applies (the view's font).
  void SetWindowFont(const PrinterFont& font) { WindowFont = font; }

  // ---- The renderer.
  void RenderPrinterChar(uint8_t b);
  void ResetPrinter();
  void BuildControlTable();
  void BuildEscapeTable();
  void InitPrinterPalette();
  uint32_t PrinterPaletteColor(int index, bool high) const;
  void StartJobAttributes();
  void NonJobAttributes();

  // ---- State.
  PrinterPage& Page() { return page_; }
  const PrinterPage& Page() const { return page_; }
  std::string SectionName() const { return "LPT" + std::to_string(PortNumber_); }
  std::string Caption() const;
  static constexpr uint32_t InputLampOn = RGB(0, 255, 0), InputLampOff = RGB(0, 128, 0),
                            OutputLamp = RGB(128, 0, 0);
  uint32_t InputLampColor() const { return OnLineFlag ? InputLampOn : InputLampOff; }

  bool OnLineFlag = false;
  uint8_t OnLineReturnValue = 1;
  uint8_t OffLineReturnValue = 0;
  uint8_t StatusByte = 0;
  bool SendACK = true;
  bool SendFAULT = true;
  bool Ascii = false;
  int16_t Parity = 0;
  int16_t NewlineIs = 0;
  bool PrintToScreen = true;
  bool PrintToFile = false;
  std::string PrintFileName;
  bool FixedFontsOnly = false;
  std::string JobFontName;
  bool ShowCNTR = false, InHex = false;  // "Show Control Characters", "In Hex"
  bool ShowLEDs = true;
  PrinterFont WindowFont;
  uint32_t ForeColor = 0;
  PrinterFont PageFont;  // the page's own font: a mixed selection's default

  // The renderer's state.
  std::array<int32_t, 256> ControlTable{};
  std::array<int32_t, 256> EscapeTable{};
  uint8_t SeqChar = 0;
  bool InEscape = false;
  bool Bold = false, Italic = false, Underline = false, Strike = false, Superscript = false, Subscript = false;
  float Pitch = 0;
  float Raise = 0;
  bool HighIntensity = false;
  int16_t ColorIndex = 0;
  uint32_t TextColor = 0;
  bool InJob = false;
  std::array<uint32_t, 16> PrinterPalette{};

 private:
  void Acknowledge();
  void AskReturnValue(bool onLine);
  void SavePage(bool rtf);
  void Later(std::function<void()> f);
  void FlushPrintFile(bool inAccess);
  void PrintFileFailed(int error, bool inAccess);
  void ShowPrintFileProblem();
  void NotifyPage();
  void ResetRendererState();

  PrinterView* view_;
  int16_t PortNumber_ = 0;
  bool loaded_ = false;
  PrinterPage page_;
  int printFd_ = -1;
  std::string printBuffer_;  // bytes not yet written
  int64_t printWritten_ = 0;
  bool flushQueued_ = false;
  std::string printProblem_;  // the box of a failed write, until shown
};

// Tests: when not negative, the print file's writes fail with ENOSPC once this
// many bytes have reached it (as on a full disk).
extern int64_t PrintFileFailAfter;

}  // namespace korva
