// The jumper dialog: five tabs of frames, OK and Cancel beside them.
#include "shell/ui/formJumpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

#include "host/Settings.h"
#include "host/qt/WindowPlace.h"

namespace korva {

namespace {

const char* const kPlacementSection = "Jumpers";

QString Text(const char* s) { return QString::fromLatin1(s); }

// A frame of four option buttons "INT1" to "INT4" in one row.
QGroupBox* LineFrame(const char* title, formJumpers::LineButtons& buttons) {
  auto* frame = new QGroupBox(Text(title));
  auto* row = new QHBoxLayout(frame);
  buttons[0] = nullptr;
  for (int line = 1; line <= 4; ++line) {
    buttons[line] = new QRadioButton(QStringLiteral("INT%1").arg(line));
    row->addWidget(buttons[line]);
  }
  return frame;
}

// Sets the button of value (none when the value has no button).
template <size_t N>
void SelectButton(const std::array<QRadioButton*, N>& buttons, int value, int first) {
  if (value >= first && value < static_cast<int>(N) && buttons[value]) buttons[value]->setChecked(true);
}

// The value of the set button, or the field's own when none is set.
template <size_t N>
int16_t ButtonValue(const std::array<QRadioButton*, N>& buttons, int16_t old, int first) {
  for (int v = first; v < static_cast<int>(N); ++v)
    if (buttons[v] && buttons[v]->isChecked()) return static_cast<int16_t>(v);
  return old;
}

VBool Ticked(const QCheckBox* box) { return ToVBool(box->isChecked()); }

}  // namespace

formJumpers::formJumpers(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Jumpers"));
  setModal(true);
  BuildControls();
  adjustSize();
  // Where it was last; the first time centred over the main window.
  constexpr int32_t kNone = INT32_MIN;
  const int32_t top = GetSettingLong(kPlacementSection, "Top", kNone);
  const int32_t left = GetSettingLong(kPlacementSection, "Left", kNone);
  if (top != kNone && left != kNone)
    PlaceFrame(*this, QPoint(left, top));
  else
    CentreOnOwnerWhenShown(*this);
}

formJumpers::~formJumpers() {
  const bool minimised = isMinimized();
  SaveSettingLong(kPlacementSection, "WindowState", minimised ? 1 : isMaximized() ? 2 : 0);
  if (!minimised) {
    const QPoint at = FramePosition(*this);
    SaveSettingLong(kPlacementSection, "Top", at.y());
    SaveSettingLong(kPlacementSection, "Left", at.x());
  }
}

void formJumpers::BuildControls() {
  tsJumpers = new QTabBar;
  for (const char* caption : {"SCM", "MVME400-C0", "MVME400-C1", "MVME410", "RWIN"}) tsJumpers->addTab(Text(caption));
  frames_ = new QStackedWidget;
  for (int n = 1; n <= 5; ++n) {
    frmJumpers[n] = new QGroupBox;
    frmJumpers[n]->setFlat(true);
    frames_->addWidget(frmJumpers[n]);
  }

  // Tab 1: the module's switches and the I/O-channel enable.
  {
    auto* grid = new QVBoxLayout(frmJumpers[1]);
    auto* switches = new QGroupBox(QStringLiteral("Switches - (J2) - In / Out"));
    auto* col = new QVBoxLayout(switches);
    const char* captions[3] = {"SW0 (1-2) - User / User", "SW1 (3-4) - Mono / Color", "SW2 (5-6) - PWRT / NoPWRT"};
    for (int i = 0; i < 3; ++i) col->addWidget(chkSwitches[i] = new QCheckBox(Text(captions[i])));
    auto* channel = new QGroupBox(QStringLiteral("I/O Channel"));
    (new QVBoxLayout(channel))->addWidget(chkIoChEn = new QCheckBox(QStringLiteral("Enable")));
    grid->addWidget(switches);
    grid->addWidget(channel);
    grid->addStretch();
  }

  // Tabs 2 and 3: a serial card's three interrupt lines and two baud switches.
  const auto card = [](QGroupBox* frame, LineButtons& n7201, LineButtons& irqa, LineButtons& irqb,
                       std::array<QComboBox*, 2>& baud) {
    auto* grid = new QGridLayout(frame);
    grid->addWidget(LineFrame("NEC7201 INT", n7201), 0, 0, 1, 2);
    grid->addWidget(LineFrame("IRQA", irqa), 1, 0, 1, 2);
    grid->addWidget(LineFrame("IRQB", irqb), 2, 0, 1, 2);
    const char* ports[2] = {"Port A", "Port B"};
    for (int p = 0; p < 2; ++p) {
      grid->addWidget(new QLabel(Text(ports[p])), 3, p);
      grid->addWidget(baud[p] = new QComboBox, 4, p);
    }
    grid->setRowStretch(5, 1);
  };
  card(frmJumpers[2], optM400C0N7201Int, optM400C0IRQA, optM400C0IRQB, comboBaudC0);
  card(frmJumpers[3], optM400C1N7201Int, optM400C1IRQA, optM400C1IRQB, comboBaudC1);

  // Tab 4: the parallel card's two PIAs.
  {
    auto* grid = new QVBoxLayout(frmJumpers[4]);
    grid->addWidget(LineFrame("IRQA Port1", optM410P1IRQA));
    grid->addWidget(LineFrame("IRQB Port1", optM410P1IRQB));
    grid->addWidget(LineFrame("IRQA Port2", optM410P2IRQA));
    grid->addWidget(LineFrame("IRQB Port2", optM410P2IRQB));
    grid->addStretch();
  }

  // Tab 5: the disk controller.
  {
    auto* grid = new QGridLayout(frmJumpers[5]);
    grid->addWidget(LineFrame("Data IRQ", optRWINDATAIRQ), 0, 0);
    grid->addWidget(LineFrame("Cmd IRQ", optRWINCMDIRQ), 1, 0);
    const auto floppy = [](const char* title, std::array<QRadioButton*, 5>& types, QCheckBox*& autoBox) {
      auto* frame = new QGroupBox(Text(title));
      auto* col = new QVBoxLayout(frame);
      for (int t = 0; t < 5; ++t) col->addWidget(types[t] = new QRadioButton(Text(FloppyTypeTexts[t])));
      col->addWidget(autoBox = new QCheckBox(QStringLiteral("Auto")));
      return frame;
    };
    auto* drives = new QHBoxLayout;
    drives->addWidget(floppy("FD02", optRWINFD02, chkAutoFD02));
    drives->addWidget(floppy("FD03", optRWINFD03, chkAutoFD03));
    grid->addLayout(drives, 2, 0);
    auto* j16 = new QGroupBox(QStringLiteral("J16 In/Out"));
    auto* col = new QVBoxLayout(j16);
    const char* captions[8] = {"(1-2) 48/96",   "(3-4) 5/8",      "(5-6) FSR1",    "(7-8) FSR0",
                               "(9-10) F/C W1", "(11-12) B/U W1", "(13-14) F/C W0", "(15-16) B/U W0"};
    for (int i = 0; i < 8; ++i) col->addWidget(chkJ16[i] = new QCheckBox(Text(captions[i])));
    auto* second = new QHBoxLayout;
    second->addWidget(new QLabel(QStringLiteral("2nd")));
    second->addWidget(chkJ16A[0] = new QCheckBox(QStringLiteral("Check1")));
    second->addWidget(chkJ16A[1] = new QCheckBox(QStringLiteral("Check2")));
    col->addLayout(second);
    grid->addWidget(j16, 0, 1, 3, 1);
  }

  auto* tabs = new QVBoxLayout;
  tabs->setSpacing(0);
  tabs->addWidget(tsJumpers);
  tabs->addWidget(frames_);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdOKButton = new QPushButton(QStringLiteral("OK")));
  buttons->addWidget(cmdCancelButton = new QPushButton(QStringLiteral("Cancel")));
  buttons->addStretch();
  auto* outer = new QHBoxLayout(this);
  outer->addLayout(tabs);
  outer->addLayout(buttons);
  outer->setSizeConstraint(QLayout::SetFixedSize);

