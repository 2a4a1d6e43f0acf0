#include "terminal/ui/DialogCRTAbilities.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "host/CodePage.h"
#include "host/qt/QtText.h"
#include "terminal/ui/DialogHelpers.h"

namespace korva::ui {

namespace {

constexpr char kSection[] = "CRTabilities";
constexpr int kCodeRole = Qt::UserRole;

const char* const kFieldNames[DefinitionFields] = {
    "txtGotoSize",          "txtGotoSizeXY",        "txtGotoOffsetX", "txtGotoOffsetY",
    "txtGotoValueOffsetX",  "txtGotoValueOffsetY",  "txtLines",       "txtColumns",
};

QLabel* Note(const char* text, QWidget* parent) { return new QLabel(QString::fromLatin1(text), parent); }

}  // namespace

DialogCRTAbilities::DialogCRTAbilities(int16_t port, CrtModeSink* window, QWidget* parent)
    : QDialog(parent), editor_(port), window_(window) {
  setObjectName(QStringLiteral("DialogCRTAbilities"));
  setWindowTitle(QStringLiteral("CRT Abilities"));
  const QFont fixed = ListFont();

  tbsOptions_ = new QTabWidget(this);
  tbsOptions_->setObjectName(QStringLiteral("tbsOptions"));
  lstSCC_ = new QListWidget;
  lstSCC_->setObjectName(QStringLiteral("lstSCC"));
  lstECC_ = new QListWidget;
  lstECC_->setObjectName(QStringLiteral("lstECC"));
  for (QListWidget* l : {lstSCC_, lstECC_}) {
    l->setFont(fixed);
    l->setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QLatin1Char('M')) * 40);
  }
  // The three pages, picOptions_0 to picOptions_2, one per tab.
  const auto page = [](QWidget* content) {
    auto* p = new QWidget;
    auto* l = new QVBoxLayout(p);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(content);
    return p;
  };
  tbsOptions_->addTab(page(lstSCC_), QStringLiteral("Single Control Codes"));
  tbsOptions_->addTab(page(lstECC_), QStringLiteral("Escaped Control Codes"));
  tbsOptions_->addTab(BuildDefinitionsPage(), QStringLiteral("Definitions"));
  for (int i = 0; i < tbsOptions_->count(); ++i)
    tbsOptions_->widget(i)->setObjectName(QStringLiteral("picOptions_%1").arg(i));

  picFixed_ = new QWidget(this);
  picFixed_->setObjectName(QStringLiteral("picFixed"));
  lstAbilities_ = new QListWidget(picFixed_);
  lstAbilities_->setObjectName(QStringLiteral("lstAbilities"));
  lstAbilities_->setFont(fixed);
  auto* cmdAdd = new QPushButton(QStringLiteral("Associate <------------"), picFixed_);
  cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
  auto* cmdRemove = new QPushButton(QStringLiteral("Remove"), picFixed_);
  cmdRemove->setObjectName(QStringLiteral("cmdRemove"));
  auto* cmdRemoveAll = new QPushButton(QStringLiteral("Clear All"), picFixed_);
  cmdRemoveAll->setObjectName(QStringLiteral("cmdRemoveAll"));
  auto* fixedLayout = new QVBoxLayout(picFixed_);
  fixedLayout->setContentsMargins(0, 0, 0, 0);
  fixedLayout->addWidget(cmdAdd);
  fixedLayout->addWidget(lstAbilities_, 1);
  fixedLayout->addWidget(cmdRemove);
  fixedLayout->addWidget(cmdRemoveAll);

  lblLastSelected_ = new QLabel(this);
  lblLastSelected_->setObjectName(QStringLiteral("lblLastSelected"));
  lblLastSelected_->setFont(fixed);
  lblLastSelected_->setFrameShape(QFrame::Panel);
  lblLastSelected_->setFrameShadow(QFrame::Sunken);
  auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  auto* cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  auto* cmdApply = new QPushButton(QStringLiteral("Apply"), this);
  cmdApply->setObjectName(QStringLiteral("cmdApply"));
  for (QPushButton* b : {cmdAdd, cmdRemove, cmdRemoveAll, cmdOK, cmdCancel, cmdApply}) b->setAutoDefault(false);

  auto* top = new QHBoxLayout;
  top->addWidget(tbsOptions_, 3);
  top->addWidget(picFixed_, 2);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(lblLastSelected_, 1);
  bottom->addWidget(cmdOK);
  bottom->addWidget(cmdCancel);
  bottom->addWidget(cmdApply);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(bottom);
  resize(820, 560);

  connect(tbsOptions_, &QTabWidget::currentChanged, this, &DialogCRTAbilities::TabChanged);
  for (AbilityTable t : {AbilityTable::SCC, AbilityTable::ECC})
    connect(List(t), &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
      lblLastSelected_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      lblLastSelected_->setText(item->text());
    });
  connect(lstAbilities_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    lblLastSelected_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblLastSelected_->setText(item->text());
  });
  connect(cmdAdd, &QPushButton::clicked, this, [this] { Associate(false); });
  connect(cmdRemove, &QPushButton::clicked, this, [this] { Associate(true); });
  connect(cmdRemoveAll, &QPushButton::clicked, this, &DialogCRTAbilities::ClearAll);
  connect(cmdApply, &QPushButton::clicked, this, &DialogCRTAbilities::Apply);
  connect(cmdOK, &QPushButton::clicked, this, [this] {
    if (Apply()) accept();
  });
  connect(cmdCancel, &QPushButton::clicked, this, &DialogCRTAbilities::reject);

  // Loading: the abilities first, since the line texts name them.
  for (const AbilityEntry& e : AbilityList()) {
    auto* item = new QListWidgetItem(QString::fromLatin1(e.Name), lstAbilities_);
    item->setData(kCodeRole, e.Code);
  }
  editor_.Load();
  FillList(AbilityTable::SCC);
  FillList(AbilityTable::ECC);
  for (int f = 0; f < DefinitionFields; ++f) {
    const QSignalBlocker b(fields_[static_cast<size_t>(f)]);
    fields_[static_cast<size_t>(f)]->setText(ToQt(editor_.Field(static_cast<DefinitionField>(f))));
  }
  if (QAbstractButton* option = optXYtype_->button(editor_.CurrentXYType())) option->setChecked(true);
  chkNoWrap_->setChecked(editor_.NoWrap);
  chkScrollLock_->setChecked(editor_.ScrollLock);
  RefreshChecks();
  TabChanged(0);

  // Ctrl+Tab is the dialog's own wherever the focus is.
  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
  installEventFilter(this);
  LoadDialogPlacement(*this, kSection);
}

