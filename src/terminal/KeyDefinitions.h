// The key definitions editor of one CRT port: the strings that the navigation,
// editing and function keys send under each KeyModifier, shown and typed in
// caret notation (^M for carriage return). It holds the text and the colour of
// every box of the key definitions dialog; strings reach the port's definition
// only through Apply or OK. The Qt dialog (terminal/ui/DialogCRTOptions.h) only
// shows the boxes and forwards the edits.
//
// Texts are bytes in the machine's code page (Windows-1252).
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "terminal/CrtDefinition.h"

namespace korva {

// Caret notation. A character below 32 is "^" followed by the character of code + 64.
std::string StringToCaret(std::string_view s);
// "^" followed by c gives the character of code c - 64; a final "^" adds nothing.
// A caret before a character below "A" has no control character to give: both
// characters are kept as they are (a string loaded from a file may hold them).
std::string CaretToString(std::string_view text);
// Every "^" is followed by a character from "A" to "_" ("^^" counts as one pair).
bool IsValidCaretText(std::string_view text);

// The tables the dialog edits, in the order of its tabs.
enum class KeyTable : int8_t { Navigation = 0, Editing = 1, Function = 2 };
constexpr int KeyTables = 3;
// Rows with boxes: F13 has none.
constexpr int KeyTableRows(KeyTable t) {
  return t == KeyTable::Navigation ? NavigationKeyRows : t == KeyTable::Editing ? EditingKeyRows : 12;
}

// The colour of a box's text: black after filling and after Apply, green after
// an edit that left valid caret text, red after one that left invalid text.
enum class KeyBoxState : uint8_t { Plain, Valid, Invalid };
constexpr uint32_t KeyBoxBlack = 0;
constexpr uint32_t ValidColor = 0x008000;  // RGB(0, 128, 0)
constexpr uint32_t KeyBoxRed = 0x0000FF;   // RGB(255, 0, 0) as 0x00BBGGRR
uint32_t KeyBoxColor(KeyBoxState s);

class KeyDefinitionsEditor {
 public:
  explicit KeyDefinitionsEditor(int16_t port = 0) : port_(port) {}
  int16_t PortNumber() const { return port_; }
  void PortNumber(int16_t port) { port_ = port; }

  // Every box from the port's definition, every box black.
  void FillKeyBoxes();
  // Every box's text decoded into the port's definition.
  void StoreKeyBoxes() const;
  void ResetBoxColours();
  bool AllBoxesValid() const;

  const std::string& Text(KeyTable t, int row, int modifier) const { return box(t, row, modifier).Text; }
  KeyBoxState State(KeyTable t, int row, int modifier) const { return box(t, row, modifier).State; }
  // The user edited a box. representable: false when the typed text held a
  // character the code page lacks (the box turns red whatever the rest is).
  void Edit(KeyTable t, int row, int modifier, const std::string& text, bool representable = true);

  // The buttons. Both refuse while a box is red, with the "String Error" box,
  // and store nothing; true when the strings were stored.
  bool Apply();  // stores, every box turns black
  bool OK();     // stores; the caller closes the dialog

 private:
  struct Box {
    std::string Text;
    KeyBoxState State = KeyBoxState::Plain;
  };
  static constexpr int kRows = NavigationKeyRows + EditingKeyRows + 12;
  static int Base(KeyTable t) {
    return t == KeyTable::Navigation ? 0 : t == KeyTable::Editing ? NavigationKeyRows : NavigationKeyRows + EditingKeyRows;
  }
  Box& box(KeyTable t, int row, int modifier) { return boxes_[static_cast<size_t>(Base(t) + row)][static_cast<size_t>(modifier)]; }
  const Box& box(KeyTable t, int row, int modifier) const {
    return boxes_[static_cast<size_t>(Base(t) + row)][static_cast<size_t>(modifier)];
  }
  // The definition's slot of a box (nullptr for a port outside 0-15).
  KeyString* Slot(KeyTable t, int row, int modifier) const;
  bool Refused() const;

  int16_t port_;
  std::array<std::array<Box, KeyModifiers>, kRows> boxes_{};
};

}  // namespace korva
