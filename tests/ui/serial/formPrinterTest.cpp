// The printer window offscreen with real widgets: its menus, the page view
// with the characters' formats, the Edit commands on the view's selection,
// the status frame, the font dialogs and the close box; the view following a
// page whose oldest lines leave, and its lines kept in shared paragraphs
// looking as lines of their own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFontDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <algorithm>
#include <string>
#include <vector>

#include "host/qt/QtColor.h"
#include "serial/Consoles.h"
#include "serial/MC6821.h"
#include "serial/ui/formPrinter.h"
#include "ui/UiTest.h"

namespace korva {
namespace {

using ui::formPrinter;

class FormPrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    uitest::App();
    ConsoleType = {};
    ui::InstallPrinterWindows();
    ConsoleType[8] = ConsolePrinter;
    OpenConsoles();
    lpt_ = dynamic_cast<formPrinter*>(PrinterForms[8]);
    ASSERT_NE(lpt_, nullptr);
  }
  void TearDown() override {
    DestroyConsoleWindows();
    ConsoleFactories = {};
    ConsoleType = {};
  }
  QAction* Action(const char* name) { return lpt_->findChild<QAction*>(QString::fromLatin1(name)); }
  QMenu* Menu(const char* name) { return lpt_->findChild<QMenu*>(QString::fromLatin1(name)); }
  // The bytes strobed, then the view's refresh (at most every 20 ms) awaited.
  void Print(const std::string& bytes) {
    for (const char c : bytes) lpt_->Outchar(static_cast<uint8_t>(c));
    QCoreApplication::processEvents();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !lpt_->RefreshPending(); }, 1000));
  }
  // The view holds the page: its text, a line break for each CR LF, and each
  // run's colour and weight.
  void ExpectViewIsPage() {
    const PrinterPage& page = lpt_->Page();
    QString text = QString::fromLatin1(page.Text().c_str());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    ASSERT_EQ(lpt_->View()->toPlainText(), text);
    QTextCursor c(lpt_->View()->document());
    size_t at = 0, breaks = 0;
    for (const PrinterPage::Run& r : page.Runs()) {
      const PrinterCharFormat& f = page.FormatOf(r.Format);
      c.setPosition(static_cast<int>(at - breaks + 1));  // the format of the character before
      if (page.Text()[at] != '\r') {
        ASSERT_EQ(c.charFormat().foreground().color(), HostColor(f.Color)) << at;
        ASSERT_EQ(c.charFormat().fontWeight() == QFont::Bold, f.Bold) << at;
      }
      breaks += static_cast<size_t>(std::count(page.Text().begin() + static_cast<std::ptrdiff_t>(at),
                                               page.Text().begin() + static_cast<std::ptrdiff_t>(at + r.Length), '\n'));
      at += r.Length;
    }
  }
  // The end of the page is in sight.
  bool EndShown() {
    QTextCursor end(lpt_->View()->document());
    end.movePosition(QTextCursor::End);
    return lpt_->View()->viewport()->rect().contains(lpt_->View()->cursorRect(end));
  }
  static std::string Lines(int first, int count) {
    std::string out;
    for (int i = first; i < first + count; ++i) {
      out += std::string("\x1B") + static_cast<char>('0' + i % 8) + "line " + std::to_string(i);
      out += i % 3 == 0 ? std::string("\x1B\x02 bold\x1B\x03") : std::string(" plain");
      out += std::string(static_cast<size_t>(i % 40), '.') + "\r";
    }
    return out;
  }
  ScriptedHost host_;
  formPrinter* lpt_ = nullptr;
};

