#include "disk/ui/formNewDisk.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cmath>

#include "disk/NewDisk.h"
#include "disk/ui/DiskWindowHelpers.h"
#include "host/CodePage.h"
#include "host/Host.h"
#include "shell/FileDialog.h"

namespace korva {

namespace {

constexpr char kSection[] = "NewDisk";
// Window events are let through at most this often while a writer runs: often
// enough for Cancel to feel immediate, rarely enough that a large image does not
// spend its time in the event loop.
constexpr auto kPumpInterval = std::chrono::milliseconds(20);
constexpr int16_t kRawTypesOffered = 18;  // types 0-17; the last two rows are not offered

QString Text(const std::string& cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); }

void ApplyMarks(QLineEdit* box, const TextBoxMarks& marks) { SetFieldColors(*box, marks.ForeColor, marks.BackColor); }

QRadioButton* NamedRadio(const QString& name, int index, QWidget* parent) {
  auto* b = new QRadioButton(parent);
  b->setObjectName(QStringLiteral("%1_%2").arg(name).arg(index));
  return b;
}

}  // namespace

formNewDisk::formNewDisk(QWidget* parent) : QDialog(parent) {
  static bool formatsBuilt = false;
  if (!formatsBuilt) {
    BuildNewDiskFormats();
    formatsBuilt = true;
  }
  setObjectName(QStringLiteral("formNewDisk"));
  setWindowTitle(QStringLiteral("Create New Disk"));
  BuildControls();
  setWindowState(Qt::WindowNoState);
  adjustSize();
  LoadDiskWindowPlacement(*this, kSection, false);
}

formNewDisk::~formNewDisk() { SaveDiskWindowPlacement(*this, kSection); }

