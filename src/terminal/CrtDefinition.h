// The terminal definition of each CRT port: the ability tables, the cursor
// addressing parameters, the modes, colours and cursor, and the key strings.
// modCrt: the built-in defaults and the .tab, .kbd and .fky files.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "serial/Consoles.h"
#include "tables/Types.h"

namespace korva {

// Column of a key string: Shift adds 1, Ctrl 2, Alt 4.
enum KeyModifier : int16_t {
  ModNone = 0,
  ModShift = 1,
  ModCtrl = 2,
  ModCtrlShift = 3,
  ModAlt = 4,
  ModAltShift = 5,
  ModCtrlAlt = 6,
  ModCtrlAltShift = 7,
};
constexpr int KeyModifiers = 8;

// Rows of NavigationKeys, FunctionKeys and EditingKeys.
enum NavigationKey : int16_t {
  NavPgUp = 0, NavPgDn, NavEnd, NavHome, NavLeft, NavUp, NavRight, NavDown, NavBackSpace, NavTab,
};
constexpr int NavigationKeyRows = 10;
constexpr int FunctionKeyRows = 13;  // F1-F13; no key sends F13
enum EditingKey : int16_t { EditInsert = 0, EditDelete = 1 };
constexpr int EditingKeyRows = 2;

// A key string is bytes 0-255, sent as typed.
using KeyString = std::string;
using KeyRow = std::array<KeyString, KeyModifiers>;

struct CrtDefinition {
  VBool Initialized = False;  // the port's window has loaded once in this run (in no file)
  int16_t GotoSize = 0;
  int16_t GotoSizeXY = 0;
  int16_t GotoOffsetX = 0;
  int16_t GotoOffsetY = 0;
  int16_t XYType = 0;  // 0 binary, 1 decimal, 2 hexadecimal, 3 octal
  int16_t GotoValueOffsetX = 0;
  int16_t GotoValueOffsetY = 0;
  VBool NoWrap = False;
  VBool ScrollLock = False;
  int16_t Lines = 0;    // 1-67 once the window has sized the screen
  int16_t Columns = 0;  // 1-133
  VBool Ascii = False;
  int16_t Parity = 0;  // 0 Zero, 1 One, 2 Even, 3 Odd
  VBool ANSI = False;
  VBool Insert = False;
  VBool AutoLF = False;
  VBool AutoCR = False;
  int32_t TextColor = 0;
  int32_t BackColor = 0;
  int16_t CursorType = 0;  // 0 none, 1 vertical line, 2 horizontal line, 3 box, 4 caret, 5 filled caret
  VBool CursorFront = False;
  std::string TabFile, FkyFile, KbdFile;
  std::array<KeyRow, NavigationKeyRows> NavigationKeys{};
  std::array<KeyRow, FunctionKeyRows> FunctionKeys{};
  std::array<KeyRow, EditingKeyRows> EditingKeys{};
  std::array<int32_t, 256> SCC{};
  std::array<int32_t, 256> ECC{};

  bool operator==(const CrtDefinition&) const = default;  // every field
};

// One record per device port, all zero and empty at start.
extern std::array<CrtDefinition, DevicePorts> CrtDefinitions;
// Back to the start state (for tests).
void ResetCrtDefinitions();

// The screen sizes a definition may hold.
constexpr int16_t CrtMaxLines = 67;
constexpr int16_t CrtMaxColumns = 133;

// What an abilities file applies to the port's window after a load: the window's
// mode setters (they store the mode and tick its menu) and its resize.
class CrtModeSink {
 public:
  virtual ~CrtModeSink() = default;
  virtual void SetNoWrap(VBool on) = 0;
  virtual void SetAutoCR(VBool on) = 0;
  virtual void SetAutoLF(VBool on) = 0;
  virtual void SetANSI(VBool on) = 0;
  virtual void SetASCII(VBool on) = 0;
  virtual void SetParity(int16_t parity) = 0;
  virtual void SetCursorType(int16_t type) = 0;
  virtual void SetCursorFront(VBool on) = 0;
  virtual void ResizeScreen(int32_t columns, int32_t lines) = 0;
};

// ---- modCrt. Every procedure takes the DevicePort; a port outside 0-15 does nothing.

// The built-in entries; entries they do not name are left as they are.
void SetDefaultControlAbilities(int16_t port);
void SetDefaultEscapeAbilities(int16_t port);
void SetDefaultNavigationKeys(int16_t port);
void SetDefaultEditingKeys(int16_t port);
void SetDefaultFunctionKeys(int16_t port);

// The files. A load reads the file, never beyond the largest such file can be,
// and changes the definition only when the file is complete; a missing file
// changes nothing and shows nothing, and anything but a regular file (a FIFO, a
// device, a link to one) is refused unopened with the load's error box. A save
// writes beside the target and renames over it, so a failure leaves the old
// file; through a link it replaces the link's target, keeping its mode, and it
// refuses a read-only or non-regular target with the save's error box.
// After an abilities load the modes and the size go to modes when one is given,
// else they are stored in the definition. A load gives true when it took the
// file, false when there was none or it was refused (the definition untouched).
void SaveAbilitiesFile(const std::string& path, int16_t port);
bool LoadAbilitiesFile(const std::string& path, int16_t port, CrtModeSink* modes);
void SaveKeysFile(const std::string& path, int16_t port);
bool LoadKeysFile(const std::string& path, int16_t port);
void SaveFunctionKeysFile(const std::string& path, int16_t port);
bool LoadFunctionKeysFile(const std::string& path, int16_t port);

// File magics.
constexpr uint32_t AbilitiesMagic = 0x8525DC2E;     // 552 bytes
constexpr uint32_t AbilitiesMagic550 = 0xE6819AD1;  // through CursorFront, 550 bytes
constexpr uint32_t AbilitiesMagic536 = 0x5F3D2A9C;  // through Columns, 536 bytes
constexpr uint32_t KeysMagic = 0x9E7C3F2A;
constexpr uint32_t FunctionKeysMagic = 0x4F6A1C8B;

// Test hook: when not negative, the next save fails with an I/O error once this
// many bytes have been written (then it goes back to -1).
extern int32_t CrtSaveFailAfter;

}  // namespace korva
