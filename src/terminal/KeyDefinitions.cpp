#include "terminal/KeyDefinitions.h"

#include "host/Host.h"

namespace korva {

std::string StringToCaret(std::string_view s) {
  std::string out;
  out.reserve(s.size() * 2);
  for (char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 32) {
      out += '^';
      out += static_cast<char>(c + 64);
    } else {
      out += ch;
    }
  }
  return out;
}

std::string CaretToString(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool caret = false;
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (caret) {
      caret = false;
      if (c >= 'A') {
        out += static_cast<char>(c - 64);
      } else {
        out += '^';
        out += ch;
      }
    } else if (ch == '^') {
      caret = true;
    } else {
      out += ch;
    }
  }
  return out;
}

bool IsValidCaretText(std::string_view text) {
  bool valid = true;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    const char next = i + 1 < text.size() ? text[i + 1] : ' ';
    if (c == '^' && (next < 'A' || next > '_')) valid = false;
    i += next == c ? 2 : 1;
  }
  return valid;
}

uint32_t KeyBoxColor(KeyBoxState s) {
  return s == KeyBoxState::Valid ? ValidColor : s == KeyBoxState::Invalid ? KeyBoxRed : KeyBoxBlack;
}

KeyString* KeyDefinitionsEditor::Slot(KeyTable t, int row, int modifier) const {
  if (port_ < 0 || port_ >= DevicePorts) return nullptr;
  CrtDefinition& d = CrtDefinitions[static_cast<size_t>(port_)];
  const auto r = static_cast<size_t>(row);
  const auto m = static_cast<size_t>(modifier);
  switch (t) {
    case KeyTable::Navigation: return &d.NavigationKeys[r][m];
    case KeyTable::Editing: return &d.EditingKeys[r][m];
    case KeyTable::Function: return &d.FunctionKeys[r][m];
  }
  return nullptr;
}

void KeyDefinitionsEditor::FillKeyBoxes() {
  for (int t = 0; t < KeyTables; ++t) {
    const auto table = static_cast<KeyTable>(t);
    for (int row = 0; row < KeyTableRows(table); ++row)
      for (int m = 0; m < KeyModifiers; ++m) {
        const KeyString* s = Slot(table, row, m);
        box(table, row, m).Text = s ? StringToCaret(*s) : std::string();
      }
  }
  ResetBoxColours();
}

void KeyDefinitionsEditor::StoreKeyBoxes() const {
  for (int t = 0; t < KeyTables; ++t) {
    const auto table = static_cast<KeyTable>(t);
    for (int row = 0; row < KeyTableRows(table); ++row)
      for (int m = 0; m < KeyModifiers; ++m)
        if (KeyString* s = Slot(table, row, m)) *s = CaretToString(box(table, row, m).Text);
  }
}

void KeyDefinitionsEditor::ResetBoxColours() {
  for (auto& row : boxes_)
    for (Box& b : row) b.State = KeyBoxState::Plain;
}

bool KeyDefinitionsEditor::AllBoxesValid() const {
  for (const auto& row : boxes_)
    for (const Box& b : row)
      if (b.State == KeyBoxState::Invalid) return false;
  return true;
}

void KeyDefinitionsEditor::Edit(KeyTable t, int row, int modifier, const std::string& text, bool representable) {
  Box& b = box(t, row, modifier);
  b.Text = text;
  b.State = representable && IsValidCaretText(text) ? KeyBoxState::Valid : KeyBoxState::Invalid;
}

bool KeyDefinitionsEditor::Refused() const {
  if (AllBoxesValid()) return false;
  Host().MessageBox("Errors are shown in RED. Fix them or click CANCEL.", "String Error", MsgButtons::OK,
                    MsgIcon::None);
  return true;
}

bool KeyDefinitionsEditor::Apply() {
  if (Refused()) return false;
  StoreKeyBoxes();
  ResetBoxColours();
  return true;
}

bool KeyDefinitionsEditor::OK() {
  if (Refused()) return false;
  StoreKeyBoxes();
  return true;
}

}  // namespace korva