void formNewDisk::BuildControls() {
  menuBar = new QMenuBar(this);
  mnuDisk = menuBar->addMenu(QStringLiteral("Disk Tools"));
  mnuDisk->setObjectName(QStringLiteral("mnuDisk"));
  mnuECS = mnuDisk->addAction(QStringLiteral("Expand Compressed Sectors"));
  mnuECS->setObjectName(QStringLiteral("mnuECS"));
  connect(mnuECS, &QAction::triggered, this, &formNewDisk::mnuECS_Click);

  // The tab strip is as large as its largest frame; only the current frame shows.
  tsCreate = new QTabWidget(this);
  tsCreate->setObjectName(QStringLiteral("tsCreate"));
  const char* tabCaptions[4] = {"", "IMD File", "RAW Image", "Raw (generic)"};
  const char* frameCaptions[4] = {"", "IMD File", "Raw File", "Raw File (generic)"};
  for (int n = 1; n <= 3; ++n) {
    frmCreate[n] = new QGroupBox(QString::fromLatin1(frameCaptions[n]));
    frmCreate[n]->setObjectName(QStringLiteral("frmCreate_%1").arg(n));
    tsCreate->addTab(frmCreate[n], QString::fromLatin1(tabCaptions[n]));
  }

  // Frame 1: the built-in formats, the clock boxes and the comment.
  auto* imd = new QVBoxLayout(frmCreate[1]);
  imd->setSpacing(2);
  for (int i = 0; i < kNewDiskFormatCount; ++i) {
    optDisksIMD[i] = NamedRadio(QStringLiteral("optDisksIMD"), i, frmCreate[1]);
    imd->addWidget(optDisksIMD[i]);
    connect(optDisksIMD[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) SelectImdFormat(static_cast<int16_t>(i));
    });
  }
  imd->addSpacing(8);
  auto* clocks = new QHBoxLayout;
  const char* clockCaptions[3] = {"250", "300", "500"};
  for (int i = 0; i < 3; ++i) {
    chkClock[i] = new QCheckBox(QString::fromLatin1(clockCaptions[i]), frmCreate[1]);
    chkClock[i]->setObjectName(QStringLiteral("chkClock_%1").arg(i));
    clocks->addWidget(chkClock[i]);
    connect(chkClock[i], &QCheckBox::clicked, this, [this, i] {
      if (!clockGuard_) SetImdClock(SelectedImdFormat, static_cast<int16_t>(6 + i));
    });
  }
  clocks->addSpacing(16);
  lblExtraComments = new QLabel(QStringLiteral("Extra Comments"), frmCreate[1]);
  clocks->addWidget(lblExtraComments);
  clocks->addStretch();
  imd->addLayout(clocks);
  txtExtraComments = new QPlainTextEdit(frmCreate[1]);
  txtExtraComments->setObjectName(QStringLiteral("txtExtraComments"));
  txtExtraComments->setTabChangesFocus(true);
  txtExtraComments->setFixedHeight(txtExtraComments->fontMetrics().lineSpacing() * 4 + 12);
  imd->addWidget(txtExtraComments);
  imd->addStretch();

  // Frame 2: the typed raw disks.
  auto* raw = new QVBoxLayout(frmCreate[2]);
  raw->setSpacing(2);
  for (int i = 0; i < kRawTypesOffered; ++i) {
    optDisks[i] = NamedRadio(QStringLiteral("optDisks"), i, frmCreate[2]);
    raw->addWidget(optDisks[i]);
  }
  raw->addStretch();

  // Frame 3: size and fill of a generic raw image.
  auto* generic = new QGridLayout(frmCreate[3]);
  txtDiskSize = new QLineEdit(frmCreate[3]);
  txtDiskSize->setObjectName(QStringLiteral("txtDiskSize"));
  txtFillByte = new QLineEdit(frmCreate[3]);
  txtFillByte->setObjectName(QStringLiteral("txtFillByte"));
  lblDiskSize = new QLabel(frmCreate[3]);
  lblDiskSize->setObjectName(QStringLiteral("lblDiskSize"));
  lblFillByte = new QLabel(frmCreate[3]);
  lblFillByte->setObjectName(QStringLiteral("lblFillByte"));
  lblDiskSize->setMinimumWidth(lblDiskSize->fontMetrics().horizontalAdvance(QStringLiteral("5368709120")));
  generic->addWidget(new QLabel(QStringLiteral("Decimal"), frmCreate[3]), 0, 2);
  generic->addWidget(new QLabel(QStringLiteral("Disk Size"), frmCreate[3]), 1, 0);
  generic->addWidget(txtDiskSize, 1, 1);
  generic->addWidget(lblDiskSize, 1, 2);
  generic->addWidget(new QLabel(QStringLiteral("Fill Byte"), frmCreate[3]), 2, 0);
  generic->addWidget(txtFillByte, 2, 1);
  generic->addWidget(lblFillByte, 2, 2);
  generic->addWidget(new QLabel(QStringLiteral("Maximum Disk Size = 512M"), frmCreate[3]), 3, 0, 1, 3);
  generic->setRowStretch(4, 1);
  connect(txtDiskSize, &QLineEdit::textChanged, this, &formNewDisk::DiskSizeChanged);
  connect(txtFillByte, &QLineEdit::textChanged, this, &formNewDisk::FillByteChanged);

  cmdCreate = new QPushButton(QStringLiteral("Create"), this);
  cmdCreate->setObjectName(QStringLiteral("cmdCreate"));
  cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  for (QPushButton* b : {cmdCreate, cmdOK, cmdCancel}) b->setAutoDefault(false);
  connect(cmdCreate, &QPushButton::clicked, this, &formNewDisk::cmdCreate_Click);
  connect(cmdOK, &QPushButton::clicked, this, &formNewDisk::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &formNewDisk::cmdCancel_Click);

  pbWait = new QProgressBar(this);
  pbWait->setObjectName(QStringLiteral("pbWait"));
  pbWait->setTextVisible(false);
  lblCount = new QLabel(this);
  lblCount->setObjectName(QStringLiteral("lblCount"));
  lblCount->setMinimumWidth(lblCount->fontMetrics().horizontalAdvance(QStringLiteral("4194304/536870912")));

  // The tab strip on the left, the buttons beside it, the progress bar and the
  // count label below.
  auto* buttons = new QVBoxLayout;
  buttons->addSpacing(tsCreate->tabBar()->sizeHint().height());
  buttons->addWidget(cmdCreate);
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdCancel);
  buttons->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(tsCreate, 1);
  top->addLayout(buttons);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(pbWait, 1);
  bottom->addWidget(lblCount);
  auto* all = new QVBoxLayout(this);
  all->setMenuBar(menuBar);
  all->addLayout(top);
  all->addLayout(bottom);
  all->setSizeConstraint(QLayout::SetFixedSize);

  connect(tsCreate, &QTabWidget::currentChanged, this, [this](int index) {
    if (index >= 0) SelectCreateTab(static_cast<int16_t>(index + 1));
  });
}

