// The table-driven receiver: each byte is looked up in SCC, or in ECC after an
// ESC ability, and the code found runs one of the terminal's abilities.
#include <algorithm>

#include "terminal/CrtTerminal.h"
#include "terminal/TerminalAbility.h"

namespace korva {

namespace {

// The value of one coordinate character by XYType; -1 when the type reads no digits.
int32_t DigitBase(int16_t xyType) {
  switch (xyType) {
    case 1: return 10;
    case 2: return 16;
    case 3: return 8;
    default: return -1;
  }
}

int32_t DigitValue(uint8_t c, int32_t base) {
  int32_t v = -1;
  if (c >= '0' && c <= '9')
    v = c - '0';
  else if (c >= 'A' && c <= 'F')
    v = c - 'A' + 10;
  else if (c >= 'a' && c <= 'f')
    v = c - 'a' + 10;
  return (v >= 0 && v < base) ? v : 0;  // any other character counts 0
}

bool In(uint8_t c, const char* set) {
  for (; *set; ++set)
    if (static_cast<uint8_t>(*set) == c) return true;
  return false;
}

}  // namespace

void classCrtTerminal::PrintPath(uint8_t c) {
  if (EscapePending || c < 32) return;
  PutChar(c);
}

void classCrtTerminal::GotoCustomByte(uint8_t c) {
  const CrtDefinition& d = Def();
  if (!AbilityInProgress) {
    if (d.GotoSize < 1) return;  // nothing to read: the ability ends here, the cursor stays
    PendingCount = d.GotoSize;
    GotoX = GotoY = 0;
  }
  const int32_t p = d.GotoSize - PendingCount;
  auto accumulate = [&](int32_t offset, int32_t& value) {
    const bool digit = (p == offset && d.GotoSizeXY >= 1) || (p == offset + 1 && d.GotoSizeXY >= 2) ||
                       (p == offset + 2 && d.GotoSizeXY == 3);
    if (!digit) return;
    if (d.XYType == 0) {
      if (p == offset) value = value * 256 + c;
      return;
    }
    const int32_t base = DigitBase(d.XYType);
    if (base > 0) value = value * base + DigitValue(c, base);
  };
  accumulate(d.GotoOffsetY, GotoY);
  accumulate(d.GotoOffsetX, GotoX);
  if (PendingCount == 1) {
    CursorColumn = GotoX >= d.GotoValueOffsetX ? static_cast<int16_t>((GotoX - d.GotoValueOffsetX) % (MaxColumn + 1)) : 0;
    CursorLine = GotoY >= d.GotoValueOffsetY ? static_cast<int16_t>((GotoY - d.GotoValueOffsetY) % (MaxLine + 1)) : 0;
  }
  AbilityInProgress = PendingCount > 1;
}

void classCrtTerminal::Cromemco(uint8_t a) {
  CrtDefinition& d = Def();
  if (a == '@') {
    TextHI = BackHI = Inverse = Bold = Strike = Underline = Italic = False;
    d.TextColor = 7;
    d.BackColor = 0;
    return;
  }
  if (In(a, "ACQSacq5")) TextHI = True;
  if (a == '`' || In(a, "abcpqrs")) Underline = True;
  if (In(a, "BCRSbcrs67")) Bold = True;
  if (In(a, "PQRSpqrs4567")) Inverse = True;
  if (In(a, "$4567")) d.TextColor = d.BackColor;
}

void classCrtTerminal::ResetAbilities() {
  EscapePending = False;
  PendingChar = 0;
  AbilityInProgress = false;
  PendingCount = 0;
}

void classCrtTerminal::AbilitiesReceive(uint8_t c) {
  CrtDefinition& d = Def();
  if (d.Ascii) c &= 127;
  if (!AbilityInProgress) PendingChar = c;
  const int32_t code = (EscapePending ? d.ECC : d.SCC)[PendingChar] & 0xFF;
  AbilityDispatch(code, c);
  // Completion: a multi-byte ability has set PendingCount on its first byte and
  // keeps the table entry until its last.
  if (!AbilityInProgress) PendingCount = 1;
  if (--PendingCount <= 0) {
    PendingCount = 0;
    AbilityInProgress = false;
    if (code != AbESC) EscapePending = False;
    PendingChar = 0;
  }
  MarkCursor();
}

void classCrtTerminal::AbilityDispatch(int32_t code, uint8_t c) {
  CrtDefinition& d = Def();
  const int16_t columns = static_cast<int16_t>(MaxColumn + 1), lines = static_cast<int16_t>(MaxLine + 1);
  // Multi-byte abilities: the first byte sets the count; p is the byte's place.
  auto start = [&](int32_t count) {
    if (!AbilityInProgress) {
      PendingCount = count;
      AbilityInProgress = count > 1;
      return -1;
    }
    return count - PendingCount;
  };
  auto plus32 = [](uint8_t b) { return b >= 32 ? b - 32 : 0; };
  switch (code) {
    case AbNULL: return PrintPath(c);
    case AbBell: return host_->Beep();
    case AbBackSpace: return CursorLeft();
    case AbTab: return TabForward(!d.NoWrap, d.ScrollLock != 0);
    case AbLF:
      if (d.AutoCR) CursorColumn = 0;
      return CCursorDown();
    case AbCR:
      CursorColumn = 0;
      if (d.AutoLF) CCursorDown();
      return;
    case AbCRLF:
      CursorColumn = 0;
      return CCursorDown();
    case AbESC: EscapePending = True; return;
    case AbHomeCursor: CursorLine = CursorColumn = 0; return;
    case AbClearScreen: return ClearScreen();
    case AbClearEOS: return ClearEOS();
    case AbClearEOSnext: return ClearEOSnext();
    case AbClearEOScurrent: return ClearEOScurrent();
    case AbClearLine: return ClearLine();
    case AbClearEOL: return ClearEOL();
    case AbInsertLineAboveScrollDown: return InsertLineAboveScrollDown();
    case AbInsertLineBelowScrollUp: return InsertLineBelowScrollUp();
    case AbInsertCharRight: return InsertChars(1);
    case AbInsertCharLeft: return InsertCharLeft();
    case AbDeleteLineScrollUp: return DeleteLineScrollUp();
    case AbDeleteLineScrollDown: return DeleteLineScrollDown();
    case AbEraseCharRight: return EraseChars(1);
    case AbEraseCharLeft: return EraseCharsLeft(1);
    case AbCursorUp: return CursorUp();
    case AbCursorUpScroll: return CursorUpScroll();
    case AbCursorUpNoScroll: return CursorUpNoScroll();
    case AbCCursorDown: return CCursorDown();
    case AbCursorDownScroll: return CursorDownScroll();
    case AbCursorDownNoScroll: return CursorDownNoScroll();
    case AbCursorLeft: return CursorLeft();
    case AbCursorLeftWrap: return CursorLeftWrap();
    case AbCursorLeftNoWrap: return CursorLeftNoWrap();
    case AbCursorRight: return CursorRight();
    case AbCursorRightWrap: return CursorRightWrap();
    case AbCursorRightNoWrap: return CursorRightNoWrap();
    case AbScrollUp: return ScrollUp();
    case AbScrollDown: return ScrollDown();
    case AbScrollLock: return SetScrollLock(True);
    case AbScrollUnLock: return SetScrollLock(False);
    case AbScrollLockToggle: return SetScrollLock(ToVBool(!d.ScrollLock));
    case AbWrapOff: return SetNoWrap(True);
    case AbWrapOn: return SetNoWrap(False);
    case AbWrapToggle: return SetNoWrap(ToVBool(!d.NoWrap));
    case AbGotoXYbinary:
    case AbGotoXYbinaryPlus32:
    case AbGotoYXbinary:
    case AbGotoYXbinaryPlus32: {
      const int p = start(3);
      if (p < 1) return;
      const int value = (code == AbGotoXYbinary || code == AbGotoYXbinary) ? c : plus32(c);
      const bool columnFirst = code == AbGotoXYbinary || code == AbGotoXYbinaryPlus32;
      if ((p == 1) == columnFirst)
        CursorColumn = static_cast<int16_t>(value % columns);
      else
        CursorLine = static_cast<int16_t>(value % lines);
      return;
    }
    case AbGotoCustom: return GotoCustomByte(c);
    case Ab80x24: return ResizeScreen(80, 24);
    case Ab80x25: return ResizeScreen(80, 25);
    case AbSetTextHI: TextHI = True; return;
    case AbSetTextLO: TextHI = False; return;
    case AbSetBackHI: BackHI = True; return;
    case AbSetBackLO: BackHI = False; return;
    case AbDelCharRight: return DeleteChar();
    case AbDelCharLeft: return DeleteCharLeft();
    case AbSaveLine: SavedLine = CursorLine; return;
    case AbSaveColumn: SavedColumn = CursorColumn; return;
    case AbSavePosition:
      SavedLine = CursorLine;
      SavedColumn = CursorColumn;
      return;
    // A position saved before the screen shrank is brought back inside it.
    case AbRestoreLine: CursorLine = std::clamp<int16_t>(SavedLine, 0, MaxLine); return;
    case AbRestoreColumn: CursorColumn = std::clamp<int16_t>(SavedColumn, 0, MaxColumn); return;
    case AbRestorePosition:
      CursorLine = std::clamp<int16_t>(SavedLine, 0, MaxLine);
      CursorColumn = std::clamp<int16_t>(SavedColumn, 0, MaxColumn);
      return;
    case AbInverseOn: Inverse = True; return;
    case AbInverseOff: Inverse = False; return;
    case AbInverseToggle: Inverse = ToVBool(!Inverse); return;
    case AbStrikeOn: Strike = True; return;
    case AbStrikeOff: Strike = False; return;
    case AbStrikeToggle: Strike = ToVBool(!Strike); return;
    case AbUnderLineOn: Underline = True; return;
    case AbUnderLineOff: Underline = False; return;
    case AbUnderLineToggle: Underline = ToVBool(!Underline); return;
    case AbBoldOn: Bold = True; return;
    case AbBoldOff: Bold = False; return;
    case AbBoldToggle: Bold = ToVBool(!Bold); return;
    case AbItalicOn: Italic = True; return;
    case AbItalicOff: Italic = False; return;
    case AbItalicToggle: Italic = ToVBool(!Italic); return;
    case AbInsertON: return SetInsertMode(True);
    case AbInsertOFF: return SetInsertMode(False);
    case AbSubstituteBlank: return PrintPath(32);
    case AbTabNoWrap: return TabForward(false, false);
    case AbTabWrap: return TabForward(true, false);
    case AbTabFillNoWrap: return TabFill(32);
    case AbTabWrapScreen: return TabForward(true, true);
    case AbCromemco3200Attr:
      if (start(2) == 1) Cromemco(c);
      return;
    case AbSetTabCurrentPos: return SetTabStop();
    case AbClrTabCurrentPos: return ClearTabStop();
    case AbBackTabNoWrap: return TabBackward(false, false);
    case AbBackTabWrap: return TabBackward(true, false);
    case AbBackTabWrapScreen: return TabBackward(true, true);
    default: break;
  }
  if (code >= AbTextColorBlack && code <= AbTextColorWhite) {
    d.TextColor = code - AbTextColorBlack;
  } else if (code >= AbBackColorBlack && code <= AbBackColorWhite) {
    d.BackColor = code - AbBackColorBlack;
  } else if (code >= AbDump1 && code <= AbDump8) {
    start(code - AbDump1 + 1);  // the bytes are discarded
  } else if (code > LastTerminalAbility) {
    PrintPath(c);
  }
  // 13-15, 18, 19, 22, 29, 30 and 55 name no ability: the byte is consumed.
}

}  // namespace korva
