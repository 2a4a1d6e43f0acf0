// The get/put boot window and the boot-string dialog offscreen with real
// widgets; message boxes and settings go to the scripted host.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cstdio>

#include "disk/Boot.h"
#include "disk/DiskSettings.h"
#include "disk/Drives.h"
#include "disk/ui/dialogBoot.h"
#include "disk/ui/formGetPutBoot.h"
#include "disk/ui/formNewDisk.h"
#include "shell/BootDrive.h"
#include "ui/UiTest.h"
#include "support/TestMachine.h"

namespace korva {
namespace {

using uitest::App;
using uitest::WhenModal;

// Opens the window from the menu and runs act on it.
void WithGetPut(std::function<void(formGetPutBoot&)> act) {
  WhenModal([act](QWidget* w) {
    auto* form = qobject_cast<formGetPutBoot*>(w);
    ASSERT_NE(form, nullptr);
    act(*form);
    if (form->isVisible()) form->cmdCancelButton->click();
  });
  ShowGetPutBoot();
}

bool Red(const QLineEdit* box) { return box->palette().color(QPalette::Text) == QColor(255, 0, 0); }
bool Black(const QLineEdit* box) { return box->palette().color(QPalette::Text) == QColor(0, 0, 0); }

class BootWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    InitDrives();
    GetPutBootLoadAddress = 0x10000;
    GetPutBootBlocks = 2;
    GetPutBootLSN = 0x20;
    AlternateBootPC = 0x400;
    AlternateBootSP = 0x8000;
  }
  void TearDown() override {
    UnloadGetPutBoot();
    SetBootStringDialog(nullptr);
  }
  ScriptedHost host_;
};

TEST_F(BootWindowsTest, FieldsColourAsTheyChangeAndBadOnesAreListed) {
  WithGetPut([](formGetPutBoot& f) {
    EXPECT_EQ(f.txtLoadAddress->text(), "$10000");
    EXPECT_EQ(f.txtStartLSN->text(), "$20");
    EXPECT_EQ(f.txtDisk->text(), "HD00");
    for (QLineEdit* box : {f.txtLoadAddress, f.txtBlocks, f.txtStartLSN, f.txtAlternateBootPC}) {
      for (const char* bad : {"$1000000", "-1", "", "1x"}) {
        box->setText(bad);
        EXPECT_TRUE(Red(box)) << bad;
      }
      box->setText("$FFFFFF");
      EXPECT_TRUE(Black(box));
    }
    f.txtDisk->setText("hd01");
    EXPECT_TRUE(Black(f.txtDisk));
    f.txtDisk->setText("01");
    EXPECT_TRUE(Red(f.txtDisk));
    f.txtLoadAddress->setText("$1000000");
    f.cmdOKButton->click();
    f.cmdSaveSettings->click();
    f.cmdReadFromDisk->click();
    EXPECT_TRUE(f.isVisible());
  });
  const std::string both =
      "Error in Input|Bad Disk, must be HD00,HD01,FD02,FD03 (or 0-3)\r\nBad Address, must be 0 > Address < $FFFFFF\r\n";
  EXPECT_EQ(uitest::Boxes(host_), std::vector<std::string>({both, both, both}));
  EXPECT_EQ(host_.BusyDepth, 0);
  EXPECT_EQ(GetPutBootLoadAddress, 0x10000);
  EXPECT_FALSE(host_.StoredSetting("GetPutBoot", "LoadAddress"));
}

TEST_F(BootWindowsTest, SaveThenCancelChangesTheStoreOnlyAndOkTheProgram) {
  host_.PresetSetting("GetPutBoot", "Top", "33");
  host_.PresetSetting("GetPutBoot", "Left", "44");
  WithGetPut([](formGetPutBoot& f) {
    EXPECT_EQ(f.pos(), QPoint(44, 33));
    f.txtDisk->setText("fd02");
    f.txtLoadAddress->setText("$FFFFFF");
    f.txtAlternateBootPC->setText("4096");
    f.cmdSaveSettings->click();
    EXPECT_TRUE(f.isVisible());
    f.cmdCancelButton->click();
    EXPECT_EQ(f.DialogResult, 0);
  });
  EXPECT_EQ(host_.StoredSetting("GetPutBoot", "Disk"), "2");
  EXPECT_EQ(host_.StoredSetting("GetPutBoot", "LoadAddress"), "16777215");
  EXPECT_EQ(host_.StoredSetting("AlternateBoot", "AlternateBootPC"), "4096");
  EXPECT_EQ(GetPutBootLoadAddress, 0x10000);
  EXPECT_EQ(AlternateBootPC, 0x400);

  // The disk stays as chosen; OK hands the values to the program.
  WithGetPut([](formGetPutBoot& f) {
    EXPECT_EQ(f.txtDisk->text(), "FD02");
    f.txtBlocks->setText("$10");
    f.cmdOKButton->click();
    EXPECT_FALSE(f.isVisible());
  });
  EXPECT_EQ(GetPutBootBlocks, 16);
  EXPECT_EQ(GetPutBootLoadAddress, 0x10000);

  // After that OK, a Save and then the close box hand nothing over.
  WithGetPut([](formGetPutBoot& f) {
    f.txtBlocks->setText("$20");
    f.cmdSaveSettings->click();
    f.close();
  });
  EXPECT_EQ(GetPutBootBlocks, 16);
  EXPECT_EQ(host_.StoredSetting("GetPutBoot", "Blocks"), "32");
  EXPECT_EQ(host_.StoredSetting("GetPutBoot", "Left"), "44");
}

