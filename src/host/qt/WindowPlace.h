// Window placement shared by every window: the settings keep a window's outer
// position (the top-left corner of its frame, title bar included), and placing
// a window puts its frame back there, so a save and a load leave it where it
// was. A placement always keeps the whole title bar on the available area of
// a screen, so the window can be grabbed and closed.
#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace korva {

// Room left for a title bar whose height is not known yet (the frame is
// drawn by the window manager once the window is shown).
constexpr int TitleBarAllowance = 32;

// The outer position the settings keep: the frame's top-left corner. While
// the program does not know the window manager's frame (it reaches the
// program a moment after the window shows, and a hidden window may never
// have learnt it), the place the window was last given or seen at, so a
// window closed at once keeps the place it was given rather than its
// inside's.
QPoint FramePosition(const QWidget& window);

// Where a frame of `frame` size wanted at `at` goes: onto the available
// area that lies nearest to `at`, moved no more than needed for the
// frame's top edge and the title bar's width and height to lie on it.
QPoint KeepTitleBarOnScreen(QPoint at, QSize frame, const std::vector<QRect>& available);

// Puts the top-level window's frame at `at` (adjusted as above), shown or not.
void PlaceFrame(QWidget& window, QPoint at);

// A window without a stored place: at every showing that finds it not placed
// yet, it is centred on the window it belongs to, at the size its contents
// take once shown (a dialog whose layout grows as its parts appear would
// otherwise be centred at its smaller size). With `clearTitleBar`, it keeps
// the owner's title bar in sight where it can (CentredOnOwner).
void CentreOnOwnerWhenShown(QWidget& window, bool clearTitleBar = false);

// Where a frame of `frame` size goes centred on its owner's frame `owner`,
// whose title bar is `titleBar` high: kept on the available area, and, when
// centred it would lie over the owner's title bar, just below the title bar
// instead if the area has room for it there.
QPoint CentredOnOwner(const QRect& owner, int titleBar, QSize frame, const std::vector<QRect>& available);

// Where the `cascade`-th window (0 the first) of `frame` size opened beside
// the owner's frame `owner` goes: right of it, else below it, else left of
// it, whichever lies wholly on one available area, each moved down and right
// by `cascade` steps of CascadeStep so that windows opened one after another
// leave each other's title bars in sight. When none fits, just below the
// owner's title bar (`titleBar` high), cascaded the same way.
constexpr int CascadeStep = 24;
QPoint BesideOwner(const QRect& owner, int titleBar, QSize frame, int cascade, const std::vector<QRect>& available);

// The main window, beside which the console windows without a stored place
// open (nullptr: there is none, the window manager places them).
void SetMainWindow(QWidget* main);

// Places a window that has no stored place beside the main window, after the
// console windows already placed so and still shown (BesideOwner).
void PlaceBesideMainWindow(QWidget& window);

}  // namespace korva