  frames_->hide();  // until a tab is selected
  connect(tsJumpers, &QTabBar::currentChanged, this, [this](int index) { SelectTab(index + 1); });
  connect(cmdOKButton, &QPushButton::clicked, this, [this] { cmdOKButton_Click(); });
  connect(cmdCancelButton, &QPushButton::clicked, this, [this] { reject(); });
}

void formJumpers::SelectTab(int n) {
  if (n == CurrentTab || n < 1 || n > 5) return;
  CurrentTab = static_cast<int16_t>(n);
  frames_->setCurrentWidget(frmJumpers[n]);
  frames_->show();
  tsJumpers->setCurrentIndex(n - 1);
}

void formJumpers::ShowJumpers(int32_t tab) {
  CurrentTab = 0;
  DialogResult = 0;
  SelectTab(tab);
  LoadControls();
  exec();
}

void formJumpers::LoadControls() {
  const JumperFields& f = Fields;
  SelectButton(optM400C0N7201Int, f.M400C0N7201Int, 1);
  SelectButton(optM400C0IRQA, f.M400C0IRQAInt, 1);
  SelectButton(optM400C0IRQB, f.M400C0IRQBInt, 1);
  SelectButton(optM400C1N7201Int, f.M400C1N7201Int, 1);
  SelectButton(optM400C1IRQA, f.M400C1IRQAInt, 1);
  SelectButton(optM400C1IRQB, f.M400C1IRQBInt, 1);
  SelectButton(optM410P1IRQA, f.M410P1IRQAInt, 1);
  SelectButton(optM410P1IRQB, f.M410P1IRQBInt, 1);
  SelectButton(optM410P2IRQA, f.M410P2IRQAInt, 1);
  SelectButton(optM410P2IRQB, f.M410P2IRQBInt, 1);
  SelectButton(optRWINDATAIRQ, f.RWINDATAInt, 1);
  SelectButton(optRWINCMDIRQ, f.RWINCMDInt, 1);
  SelectButton(optRWINFD02, f.RwinDiskType2, 0);
  SelectButton(optRWINFD03, f.RwinDiskType3, 0);
  chkAutoFD02->setChecked(f.RwinDiskAuto2 != 0);
  chkAutoFD03->setChecked(f.RwinDiskAuto3 != 0);
  chkJ16A[0]->setChecked(f.J16TPI48or96A0 != 0);
  chkJ16A[1]->setChecked(f.J16Size5or8A1 != 0);
  const VBool j16[8] = {f.J16TPI48or96,   f.J16Size5or8,       f.J16FSR1,        f.J16FSR0,
                        f.J16FixOrCartW1, f.J16BuffOrUnbuffW1, f.J16FixOrCartW0, f.J16BuffOrUnbuffW0};
  for (int i = 0; i < 8; ++i) chkJ16[i]->setChecked(j16[i] != 0);
  chkSwitches[0]->setChecked(f.SrSW0 != 0);
  chkSwitches[1]->setChecked(f.SrSW1 != 0);
  chkSwitches[2]->setChecked(f.SrSW2 != 0);
  chkIoChEn->setChecked(f.SrIOchEN != 0);
  const uint8_t bauds[4] = {f.M400C0BaudA, f.M400C0BaudB, f.M400C1BaudA, f.M400C1BaudB};
  QComboBox* combos[4] = {comboBaudC0[0], comboBaudC0[1], comboBaudC1[0], comboBaudC1[1]};
  for (int c = 0; c < 4; ++c) {
    for (const char* text : BaudRateTexts) combos[c]->addItem(Text(text));
    combos[c]->setCurrentIndex(bauds[c] & 7);
  }
}

