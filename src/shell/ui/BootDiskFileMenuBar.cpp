#include "shell/ui/BootDiskFileMenuBar.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QString>
#include <utility>

namespace korva {

namespace {

// A caption built from host names (UTF-8): "&" is doubled so that a file
// name keeps its ampersands instead of turning them into shortcut marks.
QString Caption(const std::string& text) {
  QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  s.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return s;
}

QAction* Item(QMenu* menu, const char* caption, std::function<void()> act) {
  QAction* a = menu->addAction(QString::fromLatin1(caption));
  if (act) QObject::connect(a, &QAction::triggered, std::move(act));
  return a;
}

QAction* Tickable(QMenu* menu, const char* caption, std::function<void()> act) {
  QAction* a = Item(menu, caption, std::move(act));
  a->setCheckable(true);
  return a;
}

}  // namespace

BootDiskFileMenuBar::BootDiskFileMenuBar(QMenuBar* bar, Hooks hooks) : QObject(bar), hooks_(std::move(hooks)) {
  BuildFile(bar);
  BuildBoot(bar);
  BuildDisks(bar);
}

void BootDiskFileMenuBar::BuildFile(QMenuBar* bar) {
  mnuFile = bar->addMenu(QStringLiteral("File"));
  mnuLoadMemory = Item(mnuFile, "Load Memory ...", mnuLoadMemory_Click);
  mnuLoadRom = Item(mnuFile, "Load Rom ...", mnuLoadRom_Click);
  mnuFile->addSeparator();
  mnuDLOAD = Item(mnuFile, "Open DLOAD", [this] {
    if (mnuDLOAD_Click() && hooks_.FocusSink) hooks_.FocusSink();
  });
  mnuUload = Item(mnuFile, "Open ULOAD", [this] {
    if (mnuUload_Click() && hooks_.FocusSink) hooks_.FocusSink();
  });
  mnuFile->addSeparator();
  connect(mnuFile, &QMenu::aboutToShow, this, &BootDiskFileMenuBar::RefreshFile);
}

void BootDiskFileMenuBar::BuildBoot(QMenuBar* bar) {
  mnuBoot = bar->addMenu(QStringLiteral("Boot"));
  mnuBo[0] = Item(mnuBoot, "BO", [] { mnuBo_Click(0); });
  mnuBo[1] = Item(mnuBoot, "BH", [] { mnuBo_Click(1); });
  mnuRUN = Item(mnuBoot, "GO after BH", [this] {
    if (hooks_.GoAfterBh) hooks_.GoAfterBh();
  });
  mnuStop = Item(mnuBoot, "STOP", [this] {
    if (hooks_.Stop) hooks_.Stop();
  });
  mnuBoot->addSeparator();
  QMenu* drives = mnuBoot->addMenu(QStringLiteral("Set Boot Drive"));
  for (size_t n = 0; n < mnuBootDrive.size(); ++n)
    mnuBootDrive[n] = Tickable(drives, BootDriveCaptions[n], [n] { mnuBootDrive_Click(static_cast<int16_t>(n)); });
  QMenu* types = mnuBoot->addMenu(QStringLiteral("Set Boot Type"));
  for (size_t n = 0; n < mnuBootType.size(); ++n)
    mnuBootType[n] = Tickable(types, BootTypeCaptions[n], [n] { mnuBootType_Click(static_cast<int16_t>(n)); });
  mnuGetPutBoot = Item(mnuBoot, "Get/Put Boot ...", [this] {
    if (hooks_.ShowGetPutBoot) hooks_.ShowGetPutBoot();
  });
  QMenu* defaults = mnuBoot->addMenu(QStringLiteral("Defaults"));
  mnuDefaultFontFile = Item(defaults, "FONT File ...", mnuDefaultFontFile_Click);
  mnuDefaultRomFile = Item(defaults, "ROM File ...", mnuDefaultRomFile_Click);
  mnuDefaultBootFile[0] = Item(defaults, "BOOT File 0 ...", [] { mnuDefaultBootFile_Click(0); });
  mnuDefaultBootFile[1] = Item(defaults, "BOOT File 1 ...", [] { mnuDefaultBootFile_Click(1); });
  mnuBoot->addSeparator();
  mnuTenBug = Tickable(mnuBoot, "Use TENbug (ME4Udisk/T15io)", mnuTenBug_Click);
  mnuVmeBug = Tickable(mnuBoot, "Use VMEbug (T15disk/AltT15io)", mnuVmeBug_Click);
  connect(mnuBoot, &QMenu::aboutToShow, this, &BootDiskFileMenuBar::RefreshBoot);
}

void BootDiskFileMenuBar::BuildDisks(QMenuBar* bar) {
  mnuDisks = bar->addMenu(QStringLiteral("Disks"));
  for (size_t n = 0; n < mnuDisk.size(); ++n)
    mnuDisk[n] = Item(mnuDisks, "", [n] { mnuDisk_Click(static_cast<int16_t>(n)); });
  mnuDisks->addSeparator();
  mnuCreateRaw = Item(mnuDisks, "Create Raw Image ...", [this] {
    if (hooks_.ShowNewDisk) hooks_.ShowNewDisk(2);
  });
  mnuCreateIMD = Item(mnuDisks, "Create IMD Image ...", [this] {
    if (hooks_.ShowNewDisk) hooks_.ShowNewDisk(1);
  });
  connect(mnuDisks, &QMenu::aboutToShow, this, &BootDiskFileMenuBar::RefreshDisks);
}

void BootDiskFileMenuBar::RefreshFile() {
  const FileMenuView v = mnuFile_Click();
  mnuDLOAD->setText(Caption(v.DloadCaption));
  mnuUload->setText(Caption(v.UloadCaption));
  mnuDLOAD->setEnabled(v.DloadEnabled);
  mnuUload->setEnabled(v.UloadEnabled);
}

void BootDiskFileMenuBar::RefreshBoot() {
  const BootMenuView v = mnuBoot_Click();
  for (size_t n = 0; n < mnuBootDrive.size(); ++n) mnuBootDrive[n]->setChecked(v.DriveTicked[n]);
  for (size_t n = 0; n < mnuBootType.size(); ++n) mnuBootType[n]->setChecked(v.TypeTicked[n]);
  mnuDefaultFontFile->setText(Caption(v.FontFileCaption));
  mnuDefaultRomFile->setText(Caption(v.RomFileCaption));
  mnuDefaultBootFile[0]->setText(Caption(v.BootFileCaption[0]));
  mnuDefaultBootFile[1]->setText(Caption(v.BootFileCaption[1]));
  mnuStop->setEnabled(v.StopEnabled);
  mnuRUN->setEnabled(v.GoAfterBhEnabled);
  mnuBo[0]->setEnabled(v.BootEnabled[0]);
  mnuBo[1]->setEnabled(v.BootEnabled[1]);
  mnuTenBug->setChecked(v.TenBugTicked);
  mnuVmeBug->setChecked(v.VmeBugTicked);
}

void BootDiskFileMenuBar::RefreshDisks() {
  const auto captions = mnuDisks_Click();
  for (size_t n = 0; n < mnuDisk.size(); ++n) mnuDisk[n]->setText(Caption(captions[n]));
}

}  // namespace korva
