#include "shell/ui/formKorvan.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "disk/ui/formGetPutBoot.h"
#include "disk/ui/formNewDisk.h"
#include "host/Host.h"
#include "host/qt/QtTimer.h"
#include "host/qt/WindowPlace.h"
#include "shell/ui/BootDiskFileMenuBar.h"
#include "shell/ui/DeviceMenus.h"
#include "shell/ui/DropZonePicture.h"
#include "shell/ui/WindowHelpers.h"
#include "shell/ui/frmAbout.h"

namespace korva {

// A filled round light in a host colour 0x00BBGGRR.
class LightWidget final : public QWidget {
 public:
  explicit LightWidget(QWidget* parent) : QWidget(parent) {}
  void SetColour(uint32_t c) {
    if (c == colour_) return;
    colour_ = c;
    update();
  }
  uint32_t Colour() const { return colour_; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(colour_ & 0xFF, (colour_ >> 8) & 0xFF, (colour_ >> 16) & 0xFF));
    p.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
  }

 private:
  uint32_t colour_ = 0;
};

namespace {

// A label that reports clicks (the throttle value label).
class ClickLabel final : public QLabel {
 public:
  ClickLabel(QWidget* parent, std::function<void()> onClick) : QLabel(parent), onClick_(std::move(onClick)) {}

 protected:
  void mousePressEvent(QMouseEvent*) override { onClick_(); }
  // The second press of a double click is not another click.
  void mouseDoubleClickEvent(QMouseEvent*) override {}

 private:
  std::function<void()> onClick_;
};

// One letter of the text centred over each throttle bar.
class BarLettersLabel final : public QLabel {
 public:
  BarLettersLabel(QWidget* parent, int pitch) : QLabel(QStringLiteral("T24RD"), parent), pitch_(pitch) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QString t = text();
    for (int i = 0; i < t.size(); ++i)
      p.drawText(QRect(i * pitch_, 0, pitch_, height()), Qt::AlignCenter, t.mid(i, 1));
  }

 private:
  int pitch_;
};

QString Qs(const std::string& s) { return QString::fromStdString(s); }

// Layout of the client area below the menu bar, in pixels.
constexpr int kClientWidth = 300, kClientHeight = 186;
constexpr int kBarX = 196, kBarPitch = 19, kBarWidth = 16, kBarTop = 22, kBarHeight = 108;

}  // namespace

formKorvan::formKorvan()
    : timerOneSec_(std::make_unique<QtTimer>()) {
  SetOneSecondTimer(timerOneSec_.get());
  if (const char* log = std::getenv("KORVA_STATUS_LOG")) statusLog_ = log;
  BuildControls();
  BuildMenus();
  FormLoad();
  SetMainWindow(this);  // the console windows open beside it
}

formKorvan::~formKorvan() {
  timerOneSec_->Enabled(false);
  SetOneSecondTimer(nullptr);
}