TEST_F(FormPrinterTest, MenusCarryTheirNamesAndCaptions) {
  EXPECT_TRUE(lpt_->isVisible());
  EXPECT_EQ(lpt_->windowTitle(), " DEV8 - LPT");
  const std::vector<std::pair<const char*, const char*>> items = {
      {"mnuReset", "Reset"}, {"mnuFileSaveTXT", "Save as TXT ..."}, {"mnuFileSaveRTF", "Save as RTF ..."},
      {"mnuSaveFont", "Save Font"}, {"mnuPrintToFile", "Print to File ..."}, {"mnuPrintToScreen", "Print to Screen"},
      {"mnuToolsClear", "Clear"}, {"mnuEditCut", "Cut"}, {"mnuEditCopy", "Copy"}, {"mnuEditPaste", "Paste"},
      {"mnuEditDelete", "Delete"}, {"mnuEditSelectAll", "Select All"},
      {"mnuFontNonJob", "All Atributes (NON-JOBS)..."}, {"mnuFontForEdit", "All Atributes (Selection) ..."},
      {"mnuFontForSelection", "Name Only (selection)..."}, {"mnuFontNameOnlyJob", "Name Only (JOBS)"},
      {"mnuFixedFontsOnly", "Fixed Fonts Only"}, {"mnuToolsShowCNTR", "Show Control Characters"},
      {"mnuInHex", "In Hex"}, {"mnuShowLEDs", "Show LEDs"}, {"mnuSendFault", "Send Fault"},
      {"mnuSendAck", "Send ACK"}, {"mnuCRisNewline", "CR"}, {"mnuLFisNewline", "LF"}, {"mnu7bits", "7 bits"},
      {"mnu8bits", "8 bits"}, {"mnuZero", "Zero"}, {"mnuOne", "One"}, {"mnuEven", "Even"}, {"mnuOdd", "Odd"},
      {"mnuHelpPRT", "Help"}, {"mnuOnLine", "Off Line"}};
  for (const auto& [name, caption] : items) {
    QAction* a = Action(name);
    ASSERT_NE(a, nullptr) << name;
    EXPECT_EQ(a->text(), caption) << name;
  }
  QStringList bar;
  for (QAction* a : lpt_->menuBar()->actions()) bar << a->text();
  EXPECT_EQ(bar, QStringList({"Printer", "Edit", "Options", "Settings", "Help", "Off Line"}));

  emit Menu("mnuOptions")->aboutToShow();
  EXPECT_EQ(Action("mnuSetOnLineReturnValue")->text(), "Set On Line Return Value=0x01 ...");
  EXPECT_TRUE(Action("mnuSendAck")->isChecked());
  EXPECT_TRUE(Action("mnuShowLEDs")->isChecked());
  emit Menu("mnuSettings")->aboutToShow();
  EXPECT_TRUE(Action("mnuCRisNewline")->isChecked());
  EXPECT_TRUE(Action("mnu8bits")->isChecked());
  Action("mnuLFisNewline")->trigger();
  EXPECT_EQ(lpt_->ControlTable[10], PaNewline);
  EXPECT_EQ(lpt_->ControlTable[13], PaIgnore);
  emit Menu("mnuFile")->aboutToShow();
  EXPECT_TRUE(Action("mnuPrintToScreen")->isChecked());
  Action("mnuPrintToScreen")->trigger();
  EXPECT_FALSE(lpt_->PrintToScreen);
}

TEST_F(FormPrinterTest, TheSwitchAndTheLamps) {
  auto* lamp = lpt_->findChild<QWidget*>(QStringLiteral("shpInput"));
  ASSERT_NE(lamp, nullptr);
  const int offTop = lpt_->Switch()->y();
  QTest::mouseClick(lpt_->Switch(), Qt::LeftButton);
  EXPECT_EQ(lpt_->IsOnLine(), True);
  EXPECT_EQ(Action("mnuOnLine")->text(), "On Line");
  EXPECT_LT(lpt_->Switch()->y(), offTop);  // slid up
  const QImage shot = lpt_->StatusFrame()->grab().toImage();
  bool green = false;
  for (int y = 0; y < shot.height() && !green; ++y)
    for (int x = 0; x < shot.width(); ++x)
      if (shot.pixelColor(x, y) == QColor(0, 255, 0)) green = true;
  EXPECT_TRUE(green);
  Action("mnuOnLine")->trigger();
  EXPECT_EQ(lpt_->IsOnLine(), False);
  Action("mnuShowLEDs")->trigger();
  EXPECT_FALSE(lpt_->StatusFrame()->isVisible());
}

