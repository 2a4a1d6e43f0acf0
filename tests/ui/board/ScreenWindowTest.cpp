// The screen window and the on-screen keyboard offscreen with real widgets: host
// keys and clicks reach the keyboard link, the view shows the compositor's
// picture, captions and placement come from the settings.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

#include "board/BoardSettings.h"
#include "board/Keyboard.h"
#include "board/KeyboardDisplay.h"
#include "board/KeyboardForm.h"
#include "board/KeyboardLights.h"
#include "board/ui/HostKeys.h"
#include "board/ui/ScreenView.h"
#include "board/ui/ScreenWindows.h"
#include "board/ui/formKeyboard.h"
#include "board/ui/formKeyboardDisplay.h"
#include "host/qt/QtHost.h"
#include "shell/MainWindowState.h"
#include "shell/Neighbours.h"
#include "cpu/MainLoop.h"
#include "ui/UiTest.h"
#include "ui/board/TestRomScene.h"

namespace korva::ui {
namespace {

class ScreenWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    uitest::App();
    KBPutJumpers = False;
    Keyboard.Down = KeyDownFlags{};
    Keyboard.ResetKeyboard();
  }
  void TearDown() override {
    UnloadKeyboardDisplay();
    UnloadFormKeyboard();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ProfileName.clear();
    KBPutJumpers = True;
  }
  // The key codes queued for the processor since the last call.
  static std::vector<int> Sent() {
    std::vector<int> codes;
    KeyFifo& f = Keyboard.Fifo;
    for (int i = 0; i < f.Count; ++i) codes.push_back(f.Buffer[(f.GetIndex + i) % KeyFifoSize]);
    f.Count = f.PutIndex = f.GetIndex = 0;
    f.Empty = True;
    return codes;
  }
  static formKeyboardDisplay& ScreenWindow() {
    KeyboardDisplayShow(0);
    return *KeyboardDisplayWindow();
  }
  static formKeyboard& OnScreen() {
    ShowFormKeyboard(0);
    return *KeyboardWindow();
  }
  static void Press(QWidget& w, Qt::Key key, bool down, bool autoRepeat = false) {
    QKeyEvent e(down ? QEvent::KeyPress : QEvent::KeyRelease, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(&w, &e);
  }
  ScriptedHost host_;
};

TEST_F(ScreenWindowTest, QtKeysBecomeVirtualKeys) {
  const struct {
    int Key;
    Qt::KeyboardModifiers Mods;
    int VirtualKey;
  } cases[] = {
      {Qt::Key_Exclam, Qt::ShiftModifier, 49}, {Qt::Key_Asterisk, {}, 56}, {Qt::Key_Asterisk, Qt::KeypadModifier, 106},
      {Qt::Key_7, Qt::KeypadModifier, 103},    {Qt::Key_Home, Qt::KeypadModifier, 36}, {Qt::Key_F24, {}, 135},
      {Qt::Key_F25, {}, NoVirtualKey},         {Qt::Key_Adiaeresis, {}, NoVirtualKey},
  };
  for (const auto& c : cases) EXPECT_EQ(VirtualKeyFromQt(c.Key, c.Mods), c.VirtualKey) << std::hex << c.Key;
}

TEST_F(ScreenWindowTest, KeysAndLockLightsReachTheKeyboard) {
  formKeyboardDisplay& w = ScreenWindow();
  auto* other = new QLineEdit(&w);  // something the focus could move to
  other->show();
  w.setFocus();
  QWidget* focus = w.focusWidget();
  QTest::keyClick(&w, Qt::Key_A);
  Press(w, Qt::Key_Shift, true);
  Press(w, Qt::Key_Shift, true, true);  // host repeat: nothing
  Press(w, Qt::Key_Shift, false);
  QTest::keyClick(&w, Qt::Key_VolumeUp);  // no virtual-key code: nothing, not even the unmapped 0
  QTest::keyClick(&w, Qt::Key_Tab);       // Tab reaches the machine and keeps the focus
  QTest::keyClick(&w, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Sent(), (std::vector<int>{25, 8, 31, 21, 8, 21, 31}));
  EXPECT_EQ(w.focusWidget(), focus);
  delete other;

  // Holding Delete: the host sends release and press pairs marked as repeats.
  Press(w, Qt::Key_Delete, true);
  for (int i = 0; i < 3; ++i) Press(w, Qt::Key_Delete, false, true), Press(w, Qt::Key_Delete, true, true);
  Press(w, Qt::Key_Delete, false);
  EXPECT_EQ(Sent(), std::vector<int>{13});

  // The keypad's divide key is a lock with a light and no code.
  QTest::keyClick(&w, Qt::Key_Slash, Qt::KeypadModifier);
  EXPECT_TRUE(Sent().empty());
  QApplication::processEvents();
  EXPECT_EQ(w.shpLights[5]->Shown(), LightOnRGB);

  // Clicking a lock light toggles its lock; lights without a lock key ignore clicks.
  ASSERT_EQ(KeyboardLightRGB[4], LightOnRGB);  // NumLock starts on
  QTest::mouseClick(w.shpLights[4], Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(w.shpLights[4]->Shown(), 0x000080u);  // RGB(128, 0, 0)
  QTest::mouseClick(w.shpLights[0], Qt::LeftButton);
  QTest::mouseClick(w.shpLights[8], Qt::LeftButton);
  EXPECT_EQ(KeyboardLightRGB[0], LightOffRGB);
  EXPECT_TRUE(Sent().empty());
}

// The view against the compositor's picture, every pixel, colours converted.
int Differences(const QImage& shot) {
  int bad = 0;
  for (int y = 0; y < ScreenHeight; ++y)
    for (int x = 0; x < ScreenWidth; ++x)
      if (shot.pixel(x, y) != ScreenView::ToQtColor(ScreenImage[y * ScreenWidth + x])) ++bad;
  return bad;
}

TEST_F(ScreenWindowTest, ViewShowsTheTestRomPicture) {
  formKeyboardDisplay& w = ScreenWindow();
  ASSERT_EQ(test::DrawTestRomScene(host_), "");
  QTemporaryDir dir;
  QtHost qt(dir.path().toStdString());
  SetHost(&qt);
  // The event pumps copy the picture, at the latest one frame interval later.
  for (int i = 0; i < 5000 && !korva::Screen.Dirty().Empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    qt.PumpEvents();
  }
  const QImage shot = w.picScreen->grab().toImage();
  EXPECT_EQ(Differences(shot), 0);
  int red = 0;
  for (int i = 0; i < ScreenPixels; ++i)
    if (ScreenImage[i] == 0x0000FF && shot.pixel(i % ScreenWidth, i / ScreenWidth) == qRgb(255, 0, 0)) ++red;
  EXPECT_GT(red, 1000);  // the ROM's red block

  // What the machine drew is on screen before a key or mouse event is handled.
  ScmDisplayRam[0] = 0x4100;  // a red-on-black blank cell
  korva::Screen.DisplayCharacterOnScreen(0);
  ASSERT_GT(Differences(w.picScreen->grab().toImage()), 0);
  QTest::keyClick(&w, Qt::Key_A);
  EXPECT_EQ(Differences(w.picScreen->grab().toImage()), 0);
  SetHost(&host_);
}

TEST_F(ScreenWindowTest, CaptionsPlacementAndClose) {
  ProfileName = "LAB2";
  host_.PresetSetting("KeyBoardDisplay", "Left", "120");
  host_.PresetSetting("KeyBoardDisplay", "Top", "40");
  host_.PresetSetting("KeyBoard", "Left", "junk");     // unreadable: stays put
  host_.PresetSetting("KeyBoard", "Top", "90000000");  // out of range: stays put
  // Opened as the start-up's settings load opens them.
  InstallBoardWindows();
  KeyboardDisplayForm->KeyboardDisplayShow(0);
  KeyboardFormHook.ShowFormKeyboard(0);
  formKeyboardDisplay& w = *KeyboardDisplayWindow();
  formKeyboard& k = *KeyboardWindow();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Screen/Keyboard - LAB2"));
  EXPECT_EQ(k.windowTitle(), QStringLiteral("Keyboard - LAB2"));
  EXPECT_EQ(w.pos(), QPoint(0, 40));  // as wide as the test screen: its title bar starts at the left edge

  // The close box hides; the window and its state survive.
  ScreenOpened = KeyboardOpened = True;
  w.close();
  k.close();
  EXPECT_FALSE(w.isVisible() || k.isVisible() || ScreenOpened || KeyboardOpened);
  ASSERT_EQ(KeyboardDisplayWindow(), &w);

  // The main window unloads them at the end.
  w.move(200, 100);
  k.move(30, 300);
  korva::UnloadKeyboardDisplay();
  korva::UnloadKeyboardWindow();
  EXPECT_EQ(KeyboardDisplayWindow(), nullptr);
  EXPECT_EQ(host_.StoredSetting("KeyBoardDisplay", "Left"), "200");
  EXPECT_EQ(host_.StoredSetting("KeyBoard", "Top"), "300");
  SetKeyboardDisplayForm(nullptr);
  KeyboardFormHook.ShowFormKeyboard = nullptr;
  korva::UnloadKeyboardDisplay = korva::UnloadKeyboardWindow = nullptr;
}

TEST_F(ScreenWindowTest, OnScreenKeyboardSendsKeysAndSwitchesCaps) {
  formKeyboard& k = OnScreen();
  const auto cap = [&k] { return k.Button(87)->text(); };  // "DCH" with hex caps, "A" with PF caps
  EXPECT_EQ(cap(), QStringLiteral("DCH"));  // after a keyboard reset
  QTest::mouseClick(k.Button(86), Qt::LeftButton);  // "PF"
  EXPECT_EQ(cap(), QStringLiteral("A"));
  QTest::mouseClick(k.Button(86), Qt::RightButton);  // any mouse button
  EXPECT_EQ(cap(), QStringLiteral("DCH"));
  // Holding the mouse on "F13" sends one make code.
  QTest::mousePress(k.Button(69), Qt::LeftButton);
  QTest::qWait(600);
  QTest::mouseRelease(k.Button(69), Qt::LeftButton);
  QTest::keyClick(&k, Qt::Key_ScrollLock);  // host keys typed into the window go the same way
  EXPECT_EQ(Sent(), (std::vector<int>{14, 96, 97, 14}));

  // A new window shows the caps of the lock as it stands; a closed one is no
  // longer told of lock changes.
  UnloadFormKeyboard();
  EXPECT_EQ(OnScreen().Button(87)->text(), QStringLiteral("A"));
  UnloadFormKeyboard();
  Keyboard.ResetKeyboard();
  EXPECT_EQ(OnScreen().Button(87)->text(), QStringLiteral("DCH"));
}

}  // namespace
}  // namespace korva::ui
