// The boot-string dialog ("Boot"): asks the boot string of a volume boot,
// offering ten preset strings in an editable combo box. Its window serves the
// boot core's BootStringDialog once InstallBootStringDialog has run.
#pragma once
#include <QDialog>
#include <cstdint>
#include <string>

class QComboBox;
class QLabel;
class QPushButton;

namespace korva {

class dialogBoot : public QDialog {
  Q_OBJECT
 public:
  // Loads the dialog at its place of section "dlBoot".
  explicit dialogBoot(QWidget* parent = nullptr);
  // Unloads: saves the placement.
  ~dialogBoot() override;

  std::string BootText;      // the combo's text after OK or Cancel (machine code page)
  int16_t DialogResult = 0;  // 1 after OK, 0 after Cancel or the close box

  // Fills the help text and the presets and shows the dialog modally.
  void ShowBoot();

  QLabel* lblMessage;
  QComboBox* comboBootString;
  QPushButton* cmdOKButton;
  QPushButton* cmdCancelButton;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;  // Escape acts as Cancel

 private:
  void FillBootDialog();
  void Finish(int16_t result);
};

// Makes the boot ask its boot string through dialogBoot, loaded for each
// question and unloaded afterwards.
void InstallBootStringDialog();

}  // namespace korva