TEST_F(FormPrinterTest, ThePageShowsFormatsAndEditsFollowTheViewSelection) {
  lpt_->Page().Insertion().Color = RGB(0, 143, 0);
  lpt_->TextColor = RGB(0, 143, 0);
  lpt_->Bold = true;
  Print("AB\rC");
  QTextEdit* view = lpt_->View();
  EXPECT_EQ(view->toPlainText(), "AB\nC");
  QTextCursor c(view->document());
  c.setPosition(1);
  c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
  EXPECT_EQ(c.charFormat().foreground().color(), QColor(0, 143, 0));
  EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);

  // "B" and the line break selected in the view, then cut.
  c.setPosition(1);
  c.setPosition(3, QTextCursor::KeepAnchor);
  view->setTextCursor(c);
  emit Menu("mnuEdit")->aboutToShow();
  EXPECT_TRUE(Action("mnuEditCut")->isEnabled());
  Action("mnuEditCut")->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "B\r\n");
  QCoreApplication::processEvents();
  EXPECT_EQ(lpt_->Page().Text(), "AC");
  EXPECT_EQ(view->toPlainText(), "AC");

  c = view->textCursor();
  c.clearSelection();
  view->setTextCursor(c);
  emit Menu("mnuEdit")->aboutToShow();
  EXPECT_FALSE(Action("mnuEditCopy")->isEnabled());
  EXPECT_TRUE(Action("mnuEditPaste")->isEnabled());
  Print("\x08" "D");  // the guest goes on at the end of the page
  EXPECT_EQ(view->toPlainText(), "AD");
  Action("mnuToolsClear")->trigger();
  QCoreApplication::processEvents();
  EXPECT_EQ(view->toPlainText(), "");
}

TEST_F(FormPrinterTest, TheViewFollowsThePageAsItsOldestLinesLeave) {
  lpt_->Page().SetLimit(6000);
  QTextEdit* view = lpt_->View();
  // Refreshed a few lines at a time: each refresh drops the view's oldest lines.
  for (int i = 0; i < 400; i += 25) {
    Print(Lines(i, 25));
    ASSERT_LE(lpt_->Page().Length(), 6000u);
    ExpectViewIsPage();
    if (HasFatalFailure()) return;
  }
  EXPECT_LT(view->document()->blockCount(), 400 / 8);  // lines share paragraphs
  EXPECT_TRUE(EndShown());
  // More than the page holds between two refreshes: the view shows it anew.
  Print(Lines(400, 300));
  ExpectViewIsPage();
  EXPECT_TRUE(EndShown());

  // A selection in the view from one paragraph into another copies the page's text.
  const std::string& text = lpt_->Page().Text();
  const size_t from = text.find("line 620"), to = text.find("line 690") + 4;
  ASSERT_LT(to, text.size());
  const auto viewPos = [&text](size_t p) {
    const auto breaks = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(p), '\n');
    return static_cast<int>(p - static_cast<size_t>(breaks));
  };
  QTextCursor c(view->document());
  c.setPosition(viewPos(from));
  c.setPosition(viewPos(to), QTextCursor::KeepAnchor);
  ASSERT_NE(view->document()->findBlock(viewPos(from)).blockNumber(),
            view->document()->findBlock(viewPos(to)).blockNumber());
  view->setTextCursor(c);
  Action("mnuEditCopy")->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), text.substr(from, to - from));
}

