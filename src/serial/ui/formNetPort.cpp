#include "serial/ui/formNetPort.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QTextEdit>
#include <QTimer>


#include "board/ui/MenuItems.h"
#include "board/ui/WindowPlacement.h"
#include "host/CodePage.h"
#include "host/qt/QtText.h"
#include "serial/Consoles.h"

namespace korva::ui {

formNetPort::formNetPort() {
  SetView(this);
  rtfLog_ = new QTextEdit(this);
  rtfLog_->setObjectName(QStringLiteral("rtfLog"));
  rtfLog_->setReadOnly(true);
  rtfLog_->setAcceptRichText(false);
  rtfLog_->setUndoRedoEnabled(false);
  setCentralWidget(rtfLog_);
  BuildMenus();
  resize(480, 300);
}

formNetPort::~formNetPort() { SetView(nullptr); }

void formNetPort::BuildMenus() {
  QMenuBar* bar = menuBar();
  QMenu* server = BarMenu(bar, "mnuServer", "Server");
  Item(server, "mnuStartChild", "Start Child", [this] { SwitchRole(NetChild); });
  Item(server, "mnuStartStandalone", "Start Standalone", [this] { SwitchRole(NetStandalone); });
  server->addSeparator();
  Item(server, "mnuRestart", "Restart", [this] { Restart(); });
  Item(server, "mnuStop", "Stop", [this] { StopRole(); });
  server->addSeparator();
  Item(server, "mnuListenPort", "Listening Port ...", [this] { AskListenPort(); });

  QMenu* client = BarMenu(bar, "mnuClient", "Client");
  Item(client, "mnuConnect", "Connect", [this] { SwitchRole(NetClient); });
  Item(client, "mnuClose", "Close", [this] { StopRole(); });
  client->addSeparator();
  Item(client, "mnuRemoteHost", "Remote Host ...", [this] { AskRemoteHost(); });
  Item(client, "mnuRemotePort", "Remote Port ...", [this] { AskRemotePort(); });
  client->addSeparator();
  Item(client, "mnuTimeout", "Timeout ...", [this] { AskTimeOut(); });

  QMenu* settings = BarMenu(bar, "mnuSettings", "Settings");
  QMenu* newline = SubMenu(settings, "mnuNewline", "Newline");
  Item(newline, "mnuCRisNewline", "CR", [this] { NewlineIs = 0; }, true);
  Item(newline, "mnuLFisNewline", "LF", [this] { NewlineIs = 1; }, true);
  QMenu* byteSize = SubMenu(settings, "mnuByteSize", "Byte Size");
  Item(byteSize, "mnu7bits", "7 bits", [this] { Ascii = true; }, true);
  Item(byteSize, "mnu8bits", "8 bits", [this] { Ascii = false; }, true);
  QMenu* parity = SubMenu(settings, "mnuParity", "Parity");
  Item(parity, "mnuZero", "Zero", [this] { Parity = 0; }, true);
  Item(parity, "mnuOne", "One", [this] { Parity = 1; }, true);
  Item(parity, "mnuEven", "Even", [this] { Parity = 2; }, true);
  Item(parity, "mnuOdd", "Odd", [this] { Parity = 3; }, true);
  settings->addSeparator();
  Item(settings, "mnuCRLFeqLF", "CRLF=CR", [this] { CRLFeqLF = !CRLFeqLF; }, true);
  Item(settings, "mnuIssue", "Issue", [this] { Issue = !Issue; }, true);
  Item(settings, "mnuResetNetIO", "Reset Net I/O", [this] { ResetNetIO(); });
  // The checks show the console's state whenever a menu opens and after each choice.
  for (QMenu* m : {settings, newline, byteSize, parity})
    connect(m, &QMenu::aboutToShow, this, [this] { RefreshChecks(); });
  for (QAction* a : settings->findChildren<QAction*>())
    connect(a, &QAction::triggered, this, [this] { RefreshChecks(); });
  RefreshChecks();
}

void formNetPort::RefreshChecks() {
  const auto check = [this](const char* name, bool on) {
    if (QAction* a = findChild<QAction*>(QString::fromLatin1(name))) a->setChecked(on);
  };
  check("mnuCRisNewline", NewlineIs == 0);
  check("mnuLFisNewline", NewlineIs == 1);
  check("mnu7bits", Ascii);
  check("mnu8bits", !Ascii);
  check("mnuZero", Parity == 0);
  check("mnuOne", Parity == 1);
  check("mnuEven", Parity == 2);
  check("mnuOdd", Parity == 3);
  check("mnuCRLFeqLF", CRLFeqLF);
  check("mnuIssue", Issue);
}

void formNetPort::Refresh() {
  refreshQueued_ = false;
  shown_.Show(*rtfLog_, LogText(), LogRewrites());
}

void formNetPort::LogChanged() {
  if (refreshQueued_) return;
  refreshQueued_ = true;
  QTimer::singleShot(0, this, [this] { Refresh(); });
}

void formNetPort::ShowWindow() {
  RefreshChecks();
  Refresh();
  show();
  raise();
}

void formNetPort::HideWindow() { hide(); }

void formNetPort::SetCaption(const std::string& caption) { setWindowTitle(ToQt(caption)); }

void formNetPort::LoadPlacement(const std::string& section) {
  ui::LoadPlacement(*this, section, PlacementKeys::PositionSizeState);
}

void formNetPort::SavePlacement(const std::string& section) {
  ui::SavePlacement(*this, section, PlacementKeys::PositionSizeState);
}

void formNetPort::closeEvent(QCloseEvent* event) {
  // The close box unloads the console; the window object stays for its port.
  event->ignore();
  Unload();
}

void InstallNetWindows() {
  ConsoleFactories.Net = [](int16_t) -> std::unique_ptr<NetConsoleWindow> { return std::make_unique<formNetPort>(); };
}

}  // namespace korva::ui
