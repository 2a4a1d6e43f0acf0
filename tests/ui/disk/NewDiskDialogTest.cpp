// The "Create New Disk" dialog offscreen with real widgets; file dialogs and
// message boxes are answered by the scripted host.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>

#include "disk/NewDisk.h"
#include "disk/ui/formNewDisk.h"
#include "host/ScriptedHost.h"

namespace korva {
namespace {

namespace fs = std::filesystem;

QApplication& App() {
  static int argc = 1;
  static char name[] = "korva_ui_tests";
  static char* argv[] = {name, nullptr};
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
  // Never destroyed: Qt's device list, made on the first synthesised pointer
  // event, would be gone before an application object destroyed at exit.
  static auto* app = new QApplication(argc, argv);
  return *app;
}

// Once a modal dialog is up, run act on it.
void WhenModal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      act(w);
    }
  });
  timer->start(5);
}

// Runs act on the dialog opened in mode, then closes it with act's last click.
void WithDialog(int32_t mode, std::function<void(formNewDisk&)> act) {
  WhenModal([act](QWidget* w) {
    auto* dlg = qobject_cast<formNewDisk*>(w);
    ASSERT_NE(dlg, nullptr);
    act(*dlg);
    if (dlg->isVisible()) dlg->cmdCancel->click();
  });
  ShowNewDisk(mode);
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

uint32_t Fore(const QLineEdit* box) { return box->palette().color(QPalette::Text).rgb() & 0xFFFFFF; }
uint32_t Back(const QLineEdit* box) { return box->palette().color(QPalette::Base).rgb() & 0xFFFFFF; }
constexpr uint32_t kRed = 0xFF0000, kBlack = 0x000000, kWhite = 0xFFFFFF;  // QRgb order

class NewDiskDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    BuildNewDiskFormats();  // a new run: the clock boxes' changes are gone
    dir_ = fs::temp_directory_path() / ("korva-newdiskui-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::vector<std::string> Messages() const {
    std::vector<std::string> m;
    for (const HostCall& c : host_.CallsOf(HostCall::Kind::MessageBox)) m.push_back(c.Title + "|" + c.Text);
    return m;
  }

  ScriptedHost host_;
  fs::path dir_;
};

TEST_F(NewDiskDialogTest, RawTabShowsTypesAndRefusesABadGenericSize) {
  host_.PresetSetting("NewDisk", "Top", "120");
  host_.PresetSetting("NewDisk", "Left", "140");
  WithDialog(2, [this](formNewDisk& d) {
    EXPECT_EQ(d.windowTitle(), "Create New Disk");
    EXPECT_EQ(d.pos(), QPoint(140, 120));
    EXPECT_EQ(d.CurrentTab, 2);
    EXPECT_EQ(d.tsCreate->currentIndex(), 1);
    EXPECT_TRUE(d.frmCreate[2]->isVisible());
    EXPECT_FALSE(d.frmCreate[1]->isVisible());
    EXPECT_EQ(d.optDisks[0]->text(), "5 MB Sector Data Only CHS(306,2,32) (256 BPS)");
    EXPECT_EQ(d.optDisks[17]->text(), "5.25 CPM86 320K Sector Data Only CHS(40,2,8) (512 BPS)");
    EXPECT_TRUE(d.optDisks[0]->isChecked());
    EXPECT_EQ(d.lblDiskSize->text(), "1474560");
    EXPECT_EQ(d.lblFillByte->text(), "229");
    EXPECT_EQ(d.DiskSize, 1474560);

    struct Case {
      const char* text;
      uint32_t fore, back;
    } cases[] = {{"100", kRed, kWhite},       {"129", kRed, kWhite},       {"536871040", kRed, kWhite},
                 {"", kRed, kRed},            {"128", kBlack, kWhite},     {"536870912", kBlack, kWhite},
                 {"$80", kBlack, kWhite},     {"99999999999999", kRed, kWhite}};
    for (const Case& c : cases) {
      d.txtDiskSize->setText(c.text);
      EXPECT_EQ(Fore(d.txtDiskSize), c.fore) << c.text;
      EXPECT_EQ(Back(d.txtDiskSize), c.back) << c.text;
    }
    EXPECT_EQ(d.lblDiskSize->text(), "99999999999999");
    for (const char* fill : {"256", "-1", "zz", ""}) {
      d.txtFillByte->setText(fill);
      d.txtDiskSize->setText("100");
      d.cmdCreate->click();
    }
    d.txtFillByte->setText("255");
    d.cmdCreate->click();
    EXPECT_TRUE(d.isVisible());
  });
  const std::string both = "Error in Input|Bad Disk Size Value\r\nBad Fill Byte Value\r\n";
  EXPECT_EQ(Messages(), std::vector<std::string>({both, both, both, both, "Error in Input|Bad Disk Size Value\r\n"}));
  EXPECT_TRUE(host_.FileDialogs.empty());  // nothing was offered for saving
  EXPECT_EQ(host_.StoredSetting("NewDisk", "Left"), "140");
  EXPECT_EQ(host_.StoredSetting("NewDisk", "WindowState"), "0");
}

