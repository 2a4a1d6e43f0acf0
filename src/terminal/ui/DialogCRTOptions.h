// "Key Definitions": the key strings of one CRT port in caret notation, on four
// tabs (navigation keys, editing keys, function keys with modifiers 0-3 and
// with modifiers 4-7). The boxes show the editor's texts (terminal/KeyDefinitions.h);
// an edited box turns green or red; Apply and OK store through the editor.
#pragma once
#include <QDialog>

#include <array>
#include <cstdint>

#include "terminal/KeyDefinitions.h"

class QLineEdit;
class QPushButton;
class QTabWidget;

namespace korva::ui {

class DialogCRTOptions final : public QDialog {
 public:
  explicit DialogCRTOptions(int16_t port, QWidget* parent = nullptr);

  int16_t PortNumber() const { return editor_.PortNumber(); }
  QTabWidget* Tabs() const { return tbsOptions_; }
  // The box of a table's row under a KeyModifier (F1-F12 for the function keys).
  QLineEdit* Box(KeyTable t, int row, int modifier) const;
  const KeyDefinitionsEditor& Editor() const { return editor_; }

  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildPage(KeyTable t, int firstModifier, int modifiers);
  void BoxEdited(KeyTable t, int row, int modifier, const QString& text);
  void RefreshColours();
  void Apply();
  void OK();

  KeyDefinitionsEditor editor_;
  QTabWidget* tbsOptions_ = nullptr;
  // [table][row][modifier]
  std::array<std::array<std::array<QLineEdit*, KeyModifiers>, 12>, KeyTables> boxes_{};
};

// Shows the dialog modally for the port.
void EditKeyDefinitions(int16_t port, QWidget* parent);

}  // namespace korva::ui
