// The main window's "Devices" menu (with "Memory") and its items of "Options",
// as Qt menus. Each parent menu refreshes its captions and ticks from the
// globals when it opens (aboutToShow); the items call the core's actions
// (shell/MainMenus.h). The main window owns the menu bar and attaches these:
//
//   DeviceMenus menus(this);
//   QMenu* devices = menuBar()->addMenu("Devices");   // "Generic Devices ..." first, if any
//   menus.FillDevicesMenu(devices);
//   menus.FillOptionsMenu(options, dropFormatMenu->menuAction(), mnuAlternateIVS);
#pragma once
#include <QObject>

#include <array>

#include "shell/MainMenus.h"

class QAction;
class QMenu;
class QWidget;

namespace korva {

class MainListener;

class DeviceMenus final : public QObject {
 public:
  // window: the parent of the jumper and console dialogs.
  explicit DeviceMenus(QWidget* window);

  // Appends, in order: "Generic Devices ...", "Open Screen/Keyboard", "OpenKeyboard", "New Keyboard",
  // the plug items and the "Memory" submenu. A "Main Server" submenu belongs
  // before mnuPlug[0].
  // With a listener, its "Main Server" submenu follows "New Keyboard".
  void FillDevicesMenu(QMenu* devices, MainListener* listener = nullptr);
  // Inserts "Set Switches ..." before dropFormat, the CPU models and the
  // options up to "White Phosphor" before alternateIvs, and "Century" after
  // it. Null anchors append at the end.
  void FillOptionsMenu(QMenu* options, QAction* dropFormat = nullptr, QAction* alternateIvs = nullptr);

  // What opening each parent menu does.
  void RefreshDevices();
  void RefreshOptions();

  // The items, by the names the tests use.
  QMenu* mnuDevices = nullptr;
  QMenu* mnuMemory = nullptr;
  QMenu* mnuOptions = nullptr;
  QAction* mnuConsoles = nullptr;  // "Generic Devices ...": the console assignment dialog
  QAction* mnuOpenKBD = nullptr;
  QAction* mnuOpenKeyboard = nullptr;
  QAction* mnuNewKeyboard = nullptr;
  QMenu* mnuMainServer = nullptr;
  QAction* mnuReStartTelNetServer = nullptr;
  QAction* mnuStopTelNetServer = nullptr;
  QAction* mnuMainListenPort = nullptr;
  QAction* mnuBaseListenPort = nullptr;
  std::array<QAction*, PlugItemCount> mnuPlug = {};
  std::array<QAction*, MemoryItemCount> mnuMem = {};
  QAction* mnuSetSwitches = nullptr;
  std::array<QAction*, 3> mnuMC68xxx = {};
  QAction* mnuUseFormat2Stack = nullptr;
  QAction* mnuMovePhysEn = nullptr;
  QAction* mnuSwapROM = nullptr;
  QAction* mnuSetIG = nullptr;
  QAction* mnuScmMan = nullptr;
  QAction* mnuWhitePhosphor = nullptr;
  QAction* mnuAlternateIVS = nullptr;  // the main window's, ticked here as well
  QAction* mnuSetCentury = nullptr;

  DevicesMenuView DevicesView;
  OptionsMenuView OptionsView;

 private:
  void ShowDevicesView();
  void ShowOptionsView();
  void SetSwitches();

  QWidget* window_;
};

}  // namespace korva