QWidget* DialogCRTAbilities::BuildDefinitionsPage() {
  auto* page = new QWidget;
  auto* frame = new QGroupBox(QStringLiteral("Custom Goto"), page);
  frame->setObjectName(QStringLiteral("Frame1"));
  for (int f = 0; f < DefinitionFields; ++f) {
    auto* box = new QLineEdit;
    box->setObjectName(QString::fromLatin1(kFieldNames[f]));
    box->setMaximumWidth(60);
    fields_[static_cast<size_t>(f)] = box;
    connect(box, &QLineEdit::textChanged, this,
            [this, f](const QString& text) { FieldChanged(static_cast<DefinitionField>(f), text); });
  }
  auto* grid = new QGridLayout(frame);
  grid->addWidget(Note("Total Bytes in sequence", frame), 0, 0);
  grid->addWidget(fields_[FieldGotoSize], 0, 1);
  grid->addWidget(Note("Don't count the Escape Byte", frame), 0, 2);
  grid->addWidget(Note("Number of bytes in X or Y", frame), 1, 0);
  grid->addWidget(fields_[FieldGotoSizeXY], 1, 1);
  grid->addWidget(Note("Offset to X component", frame), 2, 0);
  grid->addWidget(fields_[FieldGotoOffsetX], 2, 1);
  grid->addWidget(Note("X =Column", frame), 2, 2);
  grid->addWidget(Note("Offset to Y component", frame), 3, 0);
  grid->addWidget(fields_[FieldGotoOffsetY], 3, 1);
  grid->addWidget(Note("Y=Line=Row", frame), 3, 2);

  grid->addWidget(Note("Location Value Type", frame), 4, 0);
  optXYtype_ = new QButtonGroup(frame);
  auto* options = new QHBoxLayout;
  const char* const names[4] = {"Binary", "Decimal", "Hex", "Octal"};
  for (int i = 0; i < 4; ++i) {
    auto* o = new QRadioButton(QString::fromLatin1(names[i]), frame);
    o->setObjectName(QStringLiteral("optXYtype_%1").arg(i));
    optXYtype_->addButton(o, i);
    options->addWidget(o);
  }
  options->addStretch(1);
  grid->addLayout(options, 4, 1, 1, 2);
  connect(optXYtype_, &QButtonGroup::idClicked, this, [this](int id) {
    editor_.ClickXYType(id);
    RefreshChecks();
  });

  grid->addWidget(Note("Value Offset for", frame), 5, 0);
  auto* offsets = new QHBoxLayout;
  offsets->addWidget(Note("X", frame));
  offsets->addWidget(fields_[FieldGotoValueOffsetX]);
  offsets->addWidget(Note("Y", frame));
  offsets->addWidget(fields_[FieldGotoValueOffsetY]);
  offsets->addWidget(Note("All values Decimal", frame));
  offsets->addStretch(1);
  grid->addLayout(offsets, 5, 1, 1, 2);

  const QFont fixed = ListFont();
  lblExample_ = new QLabel(frame);
  lblExample_->setObjectName(QStringLiteral("lblExample"));
  lblRuler_ = new QLabel(frame);
  lblRuler_->setObjectName(QStringLiteral("lblRuler"));
  for (QLabel* l : {lblExample_, lblRuler_}) {
    l->setFont(fixed);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }
  auto* sample = new QVBoxLayout;
  sample->setSpacing(0);
  sample->addWidget(lblExample_);
  sample->addWidget(lblRuler_);
  grid->addLayout(sample, 6, 1, 1, 2);
  grid->setColumnStretch(3, 1);

  chkNoWrap_ = new QCheckBox(QStringLiteral("NoWrap"), page);
  chkNoWrap_->setObjectName(QStringLiteral("chkNoWrap"));
  chkScrollLock_ = new QCheckBox(QStringLiteral("Scroll Lock"), page);
  chkScrollLock_->setObjectName(QStringLiteral("chkScrollLock"));
  connect(chkNoWrap_, &QCheckBox::toggled, this, [this](bool on) { editor_.NoWrap = on; });
  connect(chkScrollLock_, &QCheckBox::toggled, this, [this](bool on) { editor_.ScrollLock = on; });

  auto* size = new QHBoxLayout;
  size->addWidget(Note("Lines", page));
  size->addWidget(fields_[FieldLines]);
  size->addWidget(Note("Columns", page));
  size->addWidget(fields_[FieldColumns]);
  size->addWidget(Note("All values Decimal", page));
  size->addStretch(1);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(frame);
  layout->addWidget(chkNoWrap_);
  layout->addWidget(chkScrollLock_);
  layout->addLayout(size);
  layout->addStretch(1);
  return page;
}

