#include "terminal/ui/DialogCRTOptions.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "host/CodePage.h"
#include "host/qt/QtText.h"
#include "terminal/ui/DialogHelpers.h"

namespace korva::ui {

namespace {

constexpr char kSection[] = "CRToptions";

const char* const kHeadings[KeyModifiers] = {"Normal", "Shift",     "Control",     "Control Shift",
                                             "Alt",    "Alt Shift", "Control Alt", "Control Alt Shift"};
const char* const kNavigationRows[NavigationKeyRows] = {"Pg Up", "Pg Down", "End",  "Home", "Left",
                                                        "Up",    "Right",   "Down", "Back", "Tab"};
const char* const kEditingRows[EditingKeyRows] = {"Insert", "Delete"};

// The names of the 24 box arrays, by table and modifier.
const char* const kArrayNames[KeyTables][KeyModifiers] = {
    {"txtNavigateKeyStrings", "txtNavigateKeyStringsShift", "txtNavigateKeyStringsControl",
     "txtNavigateKeyStringsControlShift", "txtNKAlt", "txtNKaltShift", "txtNKCntrlAlt", "txtNKCntrlAltShift"},
    {"txtEK", "txtEKShift", "txtEKCntrl", "txtEKCntrlShift", "txtEKalt", "txtEKAltShift", "txtEKCntrlAlt",
     "txtEKCntrlAltShift"},
    {"txtFKStrings", "txtFKStringsShift", "txtFKStringsControl", "txtFKStringsControlShift", "txtFKAlt",
     "txtFKAltShift", "txtFKCntrlAlt", "txtFKCntrlAltShift"},
};

}  // namespace

DialogCRTOptions::DialogCRTOptions(int16_t port, QWidget* parent) : QDialog(parent), editor_(port) {
  setObjectName(QStringLiteral("DialogCRTOptions"));
  setWindowTitle(QStringLiteral("Key Definitions"));
  tbsOptions_ = new QTabWidget(this);
  tbsOptions_->setObjectName(QStringLiteral("tbsOptions"));
  tbsOptions_->addTab(BuildPage(KeyTable::Navigation, 0, KeyModifiers), QStringLiteral("Navigate Keys"));
  tbsOptions_->addTab(BuildPage(KeyTable::Editing, 0, KeyModifiers), QStringLiteral("Edit Keys"));
  tbsOptions_->addTab(BuildPage(KeyTable::Function, 0, 4), QStringLiteral("Function Keys"));
  tbsOptions_->addTab(BuildPage(KeyTable::Function, 4, 4), QStringLiteral("Function Keys"));
  for (int i = 0; i < tbsOptions_->count(); ++i) tbsOptions_->widget(i)->setObjectName(QStringLiteral("picOptions_%1").arg(i));

  auto* cmdApply = new QPushButton(QStringLiteral("Apply"), this);
  cmdApply->setObjectName(QStringLiteral("cmdApply"));
  auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  auto* cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  for (QPushButton* b : {cmdApply, cmdOK, cmdCancel}) b->setAutoDefault(false);
  connect(cmdApply, &QPushButton::clicked, this, &DialogCRTOptions::Apply);
  connect(cmdOK, &QPushButton::clicked, this, &DialogCRTOptions::OK);
  connect(cmdCancel, &QPushButton::clicked, this, &DialogCRTOptions::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdCancel);
  buttons->addWidget(cmdApply);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tbsOptions_);
  layout->addLayout(buttons);

  editor_.FillKeyBoxes();
  for (int t = 0; t < KeyTables; ++t)
    for (int row = 0; row < KeyTableRows(static_cast<KeyTable>(t)); ++row)
      for (int m = 0; m < KeyModifiers; ++m)
        if (QLineEdit* b = Box(static_cast<KeyTable>(t), row, m)) b->setText(ToQt(editor_.Text(static_cast<KeyTable>(t), row, m)));
  RefreshColours();

  // Ctrl+Tab is the dialog's own wherever the focus is.
  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
  installEventFilter(this);
  LoadDialogPlacement(*this, kSection);
}

