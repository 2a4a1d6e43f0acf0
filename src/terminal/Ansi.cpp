// The ANSI receiver: ESC "[" sequences with numeric and quoted parameters and a
// final character; every other byte goes on to the abilities interpreter.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tables/Helpers.h"
#include "terminal/AnsiKeys.h"
#include "terminal/CrtTerminal.h"

namespace korva {

namespace {

constexpr uint8_t kEsc = 27;

// The parameter's number: one to three digits after an optional sign, else 0.
int32_t ParamValue(const std::string& text) {
  return static_cast<int32_t>(std::fabs(ValToVariant(text, 3)));
}

enum AnsiCharClass { ClassDigit = 0, ClassQuote = 1, ClassSemicolon = 2, ClassOther = 3 };

AnsiCharClass ClassOf(uint8_t c) {
  if (c >= '0' && c <= '9') return ClassDigit;
  if (c == '"') return ClassQuote;
  if (c == ';') return ClassSemicolon;
  return ClassOther;
}

}  // namespace

void classCrtTerminal::AnsiReset() {
  AnsiState = 0;
  AnsiParamState = 0;
  // Only the parameters up to the index can hold text.
  for (int i = 0; i <= AnsiParamIndex && i < AnsiParamCount; ++i) AnsiParams[static_cast<size_t>(i)].clear();
  AnsiParamIndex = 0;
  AnsiCharCount = 0;
}

bool classCrtTerminal::AnsiStore(uint8_t c) {
  AnsiParams[static_cast<size_t>(AnsiParamIndex)].push_back(static_cast<char>(c));
  if (AnsiCharCount >= AnsiCharLimit) {
    AnsiReset();  // one character too many: the sequence is abandoned
    return false;
  }
  ++AnsiCharCount;
  return true;
}

void classCrtTerminal::AnsiNextParam() {
  if (AnsiParamIndex >= AnsiParamCount - 1) return AnsiReset();
  ++AnsiParamIndex;
  AnsiParamState = 0;
}

void classCrtTerminal::AnsiFinal(uint8_t c) {
  AnsiExecute(c);
  AnsiState = 5;
  AnsiParamState = 0;
}

void classCrtTerminal::AnsiReceive(uint8_t c) {
  switch (AnsiState) {
    case 0:
      if (c == kEsc) AnsiState = 1;
      break;
    case 1:
      if (c == '[') {
        AnsiState = 2;
      } else {
        AbilitiesReceive(kEsc);
        AnsiState = 0;
      }
      break;
    case 2:
      if (c == '=') {
        AnsiState = 4;
        break;
      }
      if (c == '?') {
        AnsiState = 6;
        break;
      }
      AnsiState = 3;
      [[fallthrough]];
    case 3:
    case 4:
    case 6: {
      const AnsiCharClass k = ClassOf(c);
      switch (AnsiParamState) {
        case 0:
          if (k == ClassDigit) {
            if (AnsiStore(c)) AnsiParamState = 1;
          } else if (k == ClassQuote) AnsiParamState = 2;
          else if (k == ClassSemicolon) AnsiNextParam();
          else AnsiFinal(c);
          break;
        case 1:
          if (k == ClassDigit) AnsiStore(c);
          else if (k == ClassQuote) AnsiReset();
          else if (k == ClassSemicolon) AnsiNextParam();
          else AnsiFinal(c);
          break;
        case 2:
        case 3:
          if (k == ClassQuote) {
            AnsiParamState = 4;
          } else {
            if (AnsiStore(c)) AnsiParamState = 3;
          }
          break;
        default:  // 4: just after the closing quote
          if (k == ClassSemicolon) AnsiNextParam();
          else if (k == ClassOther) AnsiFinal(c);
          else AnsiReset();
          break;
      }
      break;
    }
    default:
      break;
  }
  if (AnsiState <= 0) AbilitiesReceive(c);
  if (AnsiState == 5) AnsiState = 0;
}

// ANSI colour numbers (black, red, green, yellow, blue, magenta, cyan, white) to
// the palette order (black, blue, green, cyan, red, magenta, yellow, white).
void classCrtTerminal::SetAnsiColor(int32_t& color, int32_t ansi) {
  static constexpr int32_t kPalette[8] = {0, 4, 2, 6, 1, 5, 3, 7};
  color = kPalette[ansi & 7];
}

void classCrtTerminal::AnsiExecute(uint8_t c) {
  const bool missing = AnsiParams[0].empty();
  const int32_t N = ParamValue(AnsiParams[0]);
  const int32_t M = ParamValue(AnsiParams[1]);
  const int32_t n = missing ? 1 : N;
  CrtDefinition& d = Def();
  if (AnsiState == 4 || AnsiState == 6) {
    if (N == 7 && c == 'h') SetNoWrap(False);
    if (N == 7 && c == 'l') SetNoWrap(True);
  } else {
    switch (c) {
      case 'H':
      case 'f': {
        const int32_t line = std::max(N - 1, 0), column = std::max(M - 1, 0);
        if (line <= MaxLine) CursorLine = static_cast<int16_t>(line);
        if (column <= MaxColumn) CursorColumn = static_cast<int16_t>(column);
        break;
      }
      case '@': InsertChars(n); break;
      case 'A': CursorLine = static_cast<int16_t>(std::max(CursorLine - n, 0)); break;
      case 'B': CursorLine = static_cast<int16_t>(std::min<int32_t>(CursorLine + n, MaxLine)); break;
      case 'C': CursorColumn = static_cast<int16_t>(std::min<int32_t>(CursorColumn + n, MaxColumn)); break;
      case 'D': CursorColumn = static_cast<int16_t>(std::max(CursorColumn - n, 0)); break;
      case 'J':
        if (N == 2)
          ClearScreen();
        else if (missing || N == 0)
          ClearEOS();
        break;
      case 'K': ClearEOL(); break;
      // Repeated line and character edits are painted once.
      case 'L':
        BeginRepaintBatch();
        for (int32_t i = 0; i < n; ++i) InsertLineAboveScrollDown();
        EndRepaintBatch();
        break;
      case 'M':
        BeginRepaintBatch();
        for (int32_t i = 0; i < n; ++i) DeleteLineScrollUp();
        EndRepaintBatch();
        break;
      case 'P':
        BeginRepaintBatch();
        for (int32_t i = 0; i < n; ++i) DeleteChar();
        EndRepaintBatch();
        break;
      case 'X': EraseChars(n); break;
      case 'n':
        if (missing || N == 6) {
          char report[32];
          std::snprintf(report, sizeof report, "\x1b[%02d;%02dR", CursorLine + 1, CursorColumn + 1);
          PendingInput = report;
          PendingLength = static_cast<int32_t>(PendingInput.size());
          SendKeyString();
        }
        break;
      case 's':
        SavedLine = CursorLine;
        SavedColumn = CursorColumn;
        break;
      case 'u':
        // A position saved before the screen shrank is brought back inside it.
        CursorLine = std::clamp<int16_t>(SavedLine, 0, std::max<int16_t>(MaxLine, 0));
        CursorColumn = std::clamp<int16_t>(SavedColumn, 0, std::max<int16_t>(MaxColumn, 0));
        break;
      case 'm':
        for (int i = 0; i < AnsiParamCount; ++i) {
          const std::string& p = AnsiParams[static_cast<size_t>(i)];
          if (p.empty()) continue;
          const int32_t v = ParamValue(p);
          if (v == 0) {
            TextHI = BackHI = Inverse = Bold = Strike = Underline = Italic = False;
            d.TextColor = 7;
            d.BackColor = 0;
          } else if (v == 1) {
            TextHI = True;
          } else if (v == 4) {
            Underline = True;
          } else if (v == 5) {
            Bold = True;
          } else if (v == 7) {
            Inverse = True;
          } else if (v == 8) {
            d.TextColor = d.BackColor;
          } else if (v >= 30 && v <= 37) {
            SetAnsiColor(d.TextColor, v - 30);
          } else if (v >= 40 && v <= 47) {
            SetAnsiColor(d.BackColor, v - 40);
          }
          if (i >= AnsiParamIndex) break;  // no parameter beyond the last one read
        }
        break;
      case 'p': AnsiRedefineKey(port_, static_cast<int16_t>(N), static_cast<int16_t>(M), AnsiParams[2]); break;
      default: break;
    }
  }
  MarkCursor();
  AnsiReset();
}

}  // namespace korva
