// The CRT window offscreen with real widgets: menus and captions, keys to the
// port, the painted cells read back with grab(), the clipboard, the custom size,
// the close box's placement keys and one paint for a burst of guest lines.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <string>
#include <vector>

#include "serial/Cable.h"
#include "serial/Consoles.h"
#include "terminal/ui/formCRT.h"
#include "ui/UiTest.h"
#include "ui/terminal/CrtWindowFixture.h"

namespace korva {
namespace {

using ui::formCRT;

// The break line of card 0's channel B (port 1) as the card hears it.
struct BreakLog final : CableCard {
  std::vector<VBool> Breaks;
  void DCDChangedA(VBool) override {}
  void DCDChangedB(VBool) override {}
  void CTSChangedA(VBool) override {}
  void CTSChangedB(VBool) override {}
  void BreakChangedA(VBool) override {}
  void BreakChangedB(VBool s) override { Breaks.push_back(s); }
  void DSRChangedA(VBool) override {}
  void DSRChangedB(VBool) override {}
  void RIChangedA(VBool) override {}
  void RIChangedB(VBool) override {}
};

class FormCRTTest : public CrtWindowFixture {
 protected:
  void Send(const std::string& s) {
    for (const char c : s) crt_->Outchar(static_cast<uint8_t>(c));
  }
  // The screen as drawn, after the pump.
  QImage Shot() {
    QCoreApplication::processEvents();
    return crt_->Screen()->grab().toImage();
  }
  QColor Pixel(const QImage& img, int column, int line, int dx, int dy) {
    return img.pixelColor(column * crt_->CellWidth() + dx, line * crt_->CellHeight() + dy);
  }
  // The families "Font ..." offers.
  QStringList DialogFamilies() {
    return uitest::FontDialogFamilies([this] { Action("mnuFont")->trigger(); });
  }
};

TEST_F(FormCRTTest, MenusAndCaptions) {
  EXPECT_TRUE(crt_->isVisible());
  EXPECT_EQ(crt_->windowTitle(), " DEV1 - CRT");
  EXPECT_EQ(Action("mnuSaveDefKeys")->text(), "Save as Default1.kbd");
  EXPECT_EQ(Action("mnuSaveDefFky")->text(), "Save as Default1.fky");
  EXPECT_EQ(Action("mnuSaveDefTab")->text(), "Save as Default1.tab");
  EXPECT_TRUE(Action("mnuSize80x24")->isChecked());
  EXPECT_TRUE(Action("mnuANSI")->isChecked());
  EXPECT_TRUE(Action("mnuCursorVL")->isChecked());
  EXPECT_TRUE(Action("mnuCursorFront")->isChecked());
  EXPECT_TRUE(Action("mnuFixedFontsOnly")->isChecked());
  EXPECT_TRUE(Action("mnu8bits")->isChecked());
  EXPECT_TRUE(Action("mnuZero")->isChecked());
  EXPECT_EQ(Action("mnuOnLine")->text(), "On Line");
  EXPECT_EQ(Action("mnuInsert")->text(), "Insert");
  Action("mnuInsert")->trigger();
  EXPECT_EQ(Action("mnuInsert")->text(), "Inserting");
  Action("mnuOnLine")->trigger();
  EXPECT_EQ(Action("mnuOnLine")->text(), "Off Line");
  Action("mnuCaret")->trigger();
  EXPECT_TRUE(Action("mnuCaret")->isChecked());
  EXPECT_FALSE(Action("mnuCursorVL")->isChecked());
  // The three dialog items call their hooks with the port.
  int16_t abilities = -1, keys = -1;
  CrtDialogs.EditAbilities = [&](int16_t p) { abilities = p; };
  CrtDialogs.EditKeyDefinitions = [&](int16_t p) { keys = p; };
  Action("mnuTerminalAbilities")->trigger();
  Action("mnuTerminalProperties")->trigger();
  CrtDialogs = {};
  EXPECT_EQ(abilities, 1);
  EXPECT_EQ(keys, 1);
}

TEST_F(FormCRTTest, KeysGoToThePort) {
  QWidget* screen = crt_->Screen();
  screen->setFocus();
  CrtDefinitions[1].NavigationKeys[NavTab][ModShift] = "\x1b[Z";
  QTest::keyClick(screen, Qt::Key_Tab);
  EXPECT_EQ(Queued(), "\t");
  EXPECT_EQ(QApplication::focusWidget(), screen);
  QTest::keyClick(screen, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Queued(), "\x1b[Z");
  QTest::keyClick(screen, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(Queued(), "\x01");
  QTest::keyClick(screen, Qt::Key_A);
  QTest::keyClick(screen, Qt::Key_Return);
  QTest::keyClick(screen, Qt::Key_Backspace);
  EXPECT_EQ(Queued(), "a\r\b");
  QTest::keyClick(screen, Qt::Key_F1, Qt::ShiftModifier);
  EXPECT_EQ(Queued(), CrtDefinitions[1].FunctionKeys[0][ModShift]);

  // A held Pause repeats; the port sees one break and its end.
  BreakLog card;
  Cable.AttachCard(0, &card);
  const auto pause = [&](QEvent::Type type, bool repeat) {
    QKeyEvent e(type, Qt::Key_Pause, Qt::NoModifier, QString(), repeat);
    QApplication::sendEvent(screen, &e);
  };
  pause(QEvent::KeyPress, false);
  for (int i = 0; i < 5; ++i) {
    pause(QEvent::KeyRelease, true);
    pause(QEvent::KeyPress, true);
  }
  pause(QEvent::KeyRelease, false);
  Cable.AttachCard(0, nullptr);
  EXPECT_EQ(card.Breaks, (std::vector<VBool>{True, False}));
}

TEST_F(FormCRTTest, CellsAreDrawnInTheirColours) {
  crt_->Terminal().ScreenColors[7] = 0xC0C0C0;  // light grey text
  crt_->Terminal().ScreenColors[0] = 0x000000;
  crt_->Terminal().CursorColor = 0x0000FF;  // red
  Send("\x1b[2J\x1b[H\x1b[7m \x1b[0m");  // repainted; an inverse blank at column 0
  Action("mnuCursorHL")->trigger();
  QImage img = Shot();
  EXPECT_EQ(Pixel(img, 0, 0, 2, 2), QColor(0xC0, 0xC0, 0xC0));  // text colour as background
  EXPECT_EQ(Pixel(img, 2, 0, 2, 2), QColor(0, 0, 0));
  // Cursor type 2: a red line along the bottom of the cursor cell (column 1).
  const int bottom = crt_->CellHeight() - 1;
  EXPECT_EQ(Pixel(img, 1, 0, 0, bottom), QColor(255, 0, 0));
  EXPECT_EQ(Pixel(img, 1, 0, crt_->CellWidth() - 2, bottom), QColor(255, 0, 0));
  EXPECT_EQ(Pixel(img, 1, 0, 0, bottom - 1), QColor(0, 0, 0));
  // A box around the cell; no cursor at all.
  Action("mnuCursorBox")->trigger();
  img = Shot();
  EXPECT_EQ(Pixel(img, 1, 0, 0, 0), QColor(255, 0, 0));
  Action("mnuCursorNone")->trigger();
  img = Shot();
  EXPECT_EQ(Pixel(img, 1, 0, 0, 0), QColor(0, 0, 0));
  // Cursor type 1 in a large font: a bar one pixel wide on the left edge.
  crt_->close();
  host_.PresetSetting("CRT1", "FontName", "DejaVu Sans Mono");
  host_.PresetSetting("CRT1", "FontSize", "28");
  ConsoleType[1] = ConsoleCRT;
  OpenCRTConsole(1);
  ASSERT_GE(crt_->CellWidth(), 16);
  Action("mnuCursorVL")->trigger();
  img = Shot();
  EXPECT_EQ(Pixel(img, 1, 0, 0, 2), QColor(255, 0, 0));
  EXPECT_EQ(Pixel(img, 1, 0, 1, 2), QColor(0, 0, 0));
}

TEST_F(FormCRTTest, CopyScreenAndCustomSize) {
  Send("abc");
  Action("mnuCopyScreen")->trigger();
  const std::string text = QGuiApplication::clipboard()->text().toStdString();
  ASSERT_EQ(text.size(), 24u * 82u);
  for (size_t l = 0; l < 24; ++l) ASSERT_EQ(text.substr(l * 82 + 80, 2), "\r\n") << l;
  EXPECT_EQ(text.substr(0, 4), "abc ");

  host_.AnswerInput("100");
  host_.AnswerInput("30");
  Action("mnuSizeCustom")->trigger();
  QCoreApplication::processEvents();
  EXPECT_EQ(crt_->Screen()->size(), QSize(100 * crt_->CellWidth(), 30 * crt_->CellHeight()));
  EXPECT_TRUE(Action("mnuSizeCustom")->isChecked());
  EXPECT_FALSE(Action("mnuSize80x24")->isChecked());
  // A frame sized by hand keeps the screen's size.
  crt_->resize(crt_->width() + 50, crt_->height() + 40);
  QCoreApplication::processEvents();
  EXPECT_EQ(CrtDefinitions[1].Columns, 100);
  EXPECT_EQ(CrtDefinitions[1].Lines, 30);

  // In a proportional font a cell is as wide as "N", not as the widest letter.
  crt_->close();
  host_.PresetSetting("CRT1", "FontName", "DejaVu Sans");
  host_.PresetSetting("CRT1", "FontSize", "13.5");
  ConsoleType[1] = ConsoleCRT;
  OpenCRTConsole(1);
  ASSERT_EQ(crt_->ScreenFont().family(), QStringLiteral("DejaVu Sans"));
  EXPECT_DOUBLE_EQ(crt_->ScreenFont().pointSizeF(), 13.5);  // a stored size may hold a fraction
  const QFontMetrics fm(crt_->ScreenFont());
  ASSERT_LT(fm.horizontalAdvance(QLatin1Char('N')), fm.horizontalAdvance(QLatin1Char('W')));
  EXPECT_EQ(crt_->CellWidth(), fm.horizontalAdvance(QLatin1Char('N')));
  EXPECT_EQ(crt_->CellHeight(), fm.height());
}

TEST_F(FormCRTTest, FixedFontsOnlyLimitsTheFontDialog) {
  // The DejaVu families come with fontconfig's own dependencies on Debian.
  ASSERT_TRUE(Action("mnuFixedFontsOnly")->isChecked());
  const QStringList fixed = DialogFamilies();
  EXPECT_TRUE(fixed.contains("DejaVu Sans Mono"));
  EXPECT_FALSE(fixed.contains("DejaVu Sans"));
  for (const QString& family : fixed) EXPECT_TRUE(QFontDatabase::isFixedPitch(family)) << family.toStdString();
  Action("mnuFixedFontsOnly")->trigger();
  const QStringList all = DialogFamilies();
  EXPECT_TRUE(all.contains("DejaVu Sans"));
  EXPECT_TRUE(all.contains("DejaVu Sans Mono"));
}

TEST_F(FormCRTTest, CloseBoxWritesThePlaceOnlyWhenNormal) {
  crt_->move(120, 80);
  crt_->close();
  EXPECT_FALSE(crt_->isVisible());
  EXPECT_EQ(ConsoleType[1], ConsoleNone);
  EXPECT_EQ(host_.StoredSetting("CRT1", "WindowState").value_or(""), "0");
  EXPECT_TRUE(host_.StoredSetting("CRT1", "Top").has_value());

  host_.PresetSetting("CRT1", "Top", "77");
  host_.PresetSetting("CRT1", "WindowState", "2");
  ConsoleType[1] = ConsoleCRT;
  OpenCRTConsole(1);
  EXPECT_TRUE(crt_->isMaximized());
  crt_->close();
  EXPECT_EQ(host_.StoredSetting("CRT1", "WindowState").value_or(""), "2");
  EXPECT_EQ(host_.StoredSetting("CRT1", "Top").value_or(""), "77");
}

TEST_F(FormCRTTest, ABurstOfGuestLinesIsOnePaint) {
  QCoreApplication::processEvents();
  const int64_t before = crt_->Paints();
  for (int i = 0; i < 1000; ++i) Send("line " + std::to_string(i) + "\r\n");
  EXPECT_EQ(crt_->Paints(), before);
  QCoreApplication::processEvents();
  EXPECT_EQ(crt_->Paints(), before + 1);
  EXPECT_EQ(crt_->Terminal().Cell(4, 22).Char, ' ');
  EXPECT_EQ(crt_->Terminal().Cell(5, 22).Char, '9');
}

}  // namespace
}  // namespace korva
