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
#include "serial/ui/LineMenus.h"

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
  QMenu* newline = NewlineMenu(settings, [this](int n) { NewlineIs = static_cast<int16_t>(n); });
  QMenu* byteSize = ByteSizeMenu(settings, "Byte Size", [this](bool ascii) { Ascii = ascii; });
  QMenu* parity = ParityMenu(settings, [this](int p) { Parity = static_cast<int16_t>(p); });
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
  CheckLineSettings(*this, NewlineIs, Ascii, Parity);
  CheckItem(*this, "mnuCRLFeqLF", CRLFeqLF);
  CheckItem(*this, "mnuIssue", Issue);
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
  ui::LoadPlacement(*this, section, PlacementKeys::PositionSizeState, FirstPlace::BesideMainWindow);
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
