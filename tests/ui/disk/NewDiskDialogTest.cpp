// The "Create New Disk" dialog offscreen with real widgets; file dialogs and
// message boxes are answered by the scripted host.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <filesystem>

#include "disk/NewDisk.h"
#include "disk/ui/formNewDisk.h"
#include "ui/UiTest.h"
#include "unit/disk/DiskFiles.h"

namespace korva {
namespace {

namespace fs = std::filesystem;

// Runs act on the dialog opened in mode, then closes it with act's last click.
void WithDialog(int32_t mode, std::function<void(formNewDisk&)> act) {
  uitest::WhenModal([act](QWidget* w) {
    auto* dlg = qobject_cast<formNewDisk*>(w);
    ASSERT_NE(dlg, nullptr);
    act(*dlg);
    if (dlg->isVisible()) dlg->cmdCancel->click();
  });
  ShowNewDisk(mode);
}

uint32_t Fore(const QLineEdit* box) { return box->palette().color(QPalette::Text).rgb() & 0xFFFFFF; }
uint32_t Back(const QLineEdit* box) { return box->palette().color(QPalette::Base).rgb() & 0xFFFFFF; }
constexpr uint32_t kRed = 0xFF0000, kBlack = 0x000000, kWhite = 0xFFFFFF;  // QRgb order

class NewDiskDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    uitest::App();
    BuildNewDiskFormats();  // a new run: the clock boxes' changes are gone
  }
  std::string Path(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)).toStdString(); }

  ScriptedHost host_;
  QTemporaryDir dir_;
};

// Without a stored place the dialog opens centred on the window it belongs to.
TEST_F(NewDiskDialogTest, FirstOpeningIsCentredOnTheOwner) {
  QWidget owner;
  owner.setGeometry(120, 200, 600, 420);
  owner.show();
  QPoint centre;
  uitest::WhenModal([&centre](QWidget* w) {
    centre = w->frameGeometry().center();
    static_cast<formNewDisk*>(w)->cmdCancel->click();
  });
  ShowNewDisk(1, &owner);
  EXPECT_LE((centre - owner.frameGeometry().center()).manhattanLength(), 4);  // halves rounded
}

TEST_F(NewDiskDialogTest, GenericSizeAndFillAreChecked) {
  host_.PresetSetting("NewDisk", "Left", "140");
  WithDialog(2, [](formNewDisk& d) {
    EXPECT_EQ(d.x(), 140);
    EXPECT_TRUE(d.frmCreate[2]->isVisible() && !d.frmCreate[1]->isVisible());
    const struct {
      const char* text;
      uint32_t fore, back;
    } cases[] = {{"129", kRed, kWhite},       {"536871040", kRed, kWhite}, {"", kRed, kRed},
                 {"536870912", kBlack, kWhite}, {"4294967424", kRed, kWhite}};
    for (const auto& c : cases) {
      d.txtDiskSize->setText(c.text);
      EXPECT_EQ(Fore(d.txtDiskSize), c.fore) << c.text;
      EXPECT_EQ(Back(d.txtDiskSize), c.back) << c.text;
    }
    EXPECT_EQ(d.lblDiskSize->text(), "4294967424");  // 2^32 + 128: not taken as 128
    for (const char* fill : {"256", "zz", "", "255"}) {
      d.txtFillByte->setText(fill);
      d.txtDiskSize->setText("100");
      d.cmdCreate->click();
    }
    EXPECT_TRUE(d.isVisible());
  });
  const std::string both = "Error in Input|Bad Disk Size Value\r\nBad Fill Byte Value\r\n";
  EXPECT_EQ(uitest::Boxes(host_), std::vector<std::string>({both, both, both, "Error in Input|Bad Disk Size Value\r\n"}));
  EXPECT_TRUE(host_.FileDialogs.empty());  // nothing was offered for saving
  EXPECT_EQ(host_.StoredSetting("NewDisk", "Left"), "140");
}