TEST_F(NewDiskDialogTest, ClockBoxesActAsOneChoiceForTheRun) {
  const std::string path = Path("row4.imd");
  host_.AnswerFile(path);
  WithDialog(1, [](formNewDisk& d) {
    EXPECT_EQ(d.CurrentTab, 1);
    EXPECT_EQ(d.optDisksIMD[4]->text(), "Korva VersaDOS 5.25 96TPI DSHD (256x26,T0=128x26)");
    EXPECT_TRUE(d.chkClock[1]->isChecked());  // row 0 is 300
    d.optDisksIMD[4]->click();
    EXPECT_TRUE(d.chkClock[2]->isChecked());
    d.chkClock[0]->click();
    d.chkClock[0]->click();  // a ticked box stays ticked
    EXPECT_TRUE(d.chkClock[0]->isChecked());
    EXPECT_FALSE(d.chkClock[1]->isChecked() || d.chkClock[2]->isChecked());
    d.txtExtraComments->setPlainText("abc");
    d.cmdCreate->click();
    EXPECT_TRUE(d.cmdCreate->isEnabled());
    EXPECT_EQ(d.pbWait->value(), 100);
    d.cmdOK->click();
    EXPECT_EQ(d.DialogResult, 1);
  });
  const std::string image = Slurp(path);
  EXPECT_EQ(image.rfind("IMD abc\r\nCreated by Korva Emulator Version ", 0), 0u);
  size_t p = image.find('\x1A') + 1;
  std::vector<int> modes;
  while (p + 5 <= image.size()) {
    const auto n = static_cast<uint8_t>(image[p + 3]);
    modes.push_back(image[p]);
    p += 5 + n + n * (1 + (128u << image[p + 4]));
  }
  EXPECT_EQ(p, image.size());
  ASSERT_EQ(modes.size(), 160u);
  EXPECT_EQ(modes[0], 2);
  EXPECT_EQ(std::count(modes.begin(), modes.end(), 5), 159);

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

TEST_F(NewDiskDialogTest, CancelStopsTheWriterAndTheDialogStays) {
  const std::string path = Path("big.img");
  host_.AnswerFile(path);
  host_.AnswerFile(path);
  WithDialog(3, [&path](formNewDisk& d) {
    d.txtDiskSize->setText("64M");
    d.txtFillByte->setText("$4E");
    QTimer::singleShot(0, d.cmdCancel, &QPushButton::click);
    d.cmdCreate->click();
    EXPECT_TRUE(d.Cancelled);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.DialogResult, 0);
    EXPECT_FALSE(d.Busy);
    EXPECT_FALSE(fs::exists(path));

    // The close box also stops a run, and hides the dialog at once.
    QTimer::singleShot(0, &d, [&d] { d.close(); });
    d.cmdCreate->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_FALSE(fs::exists(path));
    const QStringList count = d.lblCount->text().split('/');
    ASSERT_EQ(count.size(), 2);
    EXPECT_EQ(count[0].toLongLong() * 128, count[1].toLongLong());
  });
  EXPECT_TRUE(Messages().empty());
}

TEST_F(NewDiskDialogTest, ImagesThroughTheProgressPath) {
  const std::string generic = Path("generic.img"), typed = Path("cpm86.img");
  host_.AnswerFile(generic);
  host_.AnswerFile(typed);
  double seconds = 0;
  WithDialog(3, [&](formNewDisk& d) {
    d.txtDiskSize->setText("64M");
    const auto t0 = std::chrono::steady_clock::now();
    d.cmdCreate->click();
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_EQ(d.lblCount->text(), "524288/67108864");
    EXPECT_EQ(d.pbWait->value(), 100);

    d.tsCreate->setCurrentIndex(1);
    EXPECT_EQ(d.CurrentTab, 2);
    d.optDisks[17]->click();
    d.cmdCreate->click();
    EXPECT_EQ(d.lblCount->text(), "2560/327680");

    // The bar keeps its range and value when asked for impossible ones.
    d.SetMinMAx(10, 5);
    EXPECT_EQ(d.pbWait->maximum(), 32767);
    d.SetMinMAx(0, 100);
    d.SetValue(50);
    d.SetValue(101);
    EXPECT_EQ(d.pbWait->value(), 50);
  });
  EXPECT_EQ(fs::file_size(generic), 67108864u);
  const std::string bytes = Slurp(typed);
  EXPECT_EQ(bytes.size(), 327680u);
  EXPECT_EQ(bytes.find_first_not_of('\xE9'), std::string::npos);
  std::cout << "[ measure  ] 64 MB generic raw image through the dialog: " << seconds << " s\n";
}

TEST_F(NewDiskDialogTest, ExpandRefusesReadOnlyAndReports) {
  const std::string in = Path("in.imd"), out = Path("out.imd");
  std::ofstream(in, std::ios::binary) << "IMX not an image";
  host_.AnswerFile(in, true);
  host_.AnswerFile(out);
  host_.AnswerFile(in);
  host_.AnswerFile(out);
  host_.AnswerFile(in);
  host_.AnswerFile(in);
  WithDialog(1, [](formNewDisk& d) {
    for (int i = 0; i < 3; ++i) d.mnuECS->trigger();
  });
  const auto boxes = Messages();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0], " Read ONLY - IMD file|Must be writable");
  EXPECT_EQ(boxes[1], "Done Proccessing the IMD file| No Magic\r\nBAD ERROR - ABORTED\r\n");
  EXPECT_EQ(boxes[2].rfind(" Error opening - IMD file|", 0), 0u);
  EXPECT_EQ(Slurp(in), "IMX not an image");  // expanding onto itself leaves the input alone
  ASSERT_EQ(host_.FileDialogs.size(), 6u);
  EXPECT_FALSE(host_.FileDialogs[0].Save);
  EXPECT_TRUE(host_.FileDialogs[1].Save);
}

}  // namespace
}  // namespace korva
