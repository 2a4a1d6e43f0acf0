// The main window: run control buttons, fail and disk lights, front-panel,
// throughput and version labels, the throttle bars and the menus. Its logic is
// MainWindowState's; this class only shows the view and forwards clicks.
#pragma once
#include <QMainWindow>

#include <array>
#include <memory>
#include <string>

#include "shell/MainListener.h"
#include "shell/MainWindowState.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;

namespace korva {

class QtTimer;
class LightWidget;
class BootDiskFileMenuBar;
class DropZonePicture;
class DeviceMenus;

class formKorvan final : public QMainWindow, public MainWindowState {
 public:
  // Builds the widgets and runs the load step (caption, version, placement).
  formKorvan();
  ~formKorvan() override;

  // The widgets, for tests.
  QPushButton* cmdStopRun = nullptr;
  QPushButton* cmdPowerOnReset = nullptr;
  QPushButton* cmdReset = nullptr;
  QPushButton* cmdAbort = nullptr;
  QPushButton* cmdKBDlock = nullptr;
  QPushButton* cmdDummy = nullptr;
  QPushButton* cmdInitOpMap = nullptr;
  QLabel* lblIPS = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* lblVSC = nullptr;
  QLabel* lblFP = nullptr;
  QLabel* lblWinsockStatus = nullptr;
  std::array<LightWidget*, 5> shpLights = {};
  std::array<QLabel*, 4> lblLights = {};  // names of the fail lights: "Halt", "400-C0", "400-C1", "410"
  std::array<QScrollBar*, ThrottleBarCount> throttleBars = {};  // vscThrottle, vscSN2661, vscMVME400, vscRWIN, vscDisplay
  BootDiskFileMenuBar* bootDiskFileMenus = nullptr;  // "File", "Boot" and "Disks"
  DropZonePicture* picDropZone = nullptr;  // the drop area
  std::array<QAction*, 2> mnuBo = {};
  QAction* mnuTenBug = nullptr;
  QAction* mnuVmeBug = nullptr;
  std::array<QAction*, 6> mnuDropFormat = {};
  QAction* mnuAlternateIVS = nullptr;
  QAction* mnuExit = nullptr;
  DeviceMenus* menus = nullptr;  // "Devices" and the model, display and switch items of "Options"
  MainListener mainServer;  // the TCP console listener, shown in lblWinsockStatus

  VBool FindFormByCaption(const std::string& text) override;
  void ShowFrontPanel(VBool plugged) override;
  void ShowDropzone(VBool plugged) override;
  void ShowBoardIndicator(int16_t n, VBool plugged) override;

 protected:
  void Refresh(unsigned parts) override;
  void FocusDummy() override;
  void ShowWindow() override;
  Placement CurrentPlacement() const override;
  void ApplyPlacement(const Placement& p) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void BuildMenus();
  void ReportStatus();

  std::unique_ptr<QtTimer> timerOneSec_;
  Placement loaded_;
  // KORVA_STATUS_LOG names a file to which the labels are appended as they change
  // (throughput, front panel, stop/run caption): the end-to-end test reads it.
  std::string statusLog_;
  std::string lastStatus_;
};

// Creates the main window for start-up (installed as MainFormFactory).
MainFormHooks* CreateFormKorvan();

}  // namespace korva
