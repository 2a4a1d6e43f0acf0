// The terminal abilities editor of one CRT port: working copies of the two
// ability tables (SCC for single received characters, ECC for ESC + character),
// the custom goto fields with their checks, the wrap and scroll-lock modes and
// the screen size. It loads from the port's definition and writes back only on
// Apply or OK. The Qt dialog (terminal/ui/DialogCRTAbilities.h) shows it.
//
// Texts are bytes in the machine's code page (Windows-1252).
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "terminal/CrtDefinition.h"

namespace korva {

// ---- The selectable abilities, in the order the dialog lists them.
struct AbilityEntry {
  const char* Name;
  int32_t Code;
};
constexpr int AbilityCount = 114;
const std::array<AbilityEntry, AbilityCount>& AbilityList();
// The name of the first entry with that code; "" when none has it.
std::string AbilityName(int32_t code);
// One table line: entry i (0-255) holding code c, as " 65 A (41)-CursorUp".
// Nothing follows ")-" for code 0 or a code the list does not hold.
std::string TableLineText(int i, int32_t code);

// ---- The number fields of the "Definitions" page.
enum DefinitionField : int {
  FieldGotoSize = 0,     // S: bytes after ESC
  FieldGotoSizeXY,       // XY: bytes of each coordinate
  FieldGotoOffsetX,      // X: where the column starts
  FieldGotoOffsetY,      // Y: where the line starts
  FieldGotoValueOffsetX,
  FieldGotoValueOffsetY,
  FieldLines,
  FieldColumns,
};
constexpr int DefinitionFields = 8;
using FieldFlags = std::array<bool, DefinitionFields>;  // true: the field's text is red

// The largest XY of a location value type: Binary 1, Decimal 3, Hex 2, Octal 3;
// 3 for a type outside 0-3 (a stored value no option stands for).
int XYDigitsFor(int xyType);
// The range check of a value offset, Lines or Columns: true when valid.
bool RangeCheck(DefinitionField field, std::string_view text);
// The checks of the four goto fields (texts S, XY, X, Y): which of them are red.
std::array<bool, 4> CheckGotoRules(const std::array<std::string, 4>& texts, int xyDigits);
// "0123...": the last digit of each position 0 to S.
std::string GotoRuler(int size);
// "C" then the sequence's bytes: "x" for the column's, "y" for the line's and a
// bullet (Windows-1252 0x95) for the others; S characters.
std::string GotoExample(int size, int sizeXY, int offsetX, int offsetY);
constexpr char GotoBullet = '\x95';

enum class AbilityTable : int8_t { SCC = 0, ECC = 1 };

class AbilitiesEditor {
 public:
  explicit AbilitiesEditor(int16_t port = 0) : port_(port) {}
  int16_t PortNumber() const { return port_; }
  void PortNumber(int16_t port) { port_ = port; }

  // Everything from the port's definition; every field checked as it is set.
  void Load();

  // ---- The tables.
  int32_t Code(AbilityTable t, int i) const { return table(t)[static_cast<size_t>(i & 255)]; }
  void SetCode(AbilityTable t, int i, int32_t code) { table(t)[static_cast<size_t>(i & 255)] = code; }
  void ClearAll(AbilityTable t) { table(t).fill(0); }

  // ---- The "Definitions" page.
  const std::string& Field(DefinitionField f) const { return fields_[static_cast<size_t>(f)]; }
  bool Red(DefinitionField f) const { return red_[static_cast<size_t>(f)]; }
  const FieldFlags& RedFields() const { return red_; }
  // A field's text changed: its check runs (all four goto checks for a goto field).
  void SetField(DefinitionField f, const std::string& text);
  // A location value type option was clicked.
  void ClickXYType(int index);
  int CurrentXYType() const { return currentXYType_; }
  int XYDigits() const { return xyDigits_; }
  const std::string& Example() const { return example_; }
  const std::string& Ruler() const { return ruler_; }
  bool NoWrap = false;
  bool ScrollLock = false;

  bool DefinitionsValid() const;
  // Writes everything into the port's definition. The wrap mode and the size go
  // through the port's window when one is given (it ticks its menu and resizes).
  void SaveDefinitions(CrtModeSink* window) const;
  // The buttons: refused with the "Definition Errors" box while a field is red;
  // true when saved.
  bool Apply(CrtModeSink* window) const;

 private:
  std::array<int32_t, 256>& table(AbilityTable t) { return t == AbilityTable::SCC ? scc_ : ecc_; }
  const std::array<int32_t, 256>& table(AbilityTable t) const { return t == AbilityTable::SCC ? scc_ : ecc_; }
  void CheckGotoFields();

  int16_t port_;
  std::array<int32_t, 256> scc_{}, ecc_{};
  std::array<std::string, DefinitionFields> fields_{};
  FieldFlags red_{};
  int currentXYType_ = 0;
  int xyDigits_ = 1;
  std::string example_, ruler_;
};

}  // namespace korva