void formNewDisk::ShowNewDisk(int32_t mode) {
  DialogResult = 0;
  CurrentTab = 0;
  SelectCreateTab(static_cast<int16_t>(mode >= 1 && mode <= 3 ? mode : 1));
  InitNewDiskControls();
  exec();
}

void formNewDisk::SelectCreateTab(int16_t tab) {
  if (tab < 1 || tab > 3 || tab == CurrentTab) return;
  CurrentTab = tab;
  const QSignalBlocker quiet(tsCreate);
  tsCreate->setCurrentIndex(tab - 1);
}

void formNewDisk::InitNewDiskControls() {
  txtDiskSize->setText(QStringLiteral("1440k"));
  txtFillByte->setText(QStringLiteral("0xE5"));
  DiskSizeChanged();  // the labels show the values even when the texts did not change
  FillByteChanged();
  lblCount->clear();
  txtExtraComments->clear();
  if (!RawFile) RawFile = std::make_unique<classRawFile>();
  for (int16_t i = 0; i < kRawTypesOffered && i <= classRawFile::MaxDiskTypes() - 2; ++i)
    optDisks[static_cast<size_t>(i)]->setText(Text(RawFile->Description(i)));
  optDisks[0]->setChecked(true);
  for (int i = 0; i < kNewDiskFormatCount; ++i) optDisksIMD[i]->setText(Text(NewDiskFormats[i].Name));
  optDisksIMD[0]->setChecked(true);
  SelectImdFormat(0);
}

void formNewDisk::SelectImdFormat(int16_t row) {
  if (row < 0 || row >= kNewDiskFormatCount) return;
  SelectedImdFormat = row;
  SetImdClock(row, NewDiskFormats[row].Clock[kDataTracks]);
}

void formNewDisk::SetImdClock(int16_t format, int16_t clock) {
  if (clock < 6 || clock > 8 || format < 0 || format >= kNewDiskFormatCount) return;
  clockGuard_ = true;
  for (int i = 0; i < 3; ++i) chkClock[i]->setChecked(i == clock - 6);
  clockGuard_ = false;
  korva::SetImdClock(NewDiskFormats[format], clock);
}

void formNewDisk::DiskSizeChanged() {
  const std::optional<double> value = ParseNumber(Utf8ToCp1252(txtDiskSize->text().toStdString()));
  // Held in 64 bits: a size far beyond the limit still shows as typed and is refused.
  const double v = value.value_or(0.0);
  DiskSize = std::isfinite(v) && std::fabs(v) < 9.0e18 ? static_cast<int64_t>(v) : 0;
  lblDiskSize->setText(QString::number(DiskSize));
  DiskSizeMarks.Text = Utf8ToCp1252(txtDiskSize->text().toStdString());
  CheckTextBoxEmpty(DiskSizeMarks, ToVBool(DiskSizeValid(DiskSize)));
  ApplyMarks(txtDiskSize, DiskSizeMarks);
}

void formNewDisk::FillByteChanged() {
  const std::string text = Utf8ToCp1252(txtFillByte->text().toStdString());
  const std::optional<double> value = ParseNumber(text);
  const double v = value.value_or(0.0);
  FillByte = std::isfinite(v) && std::fabs(v) < 2.0e9 ? static_cast<int32_t>(v) : -1;
  lblFillByte->setText(value ? QString::number(FillByte) : QString());
  FillByteMarks.Text = text;
  CheckTextBoxRange(FillByteMarks, 0, 255, 0, 255);
  // A text that is no number would otherwise count as 0 and fill the image with zeros.
  if (!value && !text.empty()) FillByteMarks.ForeColor = ColorRed;
  ApplyMarks(txtFillByte, FillByteMarks);
}

bool formNewDisk::CheckRawFields(std::string& messages) const {
  messages.clear();
  if (DiskSizeMarks.ForeColor != ColorBlack) messages += "Bad Disk Size Value\r\n";
  // An empty fill text has no value to write.
  if (FillByteMarks.ForeColor != ColorBlack || FillByteMarks.Text.empty()) messages += "Bad Fill Byte Value\r\n";
  return messages.empty();
}

std::string formNewDisk::ExtraComments() const {
  // The box's line breaks are written as CR LF, as the image's header lines are.
  QString text = txtExtraComments->toPlainText();
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return Utf8ToCp1252(text.toStdString());
}

