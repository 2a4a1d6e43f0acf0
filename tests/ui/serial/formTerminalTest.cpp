// The TTY window offscreen with real widgets: its menus and checks, keys to the
// port, the view of the console's text, the font dialog, the close box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>

#include <string>
#include <vector>

#include "serial/Cable.h"
#include "serial/Consoles.h"
#include "serial/ui/formTerminal.h"
#include "ui/UiTest.h"

namespace korva {
namespace {

using ui::formTerminal;

class FormTerminalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    uitest::App();
    Cable = classCable();
    ConsoleType = {};
    ui::InstallTerminalWindows();
    ConsoleType[0] = ConsoleTTY;
    OpenConsoles();
    tty_ = dynamic_cast<formTerminal*>(TerminalForms[0]);
    ASSERT_NE(tty_, nullptr);
  }
  void TearDown() override {
    DestroyConsoleWindows();
    ConsoleFactories = {};
    ConsoleType = {};
    Cable = classCable();
  }
  QAction* Action(const char* name) { return tty_->findChild<QAction*>(QString::fromLatin1(name)); }
  static std::string Queued() {
    std::string out;
    while (Cable.RXavailable(0)) out += static_cast<char>(Cable.RX(0));
    return out;
  }
  ScriptedHost host_;
  formTerminal* tty_ = nullptr;
};

TEST_F(FormTerminalTest, MenusCarryTheirNamesAndChecksFollowTheConsole) {
  EXPECT_TRUE(tty_->isVisible());
  EXPECT_EQ(tty_->windowTitle(), "DEV0 - TTY");
  const std::vector<std::pair<const char*, const char*>> items = {
      {"mnuToolsClear", "Clear"}, {"mnuPasteInput", "Paste as Input"}, {"mnuFont", "Font ..."},
      {"mnuSetTabs", "Set Tabs ..."}, {"mnuShowCNTR", "Show Control Characters"}, {"mnuInHex", "In Hex"},
      {"mnuOptionsRipCRLFs", "Remove Extra CRLFs"}, {"mnuCRisNewline", "CR"}, {"mnuLFisNewline", "LF"},
      {"mnuNoWrap", "No Wrap"}, {"mnu80Columns", "80 Columns"}, {"mnu132Columns", "132 Columns"},
      {"mnuCustomLineLength", "Custom Line Length ..."}, {"mnu7bits", "7 bits"}, {"mnu8bits", "8 bits"},
      {"mnuZero", "Zero"}, {"mnuOne", "One"}, {"mnuEven", "Even"}, {"mnuOdd", "Odd"}, {"mnuHelpTTY", "Help"},
      {"mnuOnLine", "On Line"}, {"mnuFlushQueue", "Flush Queue"}};
  for (const auto& [name, caption] : items) {
    QAction* a = Action(name);
    ASSERT_NE(a, nullptr) << name;
    EXPECT_EQ(a->text(), caption) << name;
  }
  QStringList bar;
  for (QAction* a : tty_->menuBar()->actions()) bar << a->text();
  EXPECT_EQ(bar, QStringList({"Edit", "Options", "Settings", "Help", "On Line", "Flush Queue"}));

  tty_->LineLength = 100;
  tty_->Parity = 2;
  auto* settings = tty_->findChild<QMenu*>(QStringLiteral("mnuSettings"));
  emit settings->aboutToShow();
  EXPECT_TRUE(Action("mnuCustomLineLength")->isChecked());
  EXPECT_FALSE(Action("mnu80Columns")->isChecked());
  EXPECT_TRUE(Action("mnuEven")->isChecked());
  EXPECT_TRUE(Action("mnuLFisNewline")->isChecked());
  EXPECT_TRUE(Action("mnu8bits")->isChecked());

  Action("mnu132Columns")->trigger();
  Action("mnuCRisNewline")->trigger();
  Action("mnuShowCNTR")->trigger();
  EXPECT_EQ(tty_->LineLength, 132);
  EXPECT_EQ(tty_->NewlineIs, 0);
  EXPECT_TRUE(tty_->ShowCNTR);
  host_.AnswerInput("4");
  Action("mnuSetTabs")->trigger();
  EXPECT_EQ(tty_->TabSpacing, 4);

  Action("mnuOnLine")->trigger();
  EXPECT_EQ(Action("mnuOnLine")->text(), "Off Line");
  EXPECT_EQ(Cable.DCD(0), False);
  EXPECT_EQ(Cable.CTS(0), False);
  Action("mnuOnLine")->trigger();
  EXPECT_EQ(Cable.DCD(0), True);
}

