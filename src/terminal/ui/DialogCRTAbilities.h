// "CRT Abilities": the single and escaped control code tables of one CRT port,
// the custom goto fields with their example, wrap, scroll lock and the screen
// size. The lists and fields show the editor (terminal/AbilitiesEditor.h);
// OK and Apply write through it into the port's definition and window.
#pragma once
#include <QDialog>

#include <array>
#include <cstdint>

#include "terminal/AbilitiesEditor.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;

namespace korva::ui {

class DialogCRTAbilities final : public QDialog {
 public:
  // window: the port's terminal, told the wrap mode and the size on OK and
  // Apply; without one they are stored in the definition.
  DialogCRTAbilities(int16_t port, CrtModeSink* window, QWidget* parent = nullptr);

  int16_t PortNumber() const { return editor_.PortNumber(); }
  QTabWidget* Tabs() const { return tbsOptions_; }
  QListWidget* List(AbilityTable t) const { return t == AbilityTable::SCC ? lstSCC_ : lstECC_; }
  QListWidget* Abilities() const { return lstAbilities_; }
  QLineEdit* Field(DefinitionField f) const { return fields_[static_cast<size_t>(f)]; }
  QLabel* Example() const { return lblExample_; }
  QLabel* Ruler() const { return lblRuler_; }
  QLabel* LastSelected() const { return lblLastSelected_; }
  QCheckBox* NoWrap() const { return chkNoWrap_; }
  QCheckBox* ScrollLock() const { return chkScrollLock_; }
  const AbilitiesEditor& Editor() const { return editor_; }

  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildDefinitionsPage();
  void FillList(AbilityTable t);
  void SetLine(AbilityTable t, int i);
  void TabChanged(int index);
  // The table of the visible page; none on "Definitions".
  bool VisibleTable(AbilityTable& t) const;
  void Associate(bool remove);
  void ClearAll();
  void ShowLineOf(AbilityTable t);
  void FieldChanged(DefinitionField f, const QString& text);
  void RefreshChecks();
  bool Apply();

  AbilitiesEditor editor_;
  CrtModeSink* window_;
  QTabWidget* tbsOptions_ = nullptr;
  QListWidget* lstSCC_ = nullptr;
  QListWidget* lstECC_ = nullptr;
  QListWidget* lstAbilities_ = nullptr;
  QWidget* picFixed_ = nullptr;
  QLabel* lblLastSelected_ = nullptr;
  QLabel* lblExample_ = nullptr;
  QLabel* lblRuler_ = nullptr;
  QCheckBox* chkNoWrap_ = nullptr;
  QCheckBox* chkScrollLock_ = nullptr;
  QButtonGroup* optXYtype_ = nullptr;
  std::array<QLineEdit*, DefinitionFields> fields_{};
};

// Shows the dialog modally for the port.
void EditAbilities(int16_t port, CrtModeSink* window, QWidget* parent);

}  // namespace korva::ui