void formNewDisk::SetBusy(bool busy) {
  Busy = busy;
  cmdCreate->setEnabled(!busy);
  mnuECS->setEnabled(!busy);
}

void formNewDisk::cmdCreate_Click() {
  if (Busy) return;
  Cancelled = false;
  SetBusy(true);
  CreateSelected();
  SetBusy(false);
}

void formNewDisk::CreateSelected() {
  auto refuse = [](const std::string& messages) {
    Host().MessageBox(messages, "Error in Input", MsgButtons::OK, MsgIcon::Exclamation);
  };
  std::string messages;
  switch (tsCreate->currentIndex() + 1) {
    case 1: {
      int16_t row = -1;
      for (int i = 0; i < kNewDiskFormatCount && row < 0; ++i)
        if (optDisksIMD[i]->isChecked()) row = static_cast<int16_t>(i);
      if (row < 0) return;
      if (!CheckImdFormat(NewDiskFormats[row], messages)) return refuse(messages);
      NewFilePath = OpenSaveDialog("", "SaveAs", "imd", 0, "Default");
      if (NewFilePath.empty()) return;
      CreateIMDImage(NewDiskFormats[row], NewFilePath, ExtraComments(), *this);
      return;
    }
    case 2: {
      int16_t type = -1;
      for (int i = 0; i < kRawTypesOffered && type < 0; ++i)
        if (optDisks[i]->isChecked()) type = static_cast<int16_t>(i);
      if (type < 0) return;
      if (!CheckRawFields(messages)) return refuse(messages);
      NewFilePath = OpenSaveDialog("", "SaveAs", "img", 0, "Default");
      if (NewFilePath.empty()) return;
      RawFile->CreateFile(type, NewFilePath, this);
      return;
    }
    case 3:
      if (!CheckRawFields(messages)) return refuse(messages);
      NewFilePath = OpenSaveDialog("", "SaveAs", "img", 0, "Default");
      if (NewFilePath.empty()) return;
      CreateRawImage(NewFilePath, static_cast<int32_t>(DiskSize / 128), static_cast<uint8_t>(FillByte), *this);
      return;
    default:
      return;
  }
}

void formNewDisk::cmdOK_Click() {
  DialogResult = 1;
  if (!Busy) hide();
}

void formNewDisk::cmdCancel_Click() {
  Cancelled = true;
  DialogResult = 0;
  if (!Busy) hide();
}

void formNewDisk::reject() { cmdCancel_Click(); }

void formNewDisk::closeEvent(QCloseEvent* event) {
  event->ignore();
  Cancelled = true;
  DialogResult = 0;
  hide();
}

void formNewDisk::mnuECS_Click() {
  if (Busy) return;
  const std::string in = OpenSaveDialog("", "OPEN", "ECS", 0, "Default");
  if (in.empty()) return;
  const bool inReadOnly = DialogReadOnly() != 0;
  const std::string out = OpenSaveDialog("", "SAVE", "ECS", 0, "Default");
  if (out.empty()) return;
  if (inReadOnly || DialogReadOnly()) {
    Host().MessageBox("Must be writable", " Read ONLY - IMD file", MsgButtons::OK, MsgIcon::Exclamation);
    return;
  }
  // The expander writes the copy beside the output and replaces an existing file
  // only when the copy is whole; it refuses an output that is the input itself.
  Cancelled = false;
  SetBusy(true);
  ExpandCompressedSectors(in, out, *this);
  SetBusy(false);
}

void formNewDisk::SetMinMAx(int32_t min, int32_t max) {
  pbWait->setRange(0, 32767);
  if (0 <= min && min < max && max <= 32767) pbWait->setRange(min, max);
}

void formNewDisk::SetValue(int32_t value) {
  if (value >= pbWait->minimum() && value <= pbWait->maximum()) pbWait->setValue(value);
}

void formNewDisk::ShowCount(int64_t bytes) { lblCount->setText(QStringLiteral("%1/%2").arg(bytes / 128).arg(bytes)); }

bool formNewDisk::CancelRequested() {
  const auto now = std::chrono::steady_clock::now();
  if (now - lastPump_ >= kPumpInterval) {
    lastPump_ = now;
    QCoreApplication::processEvents();
  }
  return Cancelled;
}

void ShowNewDisk(int32_t mode, QWidget* parent) {
  formNewDisk dialog(parent);
  dialog.ShowNewDisk(mode);
}

}  // namespace korva