void formKorvan::BuildControls() {
  auto* client = new QWidget(this);
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);

  const auto button = [client](const char* caption, int x, int y, int w) {
    auto* b = new QPushButton(QString::fromLatin1(caption), client);
    b->setGeometry(x, y, w, 24);
    return b;
  };
  // The focus sink lies outside the visible area; it comes first in the focus chain.
  cmdDummy = button("Dummy", -200, -200, 60);
  cmdStopRun = button("Stop", 5, 6, 104);
  cmdPowerOnReset = button("Power On Reset", 5, 34, 104);
  cmdReset = button("Reset", 5, 62, 104);
  cmdAbort = button("Abort", 5, 90, 104);
  cmdKBDlock = button("KBL", 5, 118, 46);
  cmdInitOpMap = button("Init Opcode map", kClientWidth + 20, 6, 110);

  lblFP = new QLabel(client);
  lblFP->setGeometry(57, 118, 52, 24);
  lblFP->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  lblFP->setAlignment(Qt::AlignCenter);
  QFont fpFont = lblFP->font();
  fpFont.setBold(true);
  fpFont.setPointSizeF(fpFont.pointSizeF() * 1.3);
  lblFP->setFont(fpFont);
  lblFP->setStyleSheet(QStringLiteral("QLabel { color: #ff3030; background: black; }"));

  auto* frmFails = new QFrame(client);
  frmFails->setFrameStyle(QFrame::Box | QFrame::Sunken);
  frmFails->setGeometry(115, 6, 74, 86);
  const char* lightNames[4] = {"Halt", "400-C0", "400-C1", "410"};
  for (int i = 0; i < 4; ++i) {
    shpLights[i] = new LightWidget(frmFails);
    shpLights[i]->setGeometry(6, 6 + i * 20, 14, 14);
    lblLights[i] = new QLabel(QString::fromLatin1(lightNames[i]), frmFails);
    lblLights[i]->setGeometry(24, 4 + i * 20, 48, 18);
  }
  shpLights[4] = new LightWidget(client);
  shpLights[4]->setGeometry(120, 104, 14, 14);
  auto* lblLED = new QLabel(QStringLiteral("LED"), client);
  lblLED->setGeometry(140, 102, 40, 18);

  auto* label1 = new BarLettersLabel(client, kBarPitch);
  label1->setGeometry(kBarX, 4, kBarPitch * ThrottleBarCount, 16);
  for (int i = 0; i < ThrottleBarCount; ++i) {
    auto* bar = new QScrollBar(Qt::Vertical, client);
    bar->setGeometry(kBarX + i * kBarPitch + (kBarPitch - kBarWidth) / 2, kBarTop, kBarWidth, kBarHeight);
    bar->setRange(0, ThrottleMaxPosition);
    bar->setPageStep(1);
    bar->setSingleStep(1);
    QObject::connect(bar, &QScrollBar::valueChanged,
                     [this, i](int v) { SetThrottleBar(static_cast<ThrottleBar>(i), static_cast<int16_t>(v)); });
    throttleBars[i] = bar;
  }
  lblVSC = new ClickLabel(client, [this] { VscLabelClick(); });
  lblVSC->setGeometry(kBarX, kBarTop + kBarHeight + 4, kBarPitch * ThrottleBarCount, 18);
  lblVSC->setAlignment(Qt::AlignCenter);
  lblVSC->setFrameStyle(QFrame::Panel | QFrame::Sunken);

  lblIPS = new QLabel(client);
  lblIPS->setGeometry(6, 150, 150, 16);
  lblVersion = new QLabel(client);
  lblVersion->setGeometry(kClientWidth - 86, 150, 80, 16);
  lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  picDropZone = new DropZonePicture(client);
  picDropZone->setGeometry(115, 122, 76, 24);
  lblWinsockStatus = new QLabel(QStringLiteral("Main Network Server is Stopped"), client);
  lblWinsockStatus->setGeometry(6, 168, kClientWidth - 12, 16);
  lblWinsockStatus->setObjectName(QStringLiteral("lblWinsockStatus"));
  mainServer.ShowStatus = [this](const std::string& text, const std::string& toolTip) {
    lblWinsockStatus->setText(QString::fromStdString(text));
    lblWinsockStatus->setToolTip(QString::fromStdString(toolTip));
  };
  mainServer.Fits = [this](const std::string& text) {
    return QFontMetrics(lblWinsockStatus->font()).horizontalAdvance(QString::fromStdString(text)) <=
           lblWinsockStatus->width();
  };

  QObject::connect(cmdStopRun, &QPushButton::clicked, [this] { StopRunClick(); });
  QObject::connect(cmdPowerOnReset, &QPushButton::clicked, [this] { PowerOnResetClick(); });
  QObject::connect(cmdReset, &QPushButton::clicked, [this] { ResetClick(); });
  QObject::connect(cmdAbort, &QPushButton::clicked, [this] { AbortClick(); });
  QObject::connect(cmdKBDlock, &QPushButton::clicked, [this] { KbdLockClick(); });
  QObject::connect(cmdInitOpMap, &QPushButton::clicked, [this] { InitOpMapClick(); });
}

