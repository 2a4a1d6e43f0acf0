// The colours dialog offscreen: the scheme on opening, an edited colour,
// files, OK, Cancel and the close box, and the painted samples.
#include <gtest/gtest.h>

#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <filesystem>

#include "terminal/ui/DialogColors.h"
#include "ui/UiTest.h"

namespace korva {
namespace {

using ui::DialogColors;

// Once a colour dialog is up, choose color in it.
void WhenColorDialog(QColor color) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, color] {
    if (auto* cd = qobject_cast<QColorDialog*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      cd->setCurrentColor(color);
      cd->accept();
    }
  });
  timer->start(5);
}

class DialogColorsTest : public ::testing::Test {
 protected:
  void SetUp() override { uitest::App(); }
  ScriptedHost host;
};

TEST_F(DialogColorsTest, SchemeOnOpeningAndEditedEntry) {
  DialogColors d;
  for (int i = 0; i < 16; ++i) d.ScreenColors(i, 0x102030);
  d.ColorsCode = 4;
  d.ColorsName = "Mine";
  std::string name, shown;
  uitest::WhenModal([&](QWidget*) {
    name = d.NameLabel()->text().toStdString();
    shown = d.Schemes()->currentText().toStdString();
    QTest::mouseClick(d.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
  });
  d.ShowColorConfig();
  EXPECT_EQ(d.Accepted, 1);
  EXPECT_EQ(name, "Green");
  EXPECT_EQ(shown, "Green");
  EXPECT_EQ(d.ScreenColors(15, -1), 0x00FF00);
  EXPECT_EQ(d.CursorColor, 0x00FF00u);

  // White, then entry 3 edited: Custom, the other greys kept.
  d.ColorsCode = 1;
  uitest::WhenModal([&](QWidget*) {
    WhenColorDialog(QColor(1, 2, 3));
    QTest::mouseClick(d.ColorButton(3), Qt::LeftButton);
    name = d.NameLabel()->text().toStdString();
    shown = d.Schemes()->currentText().toStdString();
    // The sample of text colour 3 on background 4.
    const QImage img = d.Samples()->grab().toImage();
    const QRect cell = d.Samples()->CellRect(3, 4);
    bool found = false;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
      for (int x = cell.left(); x <= cell.right(); ++x) found |= img.pixelColor(x, y) == QColor(1, 2, 3);
    EXPECT_TRUE(found);
    EXPECT_EQ(img.pixelColor(cell.topLeft()), QColor(79, 79, 79));
    QTest::mouseClick(d.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
  });
  d.ShowColorConfig();
  EXPECT_EQ(name, "Custom");
  EXPECT_EQ(shown, "Custom");
  EXPECT_EQ(d.ColorsCode, 0);
  EXPECT_EQ(d.ScreenColors(3, -1), 0x030201);
  EXPECT_EQ(d.ScreenColors(4, -1), 0x4F4F4F);
}

TEST_F(DialogColorsTest, CancelAndCloseBoxAfterAnEarlierOK) {
  CrtColorScheme choice;
  choice.ColorsCode = 0;
  choice.ColorsName = "Mine";
  choice.ScreenColors.fill(0x112233);
  choice.CursorColor = 0x445566;
  uitest::WhenModal([&](QWidget* w) {
    auto* d = static_cast<DialogColors*>(w);
    EXPECT_EQ(d->NameLabel()->text(), "Mine");
    EXPECT_EQ(d->ScreenColors(9, -1), 0x112233);
    d->Schemes()->activated(2);
    EXPECT_EQ(d->NameLabel()->text(), "ANSI");
    QTest::mouseClick(d->findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
  });
  EXPECT_FALSE(ui::SelectColors(choice, nullptr));
  EXPECT_EQ(choice.ColorsName, "Mine");

  // The same dialog object: OK once, then a change closed by the frame.
  DialogColors d;
  d.ColorsCode = 2;
  uitest::WhenModal([&](QWidget*) { QTest::mouseClick(d.findChild<QPushButton*>("OKButton"), Qt::LeftButton); });
  d.ShowColorConfig();
  EXPECT_EQ(d.Accepted, 1);
  uitest::WhenModal([&](QWidget*) {
    d.Schemes()->activated(5);
    d.close();
  });
  d.ShowColorConfig();
  EXPECT_EQ(d.Accepted, 0);
  EXPECT_TRUE(host.StoredSetting("ColorConfig", "Top").has_value());
}

TEST_F(DialogColorsTest, LoadFileSetsCustomAndTheFileName) {
  namespace fs = std::filesystem;
  const fs::path path = fs::temp_directory_path() / ("korva-ui-" + std::to_string(::getpid()) + ".clr");
  ColorPalette amber{};
  uint32_t cursor = 0;
  BuildColorScheme(5, amber, cursor);
  ASSERT_TRUE(WriteColorsFile(path.string(), amber, cursor));
  DialogColors d;
  d.ColorsCode = 4;
  host.AnswerFile(path.string());
  uitest::WhenModal([&](QWidget*) {
    QTest::mouseClick(d.findChild<QPushButton*>("cmdLoadFile"), Qt::LeftButton);
    EXPECT_EQ(d.Schemes()->currentText(), "Custom");
    EXPECT_EQ(d.NameLabel()->text().toStdString(), path.filename().string());
    EXPECT_EQ(d.ColorButton(16)->text(), "Cursor");
    QTest::mouseClick(d.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
  });
  d.ShowColorConfig();
  EXPECT_EQ(d.Palette(), amber);
  EXPECT_EQ(d.CursorColor, Rgb(255, 195, 0));
  fs::remove(path);
}

}  // namespace
}  // namespace korva
