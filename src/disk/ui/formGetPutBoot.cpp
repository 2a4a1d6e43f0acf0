#include "disk/ui/formGetPutBoot.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "disk/DiskSettings.h"
#include "disk/Drives.h"
#include "disk/ui/DiskWindowHelpers.h"
#include "host/CodePage.h"
#include "host/Host.h"
#include "host/Settings.h"
#include "tables/Helpers.h"

namespace korva {

namespace {

constexpr char kSection[] = "GetPutBoot";
formGetPutBoot* TheForm = nullptr;  // created on first use, kept for the run

std::string FieldText(const QLineEdit* box) { return Utf8ToCp1252(box->text().toStdString()); }

QLineEdit* NewField(const char* name, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(QString::fromLatin1(name));
  return box;
}

QPushButton* NewButton(const char* caption, const char* name, QWidget* parent) {
  auto* b = new QPushButton(QString::fromLatin1(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  return b;
}

}  // namespace

formGetPutBoot::formGetPutBoot(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("formGetPutBoot"));
  setWindowTitle(QStringLiteral("Boot"));

  frmGetPut = new QGroupBox(QStringLiteral("Get/Put Boot"), this);
  txtDisk = NewField("txtDisk", frmGetPut);
  txtLoadAddress = NewField("txtLoadAddress", frmGetPut);
  txtBlocks = NewField("txtBlocks", frmGetPut);
  txtStartLSN = NewField("txtStartLSN", frmGetPut);
  cmdReadFromDisk = NewButton("Read from Disk", "cmdReadFromDisk", frmGetPut);
  cmdWriteToDisk = NewButton("Write to Disk", "cmdWriteToDisk", frmGetPut);
  // The labels of both frames share one width, so that the fields line up.
  const int labelWidth = fontMetrics().horizontalAdvance(QStringLiteral("Start LSN (256 byte)")) + 4;
  auto label = [labelWidth](const char* text) {
    auto* l = new QLabel(QString::fromLatin1(text));
    l->setMinimumWidth(labelWidth);
    return l;
  };
  auto* getPut = new QFormLayout;
  getPut->addRow(label("Disk"), txtDisk);
  getPut->addRow(label("Start Address"), txtLoadAddress);
  getPut->addRow(label("Blocks (256 byte)"), txtBlocks);
  getPut->addRow(label("Start LSN (256 byte)"), txtStartLSN);
  auto* transfers = new QHBoxLayout;
  transfers->addWidget(cmdReadFromDisk);
  transfers->addWidget(cmdWriteToDisk);
  auto* getPutColumn = new QVBoxLayout(frmGetPut);
  getPutColumn->addLayout(getPut);
  getPutColumn->addLayout(transfers);

  frmAlternateBoot = new QGroupBox(QStringLiteral("Alternate Boot"), this);
  txtAlternateBootPC = NewField("txtAlternateBootPC", frmAlternateBoot);
  txtAlternateBootSP = NewField("txtAlternateBootSP", frmAlternateBoot);
  auto* alternate = new QFormLayout(frmAlternateBoot);
  alternate->addRow(label("Initial PC"), txtAlternateBootPC);
  alternate->addRow(label("Initial SP"), txtAlternateBootSP);

  cmdSaveSettings = NewButton("Save", "cmdSaveSettings", this);
  cmdCancelButton = NewButton("Cancel", "cmdCancelButton", this);
  cmdOKButton = NewButton("OK", "cmdOKButton", this);
  cmdOKButton->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdSaveSettings);
  buttons->addStretch();
  buttons->addWidget(cmdCancelButton);
  buttons->addWidget(cmdOKButton);

  auto* all = new QVBoxLayout(this);
  all->addWidget(frmGetPut);
  all->addWidget(frmAlternateBoot);
  all->addLayout(buttons);
  all->setSizeConstraint(QLayout::SetFixedSize);