void formKorvan::BuildMenus() {
  QMenuBar* bar = menuBar();
  const auto item = [](QMenu* menu, const char* caption, std::function<void()> act) {
    QAction* a = menu->addAction(QString::fromLatin1(caption));
    if (act) QObject::connect(a, &QAction::triggered, std::move(act));
    return a;
  };

  BootDiskFileMenuBar::Hooks hooks;
  hooks.GoAfterBh = [this] { RunMenuClick(); };
  hooks.Stop = [this] { StopMenuClick(); };
  hooks.FocusSink = [this] { FocusDummy(); };
  hooks.ShowNewDisk = [this](int16_t mode) { ShowNewDisk(mode, this); };
  hooks.ShowGetPutBoot = ShowGetPutBoot;
  bootDiskFileMenus = new BootDiskFileMenuBar(bar, std::move(hooks));
  mnuExit = item(bootDiskFileMenus->mnuFile, "Exit", [this] { close(); });
  mnuBo = bootDiskFileMenus->mnuBo;
  mnuTenBug = bootDiskFileMenus->mnuTenBug;
  mnuVmeBug = bootDiskFileMenus->mnuVmeBug;

  // The Devices menu and most of Options are DeviceMenus'.
  menus = new DeviceMenus(this);
  menus->FillDevicesMenu(bar->addMenu(QStringLiteral("Devices")), &mainServer);

  QMenu* tools = bar->addMenu(QStringLiteral("Tools"));
  item(tools, "Show Debugger", [this] { ShowDebuggerClick(); });

  QMenu* options = bar->addMenu(QStringLiteral("Options"));
  QMenu* drop = options->addMenu(QStringLiteral("DropFormat"));
  for (int i = 0; i < 6; ++i) {
    mnuDropFormat[i] = item(drop, DropFormatCaptions[i], [this, i] {
      int16_t code = static_cast<int16_t>(i);
      SelectDropFormat(code);
    });
    mnuDropFormat[i]->setCheckable(true);
  }
  mnuAlternateIVS = item(options, "Alternate IVS", [this] { AlternateIvsClick(); });
  mnuAlternateIVS->setCheckable(true);
  item(options, "Reset Thottles", [this] { ResetThrottles(); });
  // Menus keep no state: ticks and captions are refreshed from the globals on opening.
  menus->FillOptionsMenu(options, drop->menuAction(), mnuAlternateIVS);

  QMenu* help = bar->addMenu(QStringLiteral("Help"));
  // The program has no help file: each help item says so.
  const auto noHelp = [] {
    Host().MessageBox("There is no help file for this program on this system.", AppTitle, MsgButtons::OK,
                      MsgIcon::Information);
  };
  item(help, "Contents", noHelp);
  item(help, "Index", noHelp);
  item(help, "Help on Help", noHelp);
  item(help, "About", [this] { ShowAbout(this); });
  // The window is at least as wide as its menu bar, so no menu hides behind
  // the bar's overflow button, and it keeps the size of its contents: a
  // window manager then draws no resize handle along the bottom edge.
  const int width = std::max(kClientWidth, bar->sizeHint().width());
  centralWidget()->setFixedWidth(width);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  cmdInitOpMap->move(width + 20, cmdInitOpMap->y());  // stays outside the visible area
}