TEST_F(BootWindowsTest, SectorsMoveBetweenMemoryAndAnImageTheNewDiskDialogMade) {
  test::TestMachine m;
  SetHost(&host_);  // the machine installed its own silent host
  const std::string path = ::testing::TempDir() + "korva-getput-" + std::to_string(::getpid()) + ".img";
  host_.AnswerFile(path);
  WhenModal([](QWidget* w) {
    auto* d = qobject_cast<formNewDisk*>(w);
    d->optDisks[17]->click();
    d->cmdCreate->click();
    d->cmdOK->click();
  });
  ShowNewDisk(2);
  DriveTable[1].FilePath = path;
  InsertDisk(1);
  ASSERT_TRUE(DriveTable[1].Mounted);  // after the mount's questions about the blank image
  host_.ClearCalls();
  for (uint32_t i = 0; i < 512; ++i) m.WriteByte((0xFFFF80 + i) & 0xFFFFFF, static_cast<uint8_t>(i * 7));
  WithGetPut([](formGetPutBoot& f) {
    f.txtDisk->setText("HD01");
    f.txtLoadAddress->setText("$FFFF80");  // the run wraps to address 0
    f.txtBlocks->setText("2");
    f.txtStartLSN->setText("5");
    f.cmdWriteToDisk->click();
    f.txtLoadAddress->setText("$2000");
    f.cmdReadFromDisk->click();
  });
  EjectDisk(1);
  std::remove(path.c_str());
  for (uint32_t i = 0; i < 512; ++i) ASSERT_EQ(m.ReadByte(0x2000 + i), static_cast<uint8_t>(i * 7)) << i;
  EXPECT_TRUE(uitest::Boxes(host_).empty());
}

TEST_F(BootWindowsTest, BootStringDialogOffersPresetsAndReturnsTheText) {
  InstallBootStringDialog();
  BootDrive = 2;
  host_.PresetSetting("dlBoot", "Left", "70");
  std::string text;
  QStringList presets;
  WhenModal([&presets](QWidget* w) {
    auto* d = qobject_cast<dialogBoot*>(w);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), "Boot");
    EXPECT_EQ(d->x(), 70);
    EXPECT_TRUE(d->lblMessage->text().startsWith("Input <Boot String> for BO 2,0,<Boot String>\n"));
    EXPECT_TRUE(d->lblMessage->text().endsWith("\n  example: 0.Korvan.VERSADOS.SY;L=$10000,H"));
    EXPECT_EQ(d->comboBootString->currentText(), "");
    for (int i = 0; i < d->comboBootString->count(); ++i) presets << d->comboBootString->itemText(i);
    d->comboBootString->setCurrentIndex(3);
    d->cmdOKButton->click();
  });
  EXPECT_TRUE(BootStringDialog->ShowBoot(text));
  EXPECT_EQ(text, "9100.Korvan.VERSADOS.SY");
  EXPECT_EQ(presets, QStringList({"0.&.VERSADOS.SY", "0.Korvan.VERSADOS.SY", "9100.&.VERSADOS.SY",
                                  "9100.Korvan.VERSADOS.SY", "0.Korva.KBD.SY", "0.Korva.RAM.SY", "0.Korva.SCM.SY",
                                  "0.Korva.WDC.SY", "0.Korva.MVME400.SY", "0.Korva.MVME410.SY"}));

  // Cancel and the close box give the text as typed, and no OK; each showing starts empty.
  WhenModal([](QWidget* w) {
    auto* d = qobject_cast<dialogBoot*>(w);
    EXPECT_EQ(d->comboBootString->currentText(), "");
    d->comboBootString->lineEdit()->setText("0.MINE.SYS;H");
    d->cmdCancelButton->click();
  });
  EXPECT_FALSE(BootStringDialog->ShowBoot(text));
  EXPECT_EQ(text, "0.MINE.SYS;H");
  WhenModal([](QWidget* w) {
    qobject_cast<dialogBoot*>(w)->comboBootString->lineEdit()->setText("typed");
    w->close();
  });
  EXPECT_FALSE(BootStringDialog->ShowBoot(text));
  EXPECT_EQ(text, "typed");
  EXPECT_EQ(host_.StoredSetting("dlBoot", "Left"), "70");
}

}  // namespace
}  // namespace korva
