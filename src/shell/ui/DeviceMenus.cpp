// The Devices, Memory and Options menus as Qt menus.
#include "shell/ui/DeviceMenus.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include <functional>
#include <string>

#include "serial/ui/formConsoles.h"
#include "shell/MainListener.h"
#include "shell/ui/formJumpers.h"

namespace korva {

namespace {

QString Text(const std::string& s) { return QString::fromLatin1(s.c_str()); }

// A new item with caption, run by act when chosen; inserted before `before`, or appended.
QAction* Item(QMenu* menu, QAction* before, const std::string& caption, std::function<void()> act,
              bool checkable = false) {
  auto* a = new QAction(Text(caption), menu);
  a->setCheckable(checkable);
  QObject::connect(a, &QAction::triggered, menu, [act = std::move(act)] { act(); });
  menu->insertAction(before, a);
  return a;
}

QAction* Separator(QMenu* menu, QAction* before) { return menu->insertSeparator(before); }

// The action that follows a in menu, or nullptr at the end.
QAction* After(QMenu* menu, QAction* a) {
  const QList<QAction*> all = menu->actions();
  const qsizetype i = all.indexOf(a);
  return i >= 0 && i + 1 < all.size() ? all[i + 1] : nullptr;
}

}  // namespace

DeviceMenus::DeviceMenus(QWidget* window) : QObject(window), window_(window) {}

void DeviceMenus::FillDevicesMenu(QMenu* devices, MainListener* listener) {
  mnuDevices = devices;
  mnuConsoles = Item(devices, nullptr, "Generic Devices ...", [this] { ui::ShowConsolesDialog(window_); });
  mnuConsoles->setObjectName(QStringLiteral("mnuConsoles"));
  mnuOpenKBD = Item(devices, nullptr, DevicesView.ScreenCaption, [] { OpenScreenClick(); });
  mnuOpenKeyboard = Item(devices, nullptr, DevicesView.KeyboardCaption, [] { OpenKeyboardClick(); });
  mnuNewKeyboard = Item(devices, nullptr, "New Keyboard", [] { NewKeyboardClick(); }, true);
  if (listener) {
    mnuMainServer = devices->addMenu(QStringLiteral("Main Server"));
    mnuMainServer->setObjectName(QStringLiteral("mnuMainServer"));
    mnuReStartTelNetServer = Item(mnuMainServer, nullptr, "Start/Restart", [listener] { listener->Restart(); });
    mnuStopTelNetServer = Item(mnuMainServer, nullptr, "Stop", [listener] { listener->StopMainServer(); });
    mnuMainListenPort = Item(mnuMainServer, nullptr, "Set Main Listen Port ...", [listener] { listener->AskMainListenPort(); });
    mnuBaseListenPort = Item(mnuMainServer, nullptr, "Set Base Stanalone Port ...", [listener] { listener->AskBaseListenPort(); });
    mnuReStartTelNetServer->setObjectName(QStringLiteral("mnuReStartTelNetServer"));
    mnuStopTelNetServer->setObjectName(QStringLiteral("mnuStopTelNetServer"));
    mnuMainListenPort->setObjectName(QStringLiteral("mnuMainListenPort"));
    mnuBaseListenPort->setObjectName(QStringLiteral("mnuBaseListenPort"));
  }
  Separator(devices, nullptr);
  for (int i = 0; i < PlugItemCount; ++i) {
    mnuPlug[i] = Item(devices, nullptr, PlugMenuItems[i].UnplugCaption, [i] { PlugItemClick(i); });
    mnuPlug[i]->setObjectName(QString::fromLatin1(PlugMenuItems[i].Name));
  }
  Separator(devices, nullptr);
  mnuMemory = devices->addMenu(QStringLiteral("Memory"));
  for (int i = 0; i < MemoryItemCount; ++i) {
    mnuMem[i] = Item(mnuMemory, nullptr, MemoryMenuItems[i].Caption, [i] { MemoryItemClick(i); }, true);
    mnuMem[i]->setObjectName(QString::fromLatin1(MemoryMenuItems[i].Name));
  }
  connect(devices, &QMenu::aboutToShow, this, [this] { RefreshDevices(); });
  RefreshDevices();
}

void DeviceMenus::FillOptionsMenu(QMenu* options, QAction* dropFormat, QAction* alternateIvs) {
  mnuOptions = options;
  mnuAlternateIVS = alternateIvs;
  QAction* first = dropFormat ? dropFormat : nullptr;
  mnuSetSwitches = Item(options, first, "Set Switches ...", [this] { SetSwitches(); });
  if (dropFormat) Separator(options, dropFormat);

  QAction* at = alternateIvs;
  Separator(options, at);
  for (int i = 0; i < 3; ++i) mnuMC68xxx[i] = Item(options, at, CpuModelCaptions[i], [i] { CpuModelClick(i); }, true);
  Separator(options, at);
  mnuUseFormat2Stack = Item(options, at, "Use Format 2 Stack Frame", [] { UseFormat2StackClick(); }, true);
  mnuMovePhysEn = Item(options, at, "Move Physical Enable", [] { MovePhysEnClick(); }, true);
  mnuSwapROM = Item(options, at, OptionsView.SwapRomCaption, [] { SwapRomClick(); });
  mnuSetIG = Item(options, at, OptionsView.SetIgCaption, [this] {
    SetIgClick(OptionsView);
    ShowOptionsView();
  });
  mnuScmMan = Item(options, at, "SCM Manual Defs", [] { ScmManClick(); }, true);
  mnuWhitePhosphor = Item(options, at, "White Phosphor", [] { WhitePhosphorClick(); }, true);
  mnuSetCentury = Item(options, alternateIvs ? After(options, alternateIvs) : nullptr, OptionsView.CenturyCaption,
                       [] { CenturyClick(); });
  connect(options, &QMenu::aboutToShow, this, [this] { RefreshOptions(); });
  ShowOptionsView();  // MC68010 ticked from the first showing
}

void DeviceMenus::RefreshDevices() {
  RefreshDevicesMenu(DevicesView);
  ShowDevicesView();
}

void DeviceMenus::RefreshOptions() {
  RefreshOptionsMenu(OptionsView);
  ShowOptionsView();
}

void DeviceMenus::ShowDevicesView() {
  const DevicesMenuView& v = DevicesView;
  for (int i = 0; i < PlugItemCount; ++i) mnuPlug[i]->setText(Text(v.PlugCaptions[i]));
  mnuOpenKBD->setText(Text(v.ScreenCaption));
  mnuOpenKeyboard->setText(Text(v.KeyboardCaption));
  for (int i = 0; i < MemoryItemCount; ++i) mnuMem[i]->setChecked(v.MemoryTicked[i]);
  mnuNewKeyboard->setChecked(v.NewKeyboardTicked);
}

void DeviceMenus::ShowOptionsView() {
  const OptionsMenuView& v = OptionsView;
  for (int i = 0; i < 3; ++i) mnuMC68xxx[i]->setChecked(v.CpuTicked[i]);
  mnuSwapROM->setText(Text(v.SwapRomCaption));
  mnuSetIG->setText(Text(v.SetIgCaption));
  mnuUseFormat2Stack->setChecked(v.Format2Ticked);
  mnuSetCentury->setText(Text(v.CenturyCaption));
  mnuScmMan->setChecked(v.ScmManTicked);
  mnuWhitePhosphor->setChecked(v.WhitePhosphorTicked);
  if (mnuAlternateIVS) mnuAlternateIVS->setChecked(v.AlternateIvsTicked);
  mnuMovePhysEn->setChecked(v.MovePhysTicked);
}

void DeviceMenus::SetSwitches() {
  formJumpers dialog(window_);
  SetSwitchesClick(dialog);
}

}  // namespace korva
