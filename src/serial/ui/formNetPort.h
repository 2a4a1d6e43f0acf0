// The raw TCP console window of one device port: a read-only log of the
// connection's events (rtfLog) and the Server, Client and Settings menus of the
// console (serial/NetPort.h).
#pragma once
#include <QMainWindow>

#include <cstdint>

#include "serial/NetPort.h"
#include "serial/ui/GrowingText.h"

class QAction;
class QMenu;
class QTextEdit;

namespace korva::ui {

class formNetPort final : public QMainWindow, public NetPortConsole, private NetPortView {
  Q_OBJECT

 public:
  formNetPort();
  ~formNetPort() override;

  QTextEdit* Log() const { return rtfLog_; }
  // Shows what the console's log holds now (the queued refresh does the same).
  void Refresh();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // NetPortView
  void ShowWindow() override;
  void HideWindow() override;
  void SetCaption(const std::string& caption) override;
  void LogChanged() override;
  void LoadPlacement(const std::string& section) override;
  void SavePlacement(const std::string& section) override;

  void BuildMenus();
  void RefreshChecks();

  QTextEdit* rtfLog_ = nullptr;
  bool refreshQueued_ = false;
  GrowingText shown_;
};

// Registers the NET window as the maker of the ports' NET consoles.
void InstallNetWindows();

}  // namespace korva::ui
