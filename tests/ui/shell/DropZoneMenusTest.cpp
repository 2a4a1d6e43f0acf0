// The main window's File, Boot and Disks menus and its drop area, offscreen with
// real widgets: menus opened as a user opens them, drops delivered as real drop
// events, the file dialog and message boxes answered by the scripted host.
#include <gtest/gtest.h>

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

#include "cpu/CpuState.h"
#include "cpu/MainLoop.h"
#include "disk/Boot.h"
#include "disk/Drives.h"
#include "disk/Dropzone.h"
#include "shell/BootDrive.h"
#include "shell/ShellSettings.h"
#include "shell/ui/BootDiskFileMenuBar.h"
#include "shell/ui/DropZonePicture.h"
#include "ui/UiTest.h"

namespace korva {
namespace {

using uitest::App;

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
    hooks.ShowNewDisk = [this](int16_t mode) { windowsShown.push_back(mode); };
    hooks.ShowGetPutBoot = [this] { windowsShown.push_back(0); };
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
  std::vector<int16_t> windowsShown;  // the windows shown: new disk by mode, 0 get/put
};

TEST_F(BootDiskFileMenuBarTest, MenusRefreshAsTheyOpenAndItemsReachTheCore) {
  Open(menus->mnuBoot);  // before any power-on reset
  EXPECT_FALSE(menus->mnuBo[0]->isEnabled() || menus->mnuBo[1]->isEnabled() || menus->mnuStop->isEnabled());
  PowerOnResetDone = True;
  menus->mnuBootDrive[3]->trigger();
  menus->mnuBootType[2]->trigger();
  menus->mnuBootType[2]->setChecked(false);
  Open(menus->mnuBoot);
  EXPECT_TRUE(menus->mnuBo[0]->isEnabled() && menus->mnuBo[1]->isEnabled());
  EXPECT_FALSE(menus->mnuBootDrive[0]->isChecked());
  EXPECT_TRUE(menus->mnuBootDrive[3]->isChecked() && menus->mnuBootType[2]->isChecked());

  // A raw winchester of disk type 0 whose name holds an ampersand.
  const QString image = MakeFile(dir, "R&D.raw", 5013504);
  host.AnswerFile(image.toStdString());
  menus->mnuDisk[1]->trigger();
  Open(menus->mnuDisks);
  EXPECT_EQ(Text(menus->mnuDisk[0]), "Open HD00");
  EXPECT_EQ(Text(menus->mnuDisk[1]), "Close HD01 - R&&D.raw");  // shown with one ampersand

  host.AnswerFile(MakeFile(dir, "dl.bin", 700).toStdString());
  menus->mnuDLOAD->trigger();
  Open(menus->mnuFile);
  EXPECT_EQ(Text(menus->mnuDLOAD), "Close DLOAD - dl.bin");
  menus->mnuDLOAD->trigger();
  Open(menus->mnuFile);
  EXPECT_EQ(Text(menus->mnuDLOAD), "Open DLOAD");
  EXPECT_EQ(focusSinks, 1);

  menus->mnuCreateRaw->trigger();
  menus->mnuCreateIMD->trigger();
  menus->mnuGetPutBoot->trigger();
  EXPECT_EQ(windowsShown, (std::vector<int16_t>{2, 1, 0}));
}

// ---- The drop area ----

class DropZonePictureTest : public ::testing::Test {
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
  DropZonePicture zone;
};

TEST_F(DropZonePictureTest, DroppedFilesReplaceTheListUpTo255) {
  QStringList paths;
  for (int i = 0; i < 300; ++i) paths << MakeFile(dir, QString("f%1").arg(i));
  EXPECT_TRUE(Drop(Files(paths)));
  EXPECT_EQ(DropCount, 255);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Text, "Dropped Files Exceeds Maximum Allowed - 255");
  EXPECT_EQ(DropList[255].GuestName, "f254");

  QDir(dir.path()).mkdir("sub");
  EXPECT_TRUE(Drop(Files({MakeFile(dir, "a.txt"), dir.filePath("sub"), MakeFile(dir, "b.txt", 3)})));
  EXPECT_EQ(DropCount, 2);
  EXPECT_EQ(DropList[1].GuestName, "a.txt");
  EXPECT_EQ(DropList[2].Size, 3);
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[1].Title, "Can NOT process directories");
  EXPECT_EQ(host.BusyDepth, 0);
}

TEST_F(DropZonePictureTest, DragsWithoutLocalFilesAreNotTakenAndDoubleClickShowsTheList) {
  auto* text = new QMimeData;
  text->setText("a selection from an editor");
  EXPECT_FALSE(Drop(text));
  auto* web = new QMimeData;
  web->setUrls({QUrl("https://example.org/file.txt")});
  EXPECT_FALSE(Drop(web));
  EXPECT_TRUE(Boxes().empty());

  // A mouse of the test's own: the shared primary device would outlive the application.
  const QPointingDevice mouse("test mouse", 1, QInputDevice::DeviceType::Mouse, QPointingDevice::PointerType::Generic,
                              QInputDevice::Capability::Position, 1, 3);
  QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier, &mouse);
  DropFormat = 4;
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
