#include "disk/ui/dialogBoot.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "disk/Boot.h"
#include "disk/ui/DiskWindowHelpers.h"
#include "host/CodePage.h"
#include "shell/BootDrive.h"

namespace korva {

namespace {

constexpr char kSection[] = "dlBoot";

constexpr const char* kPresets[] = {
    "0.&.VERSADOS.SY", "0.Korvan.VERSADOS.SY", "9100.&.VERSADOS.SY", "9100.Korvan.VERSADOS.SY", "0.Korva.KBD.SY",
    "0.Korva.RAM.SY",  "0.Korva.SCM.SY",       "0.Korva.WDC.SY",     "0.Korva.MVME400.SY",      "0.Korva.MVME410.SY",
};

class BootStringWindow final : public BootStringAsker {
 public:
  bool ShowBoot(std::string& bootText) override {
    dialogBoot dialog;
    dialog.ShowBoot();
    bootText = dialog.BootText;
    return dialog.DialogResult == 1;
  }
};

}  // namespace

dialogBoot::dialogBoot(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("dialogBoot"));
  setWindowTitle(QStringLiteral("Boot"));
  lblMessage = new QLabel(this);
  lblMessage->setObjectName(QStringLiteral("lblMessage"));
  lblMessage->setTextFormat(Qt::PlainText);  // the help text's <...> are no markup
  comboBootString = new QComboBox(this);
  comboBootString->setObjectName(QStringLiteral("comboBootString"));
  comboBootString->setEditable(true);
  comboBootString->setInsertPolicy(QComboBox::NoInsert);
  cmdOKButton = new QPushButton(QStringLiteral("OK"), this);
  cmdOKButton->setObjectName(QStringLiteral("cmdOKButton"));
  cmdOKButton->setDefault(true);
  cmdCancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  cmdCancelButton->setObjectName(QStringLiteral("cmdCancelButton"));
  cmdCancelButton->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdOKButton);
  buttons->addWidget(cmdCancelButton);
  auto* all = new QVBoxLayout(this);
  all->addWidget(lblMessage);
  all->addWidget(comboBootString);
  all->addLayout(buttons);
  all->setSizeConstraint(QLayout::SetFixedSize);

  connect(cmdOKButton, &QPushButton::clicked, this, [this] { Finish(1); });
  connect(cmdCancelButton, &QPushButton::clicked, this, [this] { Finish(0); });
  adjustSize();
  LoadDiskWindowPlacement(*this, kSection, false);
}

dialogBoot::~dialogBoot() { SaveDiskWindowPlacement(*this, kSection); }

void dialogBoot::ShowBoot() {
  DialogResult = 0;
  FillBootDialog();
  exec();
}

void dialogBoot::FillBootDialog() {
  const std::string help = "Input <Boot String> for BO " + std::to_string(BootDrive) +
                           ",0,<Boot String>\n <Boot String> = [<user>.][<catalog>.]<filename>.<ex>[;<opts>]\n"
                           "  example: 0.Korvan.VERSADOS.SY;L=$10000,H";
  lblMessage->setText(QString::fromStdString(help));
  comboBootString->clear();
  for (const char* preset : kPresets) comboBootString->addItem(QString::fromLatin1(preset));
  comboBootString->setCurrentIndex(-1);
  comboBootString->setEditText(QString());
}

void dialogBoot::Finish(int16_t result) {
  DialogResult = result;
  BootText = Utf8ToCp1252(comboBootString->currentText().toStdString());
  hide();
}

void dialogBoot::reject() { Finish(0); }

void dialogBoot::closeEvent(QCloseEvent* event) {
  event->ignore();
  Finish(0);
}

void InstallBootStringDialog() {
  static BootStringWindow window;
  SetBootStringDialog(&window);
}

}  // namespace korva
