#include "terminal/AnsiKeys.h"

#include "terminal/CrtDefinition.h"

namespace korva {

namespace {

enum class Table { None, Navigation, Function, Editing };

struct KeyTarget {
  Table Which = Table::None;
  int Row = 0;
  int Modifier = ModNone;
};

KeyTarget Nav(int row, int mod) { return {Table::Navigation, row, mod}; }
KeyTarget Fn(int row, int mod) { return {Table::Function, row, mod}; }
KeyTarget Edit(int row, int mod) { return {Table::Editing, row, mod}; }

// Keys that the extended codes name after either 0 or 224.
KeyTarget CursorPadKey(int code2) {
  switch (code2) {
    case 71: return Nav(NavHome, ModNone);
    case 72: return Nav(NavUp, ModNone);
    case 73: return Nav(NavPgUp, ModNone);
    case 75: return Nav(NavLeft, ModNone);
    case 77: return Nav(NavRight, ModNone);
    case 79: return Nav(NavEnd, ModNone);
    case 80: return Nav(NavDown, ModNone);
    case 81: return Nav(NavPgDn, ModNone);
    case 82: return Edit(EditInsert, ModNone);
    case 83: return Edit(EditDelete, ModNone);
    case 115: return Nav(NavLeft, ModCtrl);
    case 116: return Nav(NavRight, ModCtrl);
    case 117: return Nav(NavEnd, ModCtrl);
    case 118: return Nav(NavPgDn, ModCtrl);
    case 119: return Nav(NavHome, ModCtrl);
    case 132: return Nav(NavPgUp, ModCtrl);
    case 141: return Nav(NavUp, ModCtrl);
    case 145: return Nav(NavDown, ModCtrl);
    case 146: return Edit(EditInsert, ModCtrl);
    case 147: return Edit(EditDelete, ModCtrl);
    default: return {};
  }
}

KeyTarget ZeroKey(int code2) {
  if (code2 >= 59 && code2 <= 68) return Fn(code2 - 59, ModNone);
  if (code2 >= 84 && code2 <= 93) return Fn(code2 - 84, ModShift);
  if (code2 >= 94 && code2 <= 103) return Fn(code2 - 94, ModCtrl);
  if (code2 >= 104 && code2 <= 113) return Fn(code2 - 104, ModAlt);
  if (code2 >= 133 && code2 <= 140) {  // F11 and F12 by pairs: none, Shift, Ctrl, Alt
    static constexpr int kMods[4] = {ModNone, ModShift, ModCtrl, ModAlt};
    return Fn(10 + (code2 - 133) % 2, kMods[(code2 - 133) / 2]);
  }
  switch (code2) {
    case 14: return Nav(NavBackSpace, ModAlt);
    case 15: return Nav(NavTab, ModShift);
    case 127: return Nav(NavBackSpace, ModCtrl);
    case 148: return Nav(NavTab, ModCtrl);
    case 165: return Nav(NavTab, ModAlt);
    default: return CursorPadKey(code2);
  }
}

KeyTarget ExtendedKey(int code2) {
  switch (code2) {
    case 151: return Nav(NavHome, ModAlt);
    case 152: return Nav(NavUp, ModAlt);
    case 153: return Nav(NavPgUp, ModAlt);
    case 154: return Nav(NavDown, ModAlt);
    case 155: return Nav(NavLeft, ModAlt);
    case 157: return Nav(NavRight, ModAlt);
    case 159: return Nav(NavEnd, ModAlt);
    case 161: return Nav(NavPgDn, ModAlt);
    case 162: return Edit(EditInsert, ModAlt);
    case 163: return Edit(EditDelete, ModAlt);
    default: return CursorPadKey(code2);
  }
}

}  // namespace

void AnsiRedefineKey(int16_t port, int16_t code1, int16_t code2, const std::string& text) {
  if (port < 0 || port >= DevicePorts) return;
  KeyTarget t;
  switch (code1) {
    case 0: t = ZeroKey(code2); break;
    case 224: t = ExtendedKey(code2); break;
    case 8: t = Nav(NavBackSpace, ModNone); break;
    case 9: t = Nav(NavTab, ModNone); break;
    default: return;
  }
  CrtDefinition& d = CrtDefinitions[static_cast<size_t>(port)];
  const size_t row = static_cast<size_t>(t.Row), mod = static_cast<size_t>(t.Modifier);
  switch (t.Which) {
    case Table::Navigation: d.NavigationKeys[row][mod] = text; break;
    case Table::Function: d.FunctionKeys[row][mod] = text; break;
    case Table::Editing: d.EditingKeys[row][mod] = text; break;
    case Table::None: break;
  }
}

}  // namespace korva