void formJumpers::ControlsToFields() {
  JumperFields& f = Fields;
  f.M400C0N7201Int = ButtonValue(optM400C0N7201Int, f.M400C0N7201Int, 1);
  f.M400C0IRQAInt = ButtonValue(optM400C0IRQA, f.M400C0IRQAInt, 1);
  f.M400C0IRQBInt = ButtonValue(optM400C0IRQB, f.M400C0IRQBInt, 1);
  f.M400C1N7201Int = ButtonValue(optM400C1N7201Int, f.M400C1N7201Int, 1);
  f.M400C1IRQAInt = ButtonValue(optM400C1IRQA, f.M400C1IRQAInt, 1);
  f.M400C1IRQBInt = ButtonValue(optM400C1IRQB, f.M400C1IRQBInt, 1);
  f.M410P1IRQAInt = ButtonValue(optM410P1IRQA, f.M410P1IRQAInt, 1);
  f.M410P1IRQBInt = ButtonValue(optM410P1IRQB, f.M410P1IRQBInt, 1);
  f.M410P2IRQAInt = ButtonValue(optM410P2IRQA, f.M410P2IRQAInt, 1);
  f.M410P2IRQBInt = ButtonValue(optM410P2IRQB, f.M410P2IRQBInt, 1);
  f.RWINDATAInt = ButtonValue(optRWINDATAIRQ, f.RWINDATAInt, 1);
  f.RWINCMDInt = ButtonValue(optRWINCMDIRQ, f.RWINCMDInt, 1);
  f.RwinDiskAuto2 = Ticked(chkAutoFD02);
  f.RwinDiskAuto3 = Ticked(chkAutoFD03);
  f.RwinDiskType2 = ButtonValue(optRWINFD02, f.RwinDiskType2, 0);
  f.RwinDiskType3 = ButtonValue(optRWINFD03, f.RwinDiskType3, 0);
  f.J16TPI48or96A0 = Ticked(chkJ16A[0]);
  f.J16Size5or8A1 = Ticked(chkJ16A[1]);
  f.J16TPI48or96 = Ticked(chkJ16[0]);
  f.J16Size5or8 = Ticked(chkJ16[1]);
  f.J16FSR1 = Ticked(chkJ16[2]);
  f.J16FSR0 = Ticked(chkJ16[3]);
  f.J16FixOrCartW1 = Ticked(chkJ16[4]);
  f.J16BuffOrUnbuffW1 = Ticked(chkJ16[5]);
  f.J16FixOrCartW0 = Ticked(chkJ16[6]);
  f.J16BuffOrUnbuffW0 = Ticked(chkJ16[7]);
  f.M400C0BaudA = static_cast<uint8_t>(comboBaudC0[0]->currentIndex() & 7);
  f.M400C0BaudB = static_cast<uint8_t>(comboBaudC0[1]->currentIndex() & 7);
  f.M400C1BaudA = static_cast<uint8_t>(comboBaudC1[0]->currentIndex() & 7);
  f.M400C1BaudB = static_cast<uint8_t>(comboBaudC1[1]->currentIndex() & 7);
  f.SrSW0 = Ticked(chkSwitches[0]);
  f.SrSW1 = Ticked(chkSwitches[1]);
  f.SrSW2 = Ticked(chkSwitches[2]);
  f.SrIOchEN = Ticked(chkIoChEn);
}

void formJumpers::cmdOKButton_Click() {
  ControlsToFields();
  SaveJumperSettings(Fields);
  DialogResult = 1;
  QDialog::accept();
}

void formJumpers::reject() {
  DialogResult = 0;
  QDialog::reject();
}

}  // namespace korva