void formKorvan::Refresh(unsigned parts) {
  const View& v = view();
  if (parts & PartCaption) setWindowTitle(Qs(v.Caption));
  if (parts & PartControls) {
    cmdStopRun->setText(Qs(v.StopRunCaption));
    cmdStopRun->setEnabled(v.StopRunEnabled);
    cmdPowerOnReset->setEnabled(v.PowerOnResetEnabled);
    cmdReset->setEnabled(v.ResetEnabled);
    cmdAbort->setEnabled(v.AbortEnabled);
  }
  if (parts & PartLights)
    for (size_t i = 0; i < shpLights.size(); ++i) shpLights[i]->SetColour(v.Lights[i]);
  if (parts & PartLabels) {
    lblIPS->setText(Qs(v.Ips));
    lblVersion->setText(Qs(v.Version));
    lblVSC->setText(Qs(v.Vsc));
    lblFP->setText(Qs(v.FrontPanel));
  }
  if (parts & PartMenus) {
    for (size_t i = 0; i < mnuBo.size(); ++i) mnuBo[i]->setEnabled(v.BootItemEnabled[i]);
    mnuTenBug->setChecked(v.TenBugTicked);
    mnuVmeBug->setChecked(v.VmeBugTicked);
    for (size_t i = 0; i < mnuDropFormat.size(); ++i) mnuDropFormat[i]->setChecked(v.DropFormatTicked[i]);
  }
  if (parts & PartPointer) {
    if (v.MousePointer == PointerHourglass)
      setCursor(Qt::WaitCursor);
    else
      unsetCursor();
  }
  if (parts & PartThrottles)
    for (size_t i = 0; i < throttleBars.size(); ++i) {
      // Positions set from the state do not run the change step a second time.
      const QSignalBlocker block(throttleBars[i]);
      throttleBars[i]->setValue(v.Throttle[i]);
    }
  if ((parts & PartLabels) && !statusLog_.empty()) ReportStatus();
}

void formKorvan::ReportStatus() {
  // Written when the labels change; the one-second tick changes the IPS label.
  const View& v = view();
  const std::string line = "IPS=" + v.Ips + " FP=" + v.FrontPanel + " RUN=" + v.StopRunCaption + "\n";
  if (line == lastStatus_) return;
  lastStatus_ = line;
  if (std::FILE* f = std::fopen(statusLog_.c_str(), "a")) {
    std::fputs(line.c_str(), f);
    std::fclose(f);
  }
}

void formKorvan::FocusDummy() { cmdDummy->setFocus(); }

void formKorvan::ShowWindow() {
  switch (loaded_.WindowState) {
    case 1: showMinimized(); break;
    case 2: showMaximized(); break;
    default: show(); break;
  }
}

MainWindowState::Placement formKorvan::CurrentPlacement() const {
  Placement p;
  const QPoint at = FramePosition(*this);
  p.Top = at.y();
  p.Left = at.x();
  if (windowState() & Qt::WindowMinimized)
    p.WindowState = 1;
  else if (windowState() & Qt::WindowMaximized)
    p.WindowState = 2;
  return p;
}

void formKorvan::ApplyPlacement(const Placement& p) {
  loaded_ = p;
  // The frame goes where it was; a position off the screens (a monitor since
  // removed, a hand-edited value) is brought back until the title bar shows.
  PlaceFrame(*this, QPoint(p.Left, p.Top));
}

void formKorvan::closeEvent(QCloseEvent* event) {
  // The window object lives on until the main loop has returned.
  FormUnload();
  event->accept();
}

VBool formKorvan::FindFormByCaption(const std::string& text) { return FindWindowByCaption(text); }

void formKorvan::ShowFrontPanel(VBool plugged) { lblFP->setVisible(plugged != 0); }

void formKorvan::ShowDropzone(VBool plugged) { picDropZone->setVisible(plugged != 0); }

void formKorvan::ShowBoardIndicator(int16_t n, VBool plugged) {
  // A board's fail light and its name show only while the board is plugged.
  if (n < 1 || n > 3) return;
  shpLights[static_cast<size_t>(n)]->setVisible(plugged != 0);
  lblLights[static_cast<size_t>(n)]->setVisible(plugged != 0);
}

MainFormHooks* CreateFormKorvan() { return new formKorvan; }

}  // namespace korva
