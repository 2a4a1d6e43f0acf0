// The get/put boot window and the boot-string dialog offscreen with real
// widgets; message boxes and settings go to the scripted host.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "disk/Boot.h"
#include "disk/DiskSettings.h"
#include "disk/ui/dialogBoot.h"
#include "disk/ui/formGetPutBoot.h"
#include "shell/BootDrive.h"
#include "ui/UiTest.h"
#include "unit/disk/DiskFiles.h"

namespace korva {
namespace {

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

class BootWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    uitest::App();
    InitDrives();
    GetPutBootLoadAddress = 0x10000;
    GetPutBootBlocks = 2;
    GetPutBootLSN = 0x20;
  }
  void TearDown() override {
    UnloadGetPutBoot();
    SetBootStringDialog(nullptr);
  }
  ScriptedHost host_;
};

TEST_F(BootWindowsTest, GetPutFieldsAreCheckedAndOnlyOkHandsThemOver) {
  host_.PresetSetting("GetPutBoot", "Left", "44");
  WithGetPut([](formGetPutBoot& f) {
    EXPECT_EQ(f.x(), 44);
    EXPECT_EQ(f.txtLoadAddress->text(), "$10000");
    f.txtDisk->setText("01");
    f.txtLoadAddress->setText("$1000000");
    EXPECT_TRUE(Red(f.txtDisk) && Red(f.txtLoadAddress));
    f.cmdOKButton->click();
    f.cmdReadFromDisk->click();
    EXPECT_TRUE(f.isVisible());
    f.txtDisk->setText("fd02");
    f.txtLoadAddress->setText("$FFFFFF");
    EXPECT_FALSE(Red(f.txtDisk) || Red(f.txtLoadAddress));
    f.cmdSaveSettings->click();
    f.cmdCancelButton->click();
  });
  const std::string both =
      "Error in Input|Bad Disk, must be HD00,HD01,FD02,FD03 (or 0-3)\r\nBad Address, must be 0 > Address < $FFFFFF\r\n";
  EXPECT_EQ(uitest::Boxes(host_), std::vector<std::string>({both, both}));
  EXPECT_EQ(host_.StoredSetting("GetPutBoot", "LoadAddress"), "16777215");  // Save stores, Cancel keeps the program's
  EXPECT_EQ(GetPutBootLoadAddress, 0x10000);

  WithGetPut([](formGetPutBoot& f) {
    EXPECT_EQ(f.txtDisk->text(), "FD02");
    f.txtBlocks->setText("$10");
    f.cmdOKButton->click();
    EXPECT_FALSE(f.isVisible());
  });
  EXPECT_EQ(GetPutBootBlocks, 16);
  // After that OK, a Save and then the close box hand nothing over.
  WithGetPut([](formGetPutBoot& f) {
    f.txtBlocks->setText("$20");
    f.cmdSaveSettings->click();
    f.close();
  });
  EXPECT_EQ(GetPutBootBlocks, 16);
  EXPECT_EQ(host_.StoredSetting("GetPutBoot", "Blocks"), "32");
}

TEST_F(BootWindowsTest, GetPutButtonsMoveSectorsBetweenMemoryAndTheImage) {
  test::TestMachine m;
  SetHost(&host_);  // the machine installed its own silent host
  test::TempFolder dir;
  DriveTable[1].FilePath = test::WriteSparse(dir, "hd.img", 256256);
  InsertDisk(1);
  ASSERT_TRUE(DriveTable[1].Mounted);
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
  for (uint32_t i = 0; i < 512; ++i) ASSERT_EQ(m.ReadByte(0x2000 + i), static_cast<uint8_t>(i * 7)) << i;
  EXPECT_TRUE(uitest::Boxes(host_).empty());
}

TEST_F(BootWindowsTest, BootStringDialogReturnsTheTextAndOkOnly) {
  InstallBootStringDialog();
  BootDrive = 2;
  host_.PresetSetting("dlBoot", "Left", "70");
  std::string text;
  WhenModal([](QWidget* w) {
    auto* d = qobject_cast<dialogBoot*>(w);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->x(), 70);
    EXPECT_TRUE(d->lblMessage->text().startsWith("Input <Boot String> for BO 2,0,<Boot String>\n"));
    d->comboBootString->setCurrentIndex(3);
    d->cmdOKButton->click();
  });
  EXPECT_TRUE(BootStringDialog->ShowBoot(text));
  EXPECT_EQ(text, "9100.Korvan.VERSADOS.SY");

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
}

}  // namespace
}  // namespace korva