TEST_F(NewDiskDialogTest, ClockBoxesActAsOneChoiceForTheRun) {
  const std::string path = Path("row4.imd");
  host_.AnswerFile(path);
  WithDialog(1, [](formNewDisk& d) {
    EXPECT_TRUE(d.chkClock[1]->isChecked());  // row 0 is 300
    d.optDisksIMD[4]->click();
    EXPECT_TRUE(d.chkClock[2]->isChecked());
    d.chkClock[0]->click();
    d.chkClock[0]->click();  // a ticked box stays ticked
    EXPECT_TRUE(d.chkClock[0]->isChecked());
    EXPECT_FALSE(d.chkClock[1]->isChecked() || d.chkClock[2]->isChecked());
    d.txtExtraComments->setPlainText("abc");
    d.cmdCreate->click();
    EXPECT_EQ(d.pbWait->value(), 100);
    d.cmdOK->click();
    EXPECT_EQ(d.DialogResult, 1);
  });
  const std::string image = test::ReadText(path);
  EXPECT_EQ(image.rfind("IMD abc\r\nCreated by Korva Emulator Version ", 0), 0u);
  const size_t track0 = image.find('\x1A') + 1, track1 = track0 + 5 + 26 * 130;  // 26 x 128 on track 0
  EXPECT_EQ(image[track0], 2);
  EXPECT_EQ(image[track1], 5);

  // The change lasts while the program runs, and not into the next run.
  WithDialog(1, [](formNewDisk& d) {
    d.optDisksIMD[4]->click();
    EXPECT_TRUE(d.chkClock[0]->isChecked());
  });
  BuildNewDiskFormats();
  WithDialog(1, [](formNewDisk& d) {
    d.optDisksIMD[4]->click();
    EXPECT_TRUE(d.chkClock[2]->isChecked());
  });
}

TEST_F(NewDiskDialogTest, RawImagesShowTheirCountAndCancelKeepsTheDialog) {
  const std::string generic = Path("generic.img"), typed = Path("cpm86.img");
  for (const std::string& path : {typed, generic, generic}) host_.AnswerFile(path);
  WithDialog(3, [&](formNewDisk& d) {
    d.tsCreate->setCurrentIndex(1);
    d.optDisks[17]->click();
    d.cmdCreate->click();
    EXPECT_EQ(d.lblCount->text(), "2560/327680");

    // Cancel stops the writer after its current block, leaves no file and the dialog stays.
    d.tsCreate->setCurrentIndex(2);
    d.txtDiskSize->setText("64M");
    QTimer::singleShot(0, d.cmdCancel, &QPushButton::click);
    d.cmdCreate->click();
    EXPECT_TRUE(d.isVisible() && d.Cancelled && !d.Busy && d.cmdCreate->isEnabled());
    EXPECT_FALSE(fs::exists(generic));
    // The close box also stops a run, and hides the dialog at once.
    QTimer::singleShot(0, &d, [&d] { d.close(); });
    d.cmdCreate->click();
    EXPECT_FALSE(d.isVisible() || fs::exists(generic));
    EXPECT_EQ(d.DialogResult, 0);

    // The bar keeps its range and value when asked for impossible ones.
    d.SetMinMAx(10, 5);
    EXPECT_EQ(d.pbWait->maximum(), 32767);
    d.SetValue(50);
    d.SetValue(40000);
    EXPECT_EQ(d.pbWait->value(), 50);
  });
  const std::string bytes = test::ReadText(typed);
  EXPECT_EQ(bytes.size(), 327680u);
  EXPECT_EQ(bytes.find_first_not_of('\xE9'), std::string::npos);
  EXPECT_TRUE(uitest::Boxes(host_).empty());
}

TEST_F(NewDiskDialogTest, ExpandRefusesReadOnlyAndReports) {
  const std::string in = Path("in.imd"), out = Path("out.imd");
  std::ofstream(in, std::ios::binary) << "IMX not an image";
  host_.AnswerFile(in, true);
  for (const std::string& path : {out, in, out, in, in}) host_.AnswerFile(path);
  WithDialog(1, [](formNewDisk& d) {
    for (int i = 0; i < 3; ++i) d.mnuECS->trigger();
  });
  const auto boxes = uitest::Boxes(host_);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0], " Read ONLY - IMD file|Must be writable");
  EXPECT_EQ(boxes[1], "Done Proccessing the IMD file| No Magic\r\nBAD ERROR - ABORTED\r\n");
  EXPECT_EQ(boxes[2].rfind(" Error opening - IMD file|", 0), 0u);
  EXPECT_EQ(test::ReadText(in), "IMX not an image");  // expanding onto itself leaves the input alone
}

}  // namespace
}  // namespace korva
