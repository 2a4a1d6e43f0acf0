// The main window's File, Boot and Disks menus and its drop area, offscreen with
// real widgets: menus opened as a user opens them, drops delivered as real drop
// events, the file dialog and message boxes answered by the scripted host.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QTemporaryDir>
#include <QUrl>
#include <vector>

#include "cpu/CpuState.h"
#include "cpu/MainLoop.h"
#include "disk/Boot.h"
#include "disk/Drives.h"
#include "disk/Dropzone.h"
#include "host/ScriptedHost.h"
#include "shell/BootDrive.h"
#include "shell/ShellSettings.h"
#include "shell/ui/BootDiskFileMenuBar.h"
#include "shell/ui/picDropZone.h"

namespace korva {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "korva_ui_tests";
  static char* argv[] = {name, nullptr};
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
  static QApplication app(argc, argv);
  return app;
}

// Declared first in a fixture: the application exists before its widgets.
struct WithApp {
  WithApp() { App(); }
};

// Opens a menu as a click on the menu bar does, so that it refreshes itself.
void Open(QMenu* menu) {
  menu->popup(QPoint(0, 0));
  menu->hide();
}

std::string Text(QAction* a) { return a->text().toStdString(); }

QString MakeFile(const QTemporaryDir& dir, const QString& name, qint64 size = 1) {
  QFile f(dir.filePath(name));
  f.open(QIODevice::WriteOnly);
  f.resize(size);
  return f.fileName();
}

class BootDiskFileMenuBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitDrives();
    BootType = kMotorolaDiskBoot;
    BootDrive = 0;
    BootHalted = false;
    SetCpuRunning(False);
    PowerOnResetDone = False;
    hooks.FocusSink = [this] { ++focusSinks; };
    hooks.ShowNewDisk = [this](int16_t mode) { newDiskModes.push_back(mode); };
    hooks.ShowGetPutBoot = [this] { newDiskModes.push_back(0); };
    menus = new BootDiskFileMenuBar(window.menuBar(), hooks);
  }
  void TearDown() override {
    for (DriveNumber d = 0; d < UsedDrives; ++d) EjectDisk(d);
    CloseDloadFile();
    CloseUloadFile();
  }

  WithApp app;
  ScriptedHost host;
  QTemporaryDir dir;
  QMainWindow window;
  BootDiskFileMenuBar::Hooks hooks;
  BootDiskFileMenuBar* menus = nullptr;
  int focusSinks = 0;
  std::vector<int16_t> newDiskModes;  // the windows shown: new disk by mode, 0 get/put
};

TEST_F(BootDiskFileMenuBarTest, MenuBarOrderAndBootItemsFollowTheRunState) {
  const auto bar = window.menuBar()->actions();
  ASSERT_EQ(bar.size(), 3);
  EXPECT_EQ(bar[0]->text(), "File");
  EXPECT_EQ(bar[1]->text(), "Boot");
  EXPECT_EQ(bar[2]->text(), "Disks");

  Open(menus->mnuBoot);  // before any power-on reset
  EXPECT_FALSE(menus->mnuBo[0]->isEnabled());
  EXPECT_FALSE(menus->mnuBo[1]->isEnabled());
  EXPECT_FALSE(menus->mnuStop->isEnabled());
  menus->mnuBo[0]->trigger();
  EXPECT_TRUE(host.CallsOf(HostCall::Kind::MessageBox).empty());

  PowerOnResetDone = True;
  SetCpuRunning(True);
  Open(menus->mnuBoot);
  EXPECT_TRUE(menus->mnuStop->isEnabled());
  EXPECT_FALSE(menus->mnuBo[0]->isEnabled());
  SetCpuRunning(False);
  Open(menus->mnuBoot);
  EXPECT_TRUE(menus->mnuBo[0]->isEnabled() && menus->mnuBo[1]->isEnabled());
  EXPECT_FALSE(menus->mnuStop->isEnabled() || menus->mnuRUN->isEnabled());
  EXPECT_TRUE(menus->mnuBootDrive[0]->isChecked());

  // Items set the globals; the ticks follow when the menu opens again.
  menus->mnuBootDrive[3]->trigger();
  menus->mnuBootType[2]->trigger();
  menus->mnuBootType[2]->setChecked(false);
  Open(menus->mnuBoot);
  EXPECT_FALSE(menus->mnuBootDrive[0]->isChecked());
  EXPECT_TRUE(menus->mnuBootDrive[3]->isChecked());
  EXPECT_TRUE(menus->mnuBootType[2]->isChecked());
  EXPECT_EQ(BootDrive, 3);
  host.ClearCalls();
  menus->mnuBo[0]->trigger();  // the complex boot does nothing
  menus->mnuBo[1]->trigger();
  EXPECT_TRUE(host.Calls.empty());

  menus->mnuCreateRaw->trigger();
  menus->mnuCreateIMD->trigger();
  menus->mnuGetPutBoot->trigger();
  EXPECT_EQ(newDiskModes, (std::vector<int16_t>{2, 1, 0}));
}

