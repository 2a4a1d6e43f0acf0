#include "shell/ui/frmAbout.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "host/Host.h"
#include "shell/AppVersion.h"

namespace korva {

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Korva Emulator"));
  picIcon = new QLabel(this);
  picIcon->setObjectName(QStringLiteral("picIcon"));
  picIcon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
  lblTitle = new QLabel(QStringLiteral("Korva Emulator"), this);
  lblTitle->setObjectName(QStringLiteral("lblTitle"));
  QFont big = lblTitle->font();
  big.setPointSizeF(big.pointSizeF() * 1.5);
  big.setBold(true);
  lblTitle->setFont(big);
  lblVersion = new QLabel(
      QStringLiteral("Version %1.%2.%3").arg(AppVersionMajor).arg(AppVersionMinor).arg(AppVersionRevision), this);
  lblVersion->setObjectName(QStringLiteral("lblVersion"));
  cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setDefault(true);
  cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
  cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

  auto* text = new QVBoxLayout;
  text->addWidget(lblTitle);
  text->addWidget(lblVersion);
  text->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(picIcon, 0, Qt::AlignTop);
  top->addLayout(text, 1);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdSysInfo);
  buttons->addStretch();
  top->addLayout(buttons);
  setLayout(top);

  connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::cmdSysInfo_Click() {
  StartSysInfo();
  cmdOK->setFocus();  // Return closes the box again
}

void frmAbout::StartSysInfo() {
  Host().MessageBox("System Information Is Unavailable At This Time", AppTitle, MsgButtons::OK, MsgIcon::None);
}

void ShowAbout(QWidget* parent) {
  frmAbout box(parent);
  box.exec();
}

}  // namespace korva
