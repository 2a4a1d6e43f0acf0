// "Jumpers": the modal dialog in which the user sets the board jumpers and the
// system switches. A holder of values (shell/Jumpers.h): the caller fills
// Fields, calls ShowJumpers and reads DialogResult and Fields. OK copies the
// controls into the fields and saves every key; Cancel and the close box change
// nothing. The controls are built afresh for every dialog object; the caller
// destroys the dialog after each use, which saves its placement.
#pragma once
#include <QDialog>

#include <array>

#include "shell/Jumpers.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTabBar;

namespace korva {

class formJumpers final : public QDialog, public JumperDialog {
 public:
  explicit formJumpers(QWidget* parent = nullptr);
  ~formJumpers() override;

  void ShowJumpers(int32_t tab) override;
  // Shows frame n (1-5) and selects its tab; nothing when it is shown already.
  void SelectTab(int n);

  // Option buttons of one interrupt-line group; index = line 1-4 (0 unused).
  using LineButtons = std::array<QRadioButton*, 5>;

  // The controls, by the names the tests use.
  QTabBar* tsJumpers = nullptr;
  std::array<QGroupBox*, 6> frmJumpers = {};  // 1-5
  std::array<QCheckBox*, 3> chkSwitches = {};
  QCheckBox* chkIoChEn = nullptr;
  LineButtons optM400C0N7201Int = {}, optM400C0IRQA = {}, optM400C0IRQB = {};
  LineButtons optM400C1N7201Int = {}, optM400C1IRQA = {}, optM400C1IRQB = {};
  LineButtons optM410P1IRQA = {}, optM410P1IRQB = {}, optM410P2IRQA = {}, optM410P2IRQB = {};
  LineButtons optRWINDATAIRQ = {}, optRWINCMDIRQ = {};
  std::array<QRadioButton*, 5> optRWINFD02 = {}, optRWINFD03 = {};
  QCheckBox* chkAutoFD02 = nullptr;
  QCheckBox* chkAutoFD03 = nullptr;
  std::array<QComboBox*, 2> comboBaudC0 = {}, comboBaudC1 = {};  // port A, port B
  std::array<QCheckBox*, 2> chkJ16A = {};
  std::array<QCheckBox*, 8> chkJ16 = {};
  QPushButton* cmdOKButton = nullptr;
  QPushButton* cmdCancelButton = nullptr;

  void reject() override;  // Cancel, Escape and the close box

 private:
  void BuildControls();
  void LoadControls();
  void ControlsToFields();
  void cmdOKButton_Click();

  QStackedWidget* frames_ = nullptr;
};

}  // namespace korva