  for (QLineEdit* box : {txtDisk, txtLoadAddress, txtBlocks, txtStartLSN, txtAlternateBootPC, txtAlternateBootSP}) {
    connect(box, &QLineEdit::textChanged, this, [this, box] { MarkField(box); });
    MarkField(box);
  }
  connect(cmdOKButton, &QPushButton::clicked, this, &formGetPutBoot::cmdOKButton_Click);
  connect(cmdCancelButton, &QPushButton::clicked, this, &formGetPutBoot::cmdCancelButton_Click);
  connect(cmdSaveSettings, &QPushButton::clicked, this, &formGetPutBoot::cmdSaveSettings_Click);
  connect(cmdReadFromDisk, &QPushButton::clicked, this, [this] { GetPutTransfer(Fields(), false); });
  connect(cmdWriteToDisk, &QPushButton::clicked, this, [this] { GetPutTransfer(Fields(), true); });
}

formGetPutBoot::~formGetPutBoot() { Unload(); }

void formGetPutBoot::ShowGetPutBoot() {
  if (!loaded_) {
    adjustSize();
    LoadDiskWindowPlacement(*this, kSection, true);
    loaded_ = true;
  }
  FillFields();
  exec();
}

void formGetPutBoot::Unload() {
  if (!loaded_) return;
  SaveDiskWindowPlacement(*this, kSection);
  loaded_ = false;
  hide();
}

GetPutFields formGetPutBoot::Fields() const {
  GetPutFields f;
  f.Disk = FieldText(txtDisk);
  f.LoadAddress = FieldText(txtLoadAddress);
  f.Blocks = FieldText(txtBlocks);
  f.StartLSN = FieldText(txtStartLSN);
  f.AltBootPC = FieldText(txtAlternateBootPC);
  f.AltBootSP = FieldText(txtAlternateBootSP);
  return f;
}

void formGetPutBoot::FillFields() {
  auto hex = [](int32_t value) { return QString::fromStdString(GetPutText(static_cast<uint32_t>(value))); };
  txtLoadAddress->setText(hex(LoadAddress));
  txtBlocks->setText(hex(Blocks));
  txtStartLSN->setText(hex(StartLSN));
  txtAlternateBootPC->setText(hex(AltBootPC));
  txtAlternateBootSP->setText(hex(AltBootSP));
  txtDisk->setText(Disk >= 0 && Disk < UsedDrives ? QString::fromStdString(DriveTable[static_cast<size_t>(Disk)].Name)
                                                  : QString());
}

void formGetPutBoot::MarkField(QLineEdit* box) {
  const std::string text = FieldText(box);
  const bool good = box == txtDisk ? GetPutDiskGood(text) : GetPutNumberGood(text);
  SetFieldColors(*box, good ? ColorBlack : ColorRed, ColorWhite);
}

bool formGetPutBoot::ValidateFields() {
  const std::string message = ValidateGetPutFields(Fields());
  if (message.empty()) return true;
  Host().MessageBox(message, "Error in Input", MsgButtons::OK, MsgIcon::Exclamation);
  return false;
}

void formGetPutBoot::ReadFields() {
  const GetPutFields f = Fields();
  LoadAddress = static_cast<int32_t>(GetPutValue(f.LoadAddress));
  Blocks = static_cast<int32_t>(GetPutValue(f.Blocks));
  AltBootPC = static_cast<int32_t>(GetPutValue(f.AltBootPC));
  AltBootSP = static_cast<int32_t>(GetPutValue(f.AltBootSP));
  StartLSN = static_cast<int32_t>(GetPutValue(f.StartLSN));
  Disk = GetPutDrive(f.Disk);
}

void formGetPutBoot::cmdOKButton_Click() {
  if (!ValidateFields()) return;
  ReadFields();
  DialogResult = 1;
  hide();
}

void formGetPutBoot::cmdCancelButton_Click() {
  DialogResult = 0;
  hide();
}

void formGetPutBoot::reject() { cmdCancelButton_Click(); }

void formGetPutBoot::cmdSaveSettings_Click() {
  if (!ValidateFields()) return;
  ReadFields();
  SettingsBatch batch;
  SaveSettingLong(kSection, "Disk", Disk);
  SaveSettingLong(kSection, "LoadAddress", LoadAddress);
  SaveSettingLong(kSection, "Blocks", Blocks);
  SaveSettingLong(kSection, "LSN", StartLSN);
  SaveSettingLong("AlternateBoot", "AlternateBootPC", AltBootPC);
  SaveSettingLong("AlternateBoot", "AlternateBootSP", AltBootSP);
}

void formGetPutBoot::closeEvent(QCloseEvent* event) {
  // Closing is no OK: a result left over from an earlier OK must not carry the
  // values a Save has put into the members back to the program.
  DialogResult = 0;
  event->accept();
  Unload();
}

formGetPutBoot& GetPutBootForm() {
  if (!TheForm) TheForm = new formGetPutBoot;
  return *TheForm;
}

void ShowGetPutBoot() {
  formGetPutBoot& form = GetPutBootForm();
  form.LoadAddress = GetPutBootLoadAddress;
  form.Blocks = GetPutBootBlocks;
  form.StartLSN = GetPutBootLSN;
  form.AltBootPC = AlternateBootPC;
  form.AltBootSP = AlternateBootSP;
  form.ShowGetPutBoot();
  if (form.DialogResult != 1) return;
  GetPutBootLoadAddress = form.LoadAddress;
  GetPutBootBlocks = form.Blocks;
  GetPutBootLSN = form.StartLSN;
  AlternateBootPC = form.AltBootPC;
  AlternateBootSP = form.AltBootSP;
}

void UnloadGetPutBoot() {
  if (TheForm) TheForm->Unload();
}

}  // namespace korva