TEST_F(BootDiskFileMenuBarTest, DiskAndFileCaptionsNameTheOpenFiles) {
  Open(menus->mnuDisks);
  EXPECT_EQ(Text(menus->mnuDisk[0]), "Open HD00");
  EXPECT_EQ(Text(menus->mnuDisk[3]), "Open FD03");

  // An IMD image of two tracks of 16 sectors.
  QByteArray imd("IMD 1.18: 07/12/2026 00:00:00\x1A");
  for (int track = 0; track < 2; ++track) {
    imd.append(char(track ? 5 : 2)).append(char(track)).append('\0').append(char(16)).append(char(track));
    for (int s = 1; s <= 16; ++s) imd.append(char(s));
    for (int s = 1; s <= 16; ++s) imd.append('\x02').append('\xE5');
  }
  QFile f(dir.filePath("disk1.imd"));
  f.open(QIODevice::WriteOnly);
  f.write(imd);
  f.close();
  QFile::copy(f.fileName(), dir.filePath("R&D.imd"));
  host.AnswerFile(dir.filePath("disk1.imd").toStdString());
  menus->mnuDisk[0]->trigger();
  host.AnswerFile(dir.filePath("R&D.imd").toStdString());
  menus->mnuDisk[1]->trigger();
  Open(menus->mnuDisks);
  EXPECT_EQ(Text(menus->mnuDisk[0]), "Close HD00 - disk1.imd");
  EXPECT_EQ(Text(menus->mnuDisk[1]), "Close HD01 - R&&D.imd");  // shown as one ampersand
  menus->mnuDisk[0]->trigger();
  Open(menus->mnuDisks);
  EXPECT_EQ(Text(menus->mnuDisk[0]), "Open HD00");

  host.AnswerFile(MakeFile(dir, "dl.bin", 700).toStdString());
  menus->mnuDLOAD->trigger();
  Open(menus->mnuFile);
  EXPECT_EQ(Text(menus->mnuDLOAD), "Close DLOAD - dl.bin");
  EXPECT_EQ(DloadFileLength, 700);
  menus->mnuDLOAD->trigger();
  EXPECT_EQ(focusSinks, 1);

  host.AnswerFile(MakeFile(dir, "up.bin", 10).toStdString(), true);
  menus->mnuUload->trigger();
  Open(menus->mnuFile);
  EXPECT_EQ(Text(menus->mnuDLOAD), "Open DLOAD");
  EXPECT_EQ(Text(menus->mnuUload), "Open ULOAD");
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox).back().Text, "File is read only");
}

// ---- The drop area ----

class PicDropZoneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dropzone.Init();
    DropFormat = 0;
  }
  void TearDown() override { Dropzone.Init(); }

  // A drag carrying the files (as file managers send them: the URL list with a
  // text copy beside it) or only text.
  static QMimeData* Files(const QStringList& paths) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
    data->setUrls(urls);
    data->setText(paths.join(QLatin1Char('\n')));
    return data;
  }
  // Enters and drops; returns whether the area took the drag.
  bool Drop(QMimeData* data) {
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&zone, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&zone, &drop);
    QApplication::processEvents();
    delete data;
    return enter.isAccepted() && drop.isAccepted();
  }
  std::vector<HostCall> Boxes() const { return host.CallsOf(HostCall::Kind::MessageBox); }

  WithApp app;
  ScriptedHost host;
  QTemporaryDir dir;
  picDropZone zone;
};

TEST_F(PicDropZoneTest, ThreeHundredFilesKeep255WithOneBox) {
  QStringList paths;
  for (int i = 0; i < 300; ++i) paths << MakeFile(dir, QString("f%1").arg(i));
  EXPECT_TRUE(Drop(Files(paths)));
  EXPECT_EQ(DropCount, 255);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Text, "Dropped Files Exceeds Maximum Allowed - 255");
  EXPECT_EQ(host.BusyDepth, 0);
}

TEST_F(PicDropZoneTest, FolderAndFilesThenASecondDropReplacesTheList) {
  QDir(dir.path()).mkdir("sub");
  EXPECT_TRUE(Drop(Files({MakeFile(dir, "a.txt"), dir.filePath("sub"), MakeFile(dir, "b.txt", 3)})));
  EXPECT_EQ(DropCount, 2);
  EXPECT_EQ(DropList[1].GuestName, "a.txt");
  EXPECT_EQ(DropList[2].Size, 3);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Title, "Can NOT process directories");

  EXPECT_TRUE(Drop(Files({MakeFile(dir, "c.txt")})));
  EXPECT_EQ(DropCount, 1);
  EXPECT_EQ(DropList[1].GuestName, "c.txt");
}

TEST_F(PicDropZoneTest, DragsWithoutLocalFilesAreNotTaken) {
  EXPECT_TRUE(Drop(Files({MakeFile(dir, "keep.txt")})));
  auto* text = new QMimeData;
  text->setText("a selection from an editor");
  EXPECT_FALSE(Drop(text));
  auto* web = new QMimeData;
  web->setUrls({QUrl("https://example.org/file.txt")});
  EXPECT_FALSE(Drop(web));
  EXPECT_EQ(DropCount, 1);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(PicDropZoneTest, DoubleClickShowsTheListOrItsEmptiness) {
  DropFormat = 4;
  // A mouse of the test's own: the shared primary device would outlive the application.
  const QPointingDevice mouse("test mouse", 1, QInputDevice::DeviceType::Mouse, QPointingDevice::PointerType::Generic,
                              QInputDevice::Capability::Position, 1, 3);
  QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier, &mouse);
  QApplication::sendEvent(&zone, &click);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Text, "Dropzone CPM 68K is Empty");

  DropFormat = 0;
  Drop(Files({MakeFile(dir, "x.bin", 4)}));
  host.AnswerMessage(MsgAnswer::Cancel);  // CANCEL empties the list
  QApplication::sendEvent(&zone, &click);
  EXPECT_EQ(Boxes().back().Title, "Dropzone Generic - CANCEL to EMPTY");
  EXPECT_EQ(DropCount, 0);
}

}  // namespace
}  // namespace korva