TEST_F(FormPrinterTest, LinesSharingAParagraphLookAsLinesOfTheirOwn) {
  // Sizes, raised and lowered text, bold, colours, an empty line and a tab.
  Print(std::string("plain\x1B\x14 12 cpi \x1B\x0Eup\x1B\x0F\x1B\x11" "down\x1B\x12\r\r") +
        "\x1B\x02\x1B" "4bold red\x1B\x03\x1B" "0\tafter a tab\r\x1B\x15small\r\x1B\x19job font\x1B\x1C");
  QTextEdit* view = lpt_->View();
  view->resize(400, 200);
  view->setCursorWidth(0);  // no blinking caret in the pictures
  ASSERT_EQ(view->document()->blockCount(), 1);
  const auto shot = [view] {
    view->verticalScrollBar()->setValue(0);
    view->horizontalScrollBar()->setValue(0);
    return view->viewport()->grab().toImage();
  };
  const QImage shared = shot();
  // Each line separator made a paragraph break with the separator's format.
  QTextCursor c(view->document());
  while (!(c = view->document()->find(QString(QChar::LineSeparator), c)).isNull()) {
    const QTextCharFormat f = c.charFormat();
    c.removeSelectedText();
    c.insertBlock(QTextBlockFormat(), f);
  }
  ASSERT_EQ(view->document()->blockCount(), 5);
  EXPECT_EQ(shot(), shared);
}

TEST_F(FormPrinterTest, FontDialogsChangeOnlyWhenAnswered) {
  const PrinterFont before = lpt_->WindowFont;
  uitest::WhenModal([](QWidget* w) { qobject_cast<QFontDialog*>(w)->reject(); });
  Action("mnuFontNonJob")->trigger();
  EXPECT_EQ(lpt_->WindowFont.Name, before.Name);

  // Mode 0: the font, then its colour.
  uitest::WhenModal([](QWidget* w) {
    auto* d = qobject_cast<QFontDialog*>(w);
    QFont f = d->currentFont();
    f.setStrikeOut(true);
    d->setCurrentFont(f);
    d->accept();
    uitest::WhenModal([](QWidget* c) {
      auto* colors = qobject_cast<QColorDialog*>(c);
      colors->setCurrentColor(QColor(1, 2, 3));
      colors->accept();
    });
  });
  Action("mnuFontNonJob")->trigger();
  EXPECT_TRUE(lpt_->WindowFont.Strike);
  EXPECT_EQ(lpt_->ForeColor, RGB(1, 2, 3));
  EXPECT_TRUE(lpt_->Strike);  // outside a job the window font is the print format
  EXPECT_EQ(lpt_->TextColor, RGB(1, 2, 3));

  // Mode 3: the name only.
  uitest::WhenModal([](QWidget* w) { qobject_cast<QFontDialog*>(w)->accept(); });
  lpt_->JobFontName = "nothing";
  Action("mnuFontNameOnlyJob")->trigger();
  EXPECT_NE(lpt_->JobFontName, "nothing");
}

TEST_F(FormPrinterTest, FixedFontsOnlyLimitsTheFontDialogs) {
  const auto families = [this] { return uitest::FontDialogFamilies([this] { Action("mnuFontNonJob")->trigger(); }); };
  ASSERT_FALSE(lpt_->FixedFontsOnly);
  EXPECT_TRUE(families().contains("DejaVu Sans"));
  Action("mnuFixedFontsOnly")->trigger();
  const QStringList fixed = families();
  EXPECT_TRUE(fixed.contains("DejaVu Sans Mono"));
  EXPECT_FALSE(fixed.contains("DejaVu Sans"));
}

TEST_F(FormPrinterTest, TheCloseBoxUnloadsAndKeepsTheEntry) {
  Print("x");
  lpt_->close();
  EXPECT_FALSE(lpt_->isVisible());
  EXPECT_EQ(ConsoleType[8], ConsoleNone);
  EXPECT_EQ(PrinterForms[8], lpt_);
  lpt_->Outchar('y');  // acknowledged, not shown
  EXPECT_EQ(lpt_->View()->toPlainText(), "");
  ConsoleType[8] = ConsolePrinter;
  OpenPrinterConsole(8);
  EXPECT_TRUE(lpt_->isVisible());
  Print("z");
  EXPECT_EQ(lpt_->View()->toPlainText(), "z");
}

}  // namespace
}  // namespace korva