QWidget* DialogCRTOptions::BuildPage(KeyTable t, int firstModifier, int modifiers) {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(2);
  for (int k = 0; k < modifiers; ++k) {
    auto* heading = new QLabel(QString::fromLatin1(kHeadings[firstModifier + k]), page);
    heading->setAlignment(Qt::AlignCenter);
    grid->addWidget(heading, 0, k + 1);
  }
  const int tableIndex = static_cast<int>(t);
  for (int row = 0; row < KeyTableRows(t); ++row) {
    QString label = t == KeyTable::Navigation ? QString::fromLatin1(kNavigationRows[row])
                    : t == KeyTable::Editing  ? QString::fromLatin1(kEditingRows[row])
                                              : QStringLiteral("F%1").arg(row + 1);
    auto* rowLabel = new QLabel(label, page);
    if (t == KeyTable::Function) rowLabel->setObjectName(QStringLiteral("%1_%2").arg(firstModifier ? "lblFkeys" : "lblFkey").arg(row));
    grid->addWidget(rowLabel, row + 1, 0);
    for (int k = 0; k < modifiers; ++k) {
      const int m = firstModifier + k;
      auto* box = new QLineEdit(page);
      box->setObjectName(QStringLiteral("%1_%2").arg(QString::fromLatin1(kArrayNames[tableIndex][m])).arg(row));
      box->setMinimumWidth(t == KeyTable::Function ? 150 : 96);
      boxes_[static_cast<size_t>(tableIndex)][static_cast<size_t>(row)][static_cast<size_t>(m)] = box;
      if (t == KeyTable::Function && row == 5 && m == ModAlt) {
        // Alt+F6 never reaches the window as a key: its string is shown only.
        box->setEnabled(false);
        QPalette p = box->palette();
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
          p.setColor(group, QPalette::Base, QColor(200, 200, 200));
        box->setPalette(p);
      }
      connect(box, &QLineEdit::textEdited, this,
              [this, t, row, m](const QString& text) { BoxEdited(t, row, m, text); });
      grid->addWidget(box, row + 1, k + 1);
    }
  }
  grid->setRowStretch(KeyTableRows(t) + 1, 1);
  return page;
}

QLineEdit* DialogCRTOptions::Box(KeyTable t, int row, int modifier) const {
  if (row < 0 || row >= KeyTableRows(t) || modifier < 0 || modifier >= KeyModifiers) return nullptr;
  return boxes_[static_cast<size_t>(t)][static_cast<size_t>(row)][static_cast<size_t>(modifier)];
}

void DialogCRTOptions::BoxEdited(KeyTable t, int row, int modifier, const QString& text) {
  const std::string utf8 = text.toStdString();
  const std::string bytes = Utf8ToCp1252(utf8);
  editor_.Edit(t, row, modifier, bytes, Cp1252ToUtf8(bytes) == utf8);
  if (QLineEdit* b = Box(t, row, modifier)) SetTextColor(*b, KeyBoxColor(editor_.State(t, row, modifier)));
}

void DialogCRTOptions::RefreshColours() {
  for (int t = 0; t < KeyTables; ++t)
    for (int row = 0; row < KeyTableRows(static_cast<KeyTable>(t)); ++row)
      for (int m = 0; m < KeyModifiers; ++m)
        if (QLineEdit* b = Box(static_cast<KeyTable>(t), row, m))
          SetTextColor(*b, KeyBoxColor(editor_.State(static_cast<KeyTable>(t), row, m)));
}

void DialogCRTOptions::Apply() {
  if (editor_.Apply()) RefreshColours();
}

void DialogCRTOptions::OK() {
  if (editor_.OK()) accept();
}

void DialogCRTOptions::done(int result) {
  SaveDialogPlacement(*this, kSection);
  QDialog::done(result);
}

bool DialogCRTOptions::eventFilter(QObject* watched, QEvent* event) {
  if (CtrlTabKey(event, *tbsOptions_)) return true;
  return QDialog::eventFilter(watched, event);
}

void EditKeyDefinitions(int16_t port, QWidget* parent) {
  DialogCRTOptions dialog(port, parent);
  dialog.exec();
}

}  // namespace korva::ui
