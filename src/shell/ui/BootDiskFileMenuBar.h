// The main window's "File", "Boot" and "Disks" menus as Qt widgets. Each menu
// refreshes its captions, ticks and enabled items from the globals as it opens
// (shell/BootDiskFileMenus.h computes them) and keeps no state of its own; its
// items call the core's click handlers.
#pragma once
#include <QObject>

#include <array>
#include <cstdint>
#include <functional>

#include "shell/BootDiskFileMenus.h"

class QAction;
class QMenu;
class QMenuBar;

namespace korva {

class BootDiskFileMenuBar final : public QObject {
 public:
  // What the main window supplies. Items without a hook do nothing.
  struct Hooks {
    std::function<void()> GoAfterBh;  // "GO after BH"
    std::function<void()> Stop;       // "STOP"
    std::function<void()> FocusSink;  // after DLOAD or ULOAD closed its file
    // "Create Raw Image ..." (mode 2) and "Create IMD Image ..." (mode 1).
    std::function<void(int16_t mode)> ShowNewDisk;
    // "Get/Put Boot ...": the window takes the get/put and alternate-boot
    // values and, after OK, hands them back to the program.
    std::function<void()> ShowGetPutBoot;
  };

  // Adds "File", "Boot" and "Disks" to bar, in that order. The File menu ends
  // with a separator; the window appends its "Exit" item.
  BootDiskFileMenuBar(QMenuBar* bar, Hooks hooks);

  // What opening each menu does.
  void RefreshFile();
  void RefreshBoot();
  void RefreshDisks();

  QMenu* mnuFile = nullptr;
  QMenu* mnuBoot = nullptr;
  QMenu* mnuDisks = nullptr;
  QAction* mnuLoadMemory = nullptr;
  QAction* mnuLoadRom = nullptr;
  QAction* mnuDLOAD = nullptr;
  QAction* mnuUload = nullptr;
  std::array<QAction*, 2> mnuBo = {};  // "BO", "BH"
  QAction* mnuRUN = nullptr;           // "GO after BH"
  QAction* mnuStop = nullptr;
  std::array<QAction*, 4> mnuBootDrive = {};
  std::array<QAction*, 7> mnuBootType = {};
  QAction* mnuGetPutBoot = nullptr;
  QAction* mnuDefaultFontFile = nullptr;
  QAction* mnuDefaultRomFile = nullptr;
  std::array<QAction*, 2> mnuDefaultBootFile = {};
  QAction* mnuTenBug = nullptr;
  QAction* mnuVmeBug = nullptr;
  std::array<QAction*, 4> mnuDisk = {};
  QAction* mnuCreateRaw = nullptr;
  QAction* mnuCreateIMD = nullptr;

 private:
  void BuildFile(QMenuBar* bar);
  void BuildBoot(QMenuBar* bar);
  void BuildDisks(QMenuBar* bar);

  Hooks hooks_;
};

}  // namespace korva
