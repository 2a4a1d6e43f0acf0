// The main window's File, Boot and Disks menus and its drop area, offscreen with
// real widgets: menus opened as a user opens them, drops delivered as real drop
// events, the file dialog and message boxes answered by the scripted host.
#include <gtest/gtest.h>

#include <QDir>
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
#include "shell/ui/BootDiskFileMenuBar.h"
#include "shell/ui/DropZonePicture.h"
#include "ui/UiTest.h"

namespace korva {
namespace {

// Declared first in a fixture: the application exists before its widgets.
struct WithApp {
  WithApp() { uitest::App(); }
};

QString MakeFile(const QTemporaryDir& dir, const QString& name, qint64 size = 1) {
  QFile f(dir.filePath(name));
  f.open(QIODevice::WriteOnly);
  f.resize(size);
  return f.fileName();
}

TEST(BootDiskFileMenuBarTest, MenusRefreshAsTheyOpenAndItemsReachTheCore) {
  WithApp app;
  ScriptedHost host;
  QTemporaryDir dir;
  QMainWindow window;
  InitDrives();
  BootType = kMotorolaDiskBoot;
  SetCpuRunning(False);
  PowerOnResetDone = False;
  std::vector<int16_t> shown;  // the windows shown: new disk by mode, 0 get/put
  BootDiskFileMenuBar::Hooks hooks;
  hooks.ShowNewDisk = [&shown](int16_t mode) { shown.push_back(mode); };
  hooks.ShowGetPutBoot = [&shown] { shown.push_back(0); };
  int focusSinks = 0;  // an item that opened its file gives the focus back to the window
  hooks.FocusSink = [&focusSinks] { ++focusSinks; };
  auto* menus = new BootDiskFileMenuBar(window.menuBar(), hooks);
  // Opens a menu as a click on the menu bar does, so that it refreshes itself.
  const auto open = [](QMenu* menu) {
    menu->popup(QPoint(0, 0));
    menu->hide();
  };
  open(menus->mnuBoot);  // before any power-on reset
  EXPECT_FALSE(menus->mnuBo[0]->isEnabled() || menus->mnuBo[1]->isEnabled() || menus->mnuStop->isEnabled());
  PowerOnResetDone = True;
  menus->mnuBootDrive[3]->trigger();
  open(menus->mnuBoot);
  EXPECT_TRUE(menus->mnuBo[0]->isEnabled() && menus->mnuBootDrive[3]->isChecked());
  EXPECT_FALSE(menus->mnuBootDrive[0]->isChecked());

  // A raw winchester of disk type 0 whose name holds an ampersand.
  host.AnswerFile(MakeFile(dir, "R&D.raw", 5013504).toStdString());
  menus->mnuDisk[1]->trigger();
  open(menus->mnuDisks);
  EXPECT_EQ(menus->mnuDisk[1]->text(), "Close HD01 - R&&D.raw");  // shown with one ampersand
  EjectDisk(1);

  host.AnswerFile(MakeFile(dir, "dl.bin", 700).toStdString());
  menus->mnuDLOAD->trigger();
  menus->mnuDLOAD->trigger();
  EXPECT_EQ(focusSinks, 1);
  menus->mnuCreateRaw->trigger();
  menus->mnuCreateIMD->trigger();
  menus->mnuGetPutBoot->trigger();
  EXPECT_EQ(shown, (std::vector<int16_t>{2, 1, 0}));
  BootDrive = 0;
  PowerOnResetDone = False;
  CloseDloadFile();
}

class DropZonePictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dropzone.Init();
    DropFormat = 0;
  }
  void TearDown() override { Dropzone.Init(); }

  // A drag carrying the files as file managers send them: the URL list with a text copy.
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

  QDir(dir.path()).mkdir("sub");
  EXPECT_TRUE(Drop(Files({MakeFile(dir, "a.txt"), dir.filePath("sub"), MakeFile(dir, "b.txt", 3)})));
  EXPECT_EQ(DropCount, 2);
  EXPECT_EQ(DropList[2].Size, 3);
  EXPECT_EQ(Boxes().back().Title, "Can NOT process directories");
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
  Drop(Files({MakeFile(dir, "x.bin", 4)}));
  host.AnswerMessage(MsgAnswer::Cancel);  // CANCEL empties the list
  QApplication::sendEvent(&zone, &click);
  EXPECT_EQ(Boxes().back().Title, "Dropzone Generic - CANCEL to EMPTY");
  EXPECT_EQ(DropCount, 0);
}

}  // namespace
}  // namespace korva