TEST_F(FormTerminalTest, TypedAndPastedKeysReachTheQueueNotTheView) {
  QPlainTextEdit* view = tty_->View();
  QTest::keyClicks(view, "hi\r");
  QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(Queued(), "hi\r\x03");
  EXPECT_EQ(view->toPlainText(), "");

  Action("mnu7bits")->trigger();
  Action("mnuEven")->trigger();
  QTest::keyClicks(view, "C");
  EXPECT_EQ(Queued(), "\xC3");

  QTest::keyPress(view, Qt::Key_Pause);
  EXPECT_EQ(Cable.Break(0), True);
  QTest::keyRelease(view, Qt::Key_Pause);
  EXPECT_EQ(Cable.Break(0), False);

  Action("mnu8bits")->trigger();
  QGuiApplication::clipboard()->setText(QString::fromUtf8("ab\r\nc\u00E9"));
  Action("mnuPasteInput")->trigger();
  EXPECT_EQ(Queued(), "ab\rc\xE9");
  Cable.RX(0, 'z');
  Action("mnuFlushQueue")->trigger();
  EXPECT_EQ(Queued(), "");
}

// Pumps until the view shows text, for at most a second.
bool ViewShows(QPlainTextEdit* view, const QString& text) {
  return QTest::qWaitFor([&] { return view->toPlainText() == text; }, 1000);
}

TEST_F(FormTerminalTest, TheViewShowsTheTextOncePerPump) {
  for (const char c : std::string("hello\n\xE9\nab")) tty_->Outchar(static_cast<uint8_t>(c));
  EXPECT_EQ(tty_->View()->toPlainText(), "");  // not before the pump
  EXPECT_TRUE(ViewShows(tty_->View(), QString::fromUtf8("hello\n\u00E9\nab")));

  // A click puts the caret at the start; a backspace still takes the last character.
  QTextCursor start = tty_->View()->textCursor();
  start.movePosition(QTextCursor::Start);
  tty_->View()->setTextCursor(start);
  tty_->Outchar(8);
  EXPECT_TRUE(ViewShows(tty_->View(), QString::fromUtf8("hello\n\u00E9\na")));
  Action("mnuToolsClear")->trigger();
  EXPECT_TRUE(ViewShows(tty_->View(), ""));
}

TEST_F(FormTerminalTest, FontDialogSavesOnlyWhenAnswered) {
  uitest::WhenModal([](QWidget* w) { qobject_cast<QFontDialog*>(w)->reject(); });
  const QFont before = tty_->View()->font();
  Action("mnuFont")->trigger();
  EXPECT_EQ(tty_->View()->font(), before);
  EXPECT_EQ(host_.StoredSetting("TTY0", "FontName"), std::nullopt);

  uitest::WhenModal([](QWidget* w) {
    auto* d = qobject_cast<QFontDialog*>(w);
    QFont f = d->currentFont();
    f.setPointSize(13);
    d->setCurrentFont(f);
    d->accept();
  });
  Action("mnuFont")->trigger();
  EXPECT_EQ(host_.StoredSetting("TTY0", "FontSize"), "13");
  EXPECT_EQ(host_.StoredSetting("TTY0", "FontBold"), tty_->View()->font().bold() ? "True" : "False");
  EXPECT_EQ(host_.StoredSetting("TTY0", "FontItalic"), tty_->View()->font().italic() ? "True" : "False");
  ASSERT_TRUE(host_.StoredSetting("TTY0", "FontName").has_value());
  EXPECT_EQ(tty_->View()->font().pointSize(), 13);
}

// The TTY's font dialog offers fixed-pitch families only (DejaVu Sans and its
// Mono sibling come with fontconfig on Debian).
TEST_F(FormTerminalTest, FontDialogListsFixedPitchFamiliesOnly) {
  const QStringList families = uitest::FontDialogFamilies([this] { Action("mnuFont")->trigger(); });
  EXPECT_TRUE(families.contains("DejaVu Sans Mono"));
  EXPECT_FALSE(families.contains("DejaVu Sans"));
}

TEST_F(FormTerminalTest, CloseBoxUnloadsAndTheNextOpenUsesTheSavedPlace) {
  tty_->resize(500, 300);
  tty_->close();
  EXPECT_FALSE(tty_->isVisible());
  EXPECT_EQ(ConsoleType[0], ConsoleNone);
  EXPECT_EQ(TerminalForms[0], nullptr);
  EXPECT_EQ(Cable.DCD(0), False);
  EXPECT_EQ(host_.StoredSetting("TTY0", "Width"), "500");
  EXPECT_EQ(host_.StoredSetting("TTY0", "Height"), "300");
  EXPECT_EQ(host_.StoredSetting("TTY0", "WindowState"), "0");

  host_.PresetSetting("TTY0", "Width", "420");
  host_.PresetSetting("TTY0", "FontSize", "17");
  ConsoleType[0] = ConsoleTTY;
  OpenTTYConsole(0);
  EXPECT_TRUE(tty_->isVisible());
  EXPECT_EQ(tty_->width(), 420);
  EXPECT_EQ(tty_->View()->font().pointSize(), 17);
}

}  // namespace
}  // namespace korva