void DialogCRTAbilities::FillList(AbilityTable t) {
  QListWidget* l = List(t);
  l->clear();
  for (int i = 0; i < 256; ++i) {
    auto* item = new QListWidgetItem(l);
    item->setData(kCodeRole, editor_.Code(t, i));
    item->setText(ToQt(TableLineText(i, editor_.Code(t, i))));
  }
}

void DialogCRTAbilities::SetLine(AbilityTable t, int i) {
  if (QListWidgetItem* item = List(t)->item(i)) {
    item->setData(kCodeRole, editor_.Code(t, i));
    item->setText(ToQt(TableLineText(i, editor_.Code(t, i))));
  }
}

void DialogCRTAbilities::TabChanged(int index) {
  lblLastSelected_->clear();
  const bool tables = index < 2;
  picFixed_->setVisible(tables);
  picFixed_->setEnabled(tables);
}

bool DialogCRTAbilities::VisibleTable(AbilityTable& t) const {
  const int tab = tbsOptions_->currentIndex();
  if (tab > 1) return false;
  t = tab == 0 ? AbilityTable::SCC : AbilityTable::ECC;
  return true;
}

void DialogCRTAbilities::ShowLineOf(AbilityTable t) {
  const QList<QListWidgetItem*> sel = List(t)->selectedItems();
  lblLastSelected_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  lblLastSelected_->setText(sel.isEmpty() ? QString() : sel.first()->text());
}

void DialogCRTAbilities::Associate(bool remove) {
  AbilityTable t;
  if (!VisibleTable(t)) return;
  const QList<QListWidgetItem*> line = List(t)->selectedItems();
  if (line.isEmpty()) return;
  int32_t code = 0;
  if (!remove) {
    const QList<QListWidgetItem*> ability = lstAbilities_->selectedItems();
    if (ability.isEmpty()) return;
    code = ability.first()->data(kCodeRole).toInt();
  }
  const int i = List(t)->row(line.first());
  editor_.SetCode(t, i, code);
  SetLine(t, i);
  ShowLineOf(t);
}

void DialogCRTAbilities::ClearAll() {
  AbilityTable t;
  if (!VisibleTable(t)) return;
  editor_.ClearAll(t);
  for (int i = 0; i < 256; ++i) SetLine(t, i);
  ShowLineOf(t);
}

void DialogCRTAbilities::FieldChanged(DefinitionField f, const QString& text) {
  editor_.SetField(f, Utf8ToCp1252(text.toStdString()));
  RefreshChecks();
}

void DialogCRTAbilities::RefreshChecks() {
  for (int f = 0; f < DefinitionFields; ++f)
    SetTextColor(*fields_[static_cast<size_t>(f)], editor_.Red(static_cast<DefinitionField>(f)) ? 0x0000FFu : 0u);
  lblExample_->setText(ToQt(editor_.Example()));
  lblRuler_->setText(ToQt(editor_.Ruler()));
}

bool DialogCRTAbilities::Apply() { return editor_.Apply(window_); }

void DialogCRTAbilities::done(int result) {
  SaveDialogPlacement(*this, kSection);
  QDialog::done(result);
}

bool DialogCRTAbilities::eventFilter(QObject* watched, QEvent* event) {
  if (CtrlTabKey(event, *tbsOptions_)) return true;
  return QDialog::eventFilter(watched, event);
}

void EditAbilities(int16_t port, CrtModeSink* window, QWidget* parent) {
  DialogCRTAbilities dialog(port, window, parent);
  dialog.exec();
}

}  // namespace korva::ui
