// The printer page's language: the byte tables, the attributes, the pitch, the
// colours and the jobs.
#include "host/Host.h"
#include "serial/Printer.h"
#include "tables/TextFormat.h"

namespace korva {

void PrinterConsole::BuildControlTable() {
  ControlTable.fill(PaPrint);
  ControlTable[7] = PaBell;
  ControlTable[8] = PaBackspace;
  ControlTable[9] = PaTab;
  ControlTable[10] = NewlineIs == 1 ? PaNewline : PaIgnore;
  ControlTable[13] = NewlineIs == 1 ? PaIgnore : PaNewline;
  ControlTable[27] = PaEscape;
  ControlTable[127] = PaIgnore;
}

void PrinterConsole::BuildEscapeTable() {
  EscapeTable.fill(PaPrint);
  static constexpr int32_t kAfterEsc[22] = {
      0,            PaBoldToggle,  PaBoldOn,       PaBoldOff,      PaUnderlineToggle, PaUnderlineOn,
      PaUnderlineOff, PaStrikeToggle, PaStrikeOn,  PaStrikeOff,    PaItalicToggle,    PaItalicOn,
      PaItalicOff,  PaSuperToggle, PaSuperOn,      PaSuperOff,     PaSubToggle,       PaSubOn,
      PaSubOff,     PaPitch10,     PaPitch12,      PaPitch17};
  for (int b = 1; b < 22; ++b) EscapeTable[static_cast<size_t>(b)] = kAfterEsc[b];
  EscapeTable[25] = PaBeginJob;
  EscapeTable[28] = PaEndJob;
  EscapeTable['H'] = PaHighIntensity;
  EscapeTable['L'] = PaNormalIntensity;
  for (int c = 0; c < 8; ++c) EscapeTable[static_cast<size_t>('0' + c)] = PaColor0 + c;
}

void PrinterConsole::InitPrinterPalette() {
  PrinterPalette = {RGB(0, 0, 0),       RGB(0, 0, 143),   RGB(0, 143, 0),   RGB(0, 143, 143),
                    RGB(143, 0, 0),     RGB(143, 0, 143), RGB(143, 143, 0), RGB(64, 64, 64),
                    RGB(128, 128, 128), RGB(0, 0, 240),   RGB(0, 240, 0),   RGB(0, 240, 240),
                    RGB(240, 0, 0),     RGB(240, 0, 240), RGB(240, 240, 0), RGB(255, 255, 255)};
}

uint32_t PrinterConsole::PrinterPaletteColor(int index, bool high) const {
  return PrinterPalette[static_cast<size_t>((index & 7) + (high ? 8 : 0))];
}

void PrinterConsole::StartJobAttributes() {
  page_.CaretToEnd();
  page_.Insertion().FontName = JobFontName;
  Bold = Italic = Underline = Strike = Superscript = Subscript = false;
  Pitch = 10;
  Raise = 50;
  TextColor = 0;
  ColorIndex = 0;
  HighIntensity = false;
}

void PrinterConsole::NonJobAttributes() {
  page_.CaretToEnd();
  page_.Insertion().FontName = WindowFont.Name;
  Strike = WindowFont.Strike;
  Underline = WindowFont.Underline;
  Bold = WindowFont.Bold;
  Italic = WindowFont.Italic;
  TextColor = ForeColor;
  Superscript = Subscript = false;
  Pitch = 0;
  Raise = 0;
}

void PrinterConsole::ResetPrinter() {
  BuildControlTable();
  BuildEscapeTable();
  NonJobAttributes();
}

void PrinterConsole::RenderPrinterChar(uint8_t b) {
  page_.CaretToEnd();
  // The control display names the byte before it acts.
  if (ShowCNTR) {
    if (b < 32 || b == 127) {
      if (InHex) page_.Insert("<" + HexByte(b) + ">");
      else if (b == 0) page_.Insert("<NUL>");
      else if (b == 127) page_.Insert("<DEL>");
      else page_.Insert(std::string("<^") + static_cast<char>(64 + b) + ">");
    }
  }
  if (Ascii) b &= 0x7F;
  if (SeqChar == 0) SeqChar = b;
  const int32_t code = InEscape ? EscapeTable[SeqChar] : ControlTable[SeqChar];
  const auto setColor = [this](int index) {
    ColorIndex = static_cast<int16_t>(index);
    TextColor = PrinterPaletteColor(ColorIndex, HighIntensity);
  };
  switch (code) {
    case PaBell: Host().Beep(); break;
    case PaBackspace: page_.Backspace(); break;
    case PaTab: page_.InsertChar('\t'); break;
    case PaNewline: page_.Insert("\r\n"); break;
    case PaEscape: InEscape = true; break;
    case PaIgnore: break;
    case PaStrikeOn: Strike = true; break;
    case PaStrikeOff: Strike = false; break;
    case PaStrikeToggle: Strike = !Strike; break;
    case PaUnderlineOn: Underline = true; break;
    case PaUnderlineOff: Underline = false; break;
    case PaUnderlineToggle: Underline = !Underline; break;
    case PaBoldOn: Bold = true; break;
    case PaBoldOff: Bold = false; break;
    case PaBoldToggle: Bold = !Bold; break;
    case PaItalicOn: Italic = true; break;
    case PaItalicOff: Italic = false; break;
    case PaItalicToggle: Italic = !Italic; break;
    case PaSuperOn: Superscript = true; break;
    case PaSuperOff: Superscript = false; break;
    case PaSuperToggle: Superscript = !Superscript; break;
    case PaSubOn: Subscript = true; break;
    case PaSubOff: Subscript = false; break;
    case PaSubToggle: Subscript = !Subscript; break;
    case PaPitch10: Pitch = 10, Raise = 50; break;
    case PaPitch12: Pitch = 12, Raise = 50; break;
    case PaPitch17: Pitch = 17, Raise = 50; break;
    case PaBeginJob:
      InJob = true;
      StartJobAttributes();
      break;
    case PaEndJob:
      NonJobAttributes();
      InJob = false;
      break;
    case PaHighIntensity:
      HighIntensity = true;
      TextColor = PrinterPaletteColor(ColorIndex, HighIntensity);
      break;
    case PaNormalIntensity:
      HighIntensity = false;
      TextColor = PrinterPaletteColor(ColorIndex, HighIntensity);
      break;
    case PaColor0:
      ColorIndex = 0;
      TextColor = PrinterPalette[0];
      break;
    case PaColor7:
      ColorIndex = 7;
      TextColor = PrinterPalette[15];
      break;
    default:
      if (code > PaColor0 && code < PaColor7) {
        setColor(code - PaColor0);
        break;
      }
      // The print path: control bytes without an action and bytes after ESC print nothing.
      if (InEscape || b < 32) break;
      {
        PrinterCharFormat& f = page_.Insertion();
        f.Size = Pitch == 10 ? 12 : Pitch == 12 ? 10 : Pitch == 17 ? 8 : WindowFont.Size;
        f.Offset = Superscript == Subscript ? 0 : static_cast<int32_t>(Superscript ? Raise : -Raise);
        f.Bold = Bold;
        f.Italic = Italic;
        f.Strike = Strike;
        f.Underline = Underline;
        f.Color = TextColor;
        page_.InsertChar(static_cast<char>(b));
      }
      break;
  }
  SeqChar = 0;
  InEscape = code == PaEscape;
  page_.CaretToEnd();
}

}  // namespace korva
