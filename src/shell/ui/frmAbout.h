// The About box: the program's title, icon and version, "OK" and "&System Info...".
#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

namespace korva {

class frmAbout : public QDialog {
  Q_OBJECT
 public:
  explicit frmAbout(QWidget* parent = nullptr);

  QLabel* picIcon;
  QLabel* lblTitle;
  QLabel* lblVersion;
  QPushButton* cmdOK;
  QPushButton* cmdSysInfo;

 private:
  void cmdSysInfo_Click();
  // No system-information tool on this host: says so.
  void StartSysInfo();
};

// Shows the About box modally.
void ShowAbout(QWidget* parent);

}  // namespace korva
