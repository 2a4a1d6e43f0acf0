#include "host/qt/WindowPlace.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMargins>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <climits>

namespace korva {

namespace {

QPointer<QWidget> mainWindow;

// Cascade steps tried for a window opened beside the main window before the
// last one is taken even though a shown window sits there.
constexpr int kCascades = 10;

// What a frame not known yet is taken to add around a window when the room
// it needs is reckoned: rather too much than too little.
const QMargins kFrameGuess(4, TitleBarAllowance, 4, 4);

// Squared distance from p to the rectangle r (0 inside).
long long DistanceSquared(QPoint p, const QRect& r) {
  const long long dx = p.x() < r.left() ? r.left() - p.x() : p.x() > r.right() ? p.x() - r.right() : 0;
  const long long dy = p.y() < r.top() ? r.top() - p.y() : p.y() > r.bottom() ? p.y() - r.bottom() : 0;
  return dx * dx + dy * dy;
}

const QRect* NearestArea(QPoint p, const std::vector<QRect>& available) {
  const QRect* nearest = nullptr;
  long long best = LLONG_MAX;
  for (const QRect& r : available) {
    if (r.isEmpty()) continue;
    const long long d = DistanceSquared(p, r);
    if (d < best) best = d, nearest = &r;
  }
  return nearest;
}

std::vector<QRect> AvailableAreas() {
  std::vector<QRect> available;
  for (const QScreen* s : QGuiApplication::screens()) available.push_back(s->availableGeometry());
  return available;
}

// The frame the window manager drew around the window, as far as the program
// knows it. The widget learns its frame only while it is shown; its native
// window keeps what the window manager said, also once hidden.
QMargins KnownMargins(const QWidget& w) {
  const QRect outer = w.frameGeometry(), inner = w.geometry();
  const QMargins m(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                   outer.bottom() - inner.bottom());
  if (!m.isNull() || !w.isWindow() || !w.testAttribute(Qt::WA_WState_Created)) return m;
  const QWindow* native = w.windowHandle();
  return native ? native->frameMargins() : QMargins();
}

bool Framed(const QWidget& w) { return !KnownMargins(w).isNull(); }

// The frame a window that has none yet will get: the one of its owner, or of
// another framed window (the window manager draws them all alike).
QMargins FrameEstimate(const QWidget& window) {
  if (const QWidget* owner = window.parentWidget() ? window.parentWidget()->window() : nullptr)
    if (Framed(*owner)) return KnownMargins(*owner);
  for (const QWidget* w : QApplication::topLevelWidgets())
    if (w != &window && w->isVisible() && Framed(*w)) return KnownMargins(*w);
  return {};
}

// The frame's margins for reckoning room: known, estimated or guessed.
QMargins RoomMargins(const QWidget& w) {
  if (const QMargins m = KnownMargins(w); !m.isNull()) return m;
  if (const QMargins m = FrameEstimate(w); !m.isNull()) return m;
  return kFrameGuess;
}

QRect FrameRect(const QWidget& w) { return QRect(FramePosition(w), w.size().grownBy(RoomMargins(w))); }

// Puts a created window's inside at `inside`, whatever frame the widget takes
// itself to have: a move places the frame by that idea, which may differ from
// the margins used here (a window hidden before it learnt its frame).
void SetInside(QWidget& window, QPoint inside) {
  window.move(inside - (window.geometry().topLeft() - window.pos()));
}

// Moves a window whose frame is not known yet (created, but not framed by the
// window manager): the position the window system takes is the inside's.
// Gives the frame's place taken.
QPoint MoveInside(QWidget& window, QPoint frameAt) {
  const QMargins m = FrameEstimate(window);
  const QPoint at = KeepTitleBarOnScreen(frameAt, window.size().grownBy(m), AvailableAreas());
  SetInside(window, at + QPoint(m.left(), m.top()));
  return at;
}

// Keeps the place its window was given or last seen at with its frame, and
// places the window again when it shows, once the layout has given the size
// the shown contents take: a window whose size grows at the showing would
// otherwise keep a place worked out for its smaller size, or be put there as
// if the place were its inside's.
class Placer final : public QObject {
 public:
  explicit Placer(QWidget& window) : QObject(&window), window_(window) { window.installEventFilter(this); }

  void Centre(bool clearTitleBar) { pending_ = true, centre_ = true, clearTitleBar_ = clearTitleBar; }
  void At(QPoint at) { pending_ = true, centre_ = false, at_ = at, size_ = window_.size(); }
  // The frame now lies at `frame`, the inside where the window has it.
  void Remember(QPoint frame) { known_ = true, frame_ = frame, inside_ = window_.geometry().topLeft(); }

  // Where the frame lies when the inside lies at `inside`, from the last
  // place known: the frame moves with the inside.
  bool Knows() const { return known_; }
  QPoint FrameFor(QPoint inside) const { return frame_ + (inside - inside_); }

  // Placed beside the main window, at this place.
  bool Beside = false;
  QPoint BesideAt;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != &window_) return false;
    if (event->type() == QEvent::Show && pending_) {
      pending_ = false;
      if (QLayout* layout = window_.layout()) layout->activate();
      if (centre_) {
        if (const QWidget* owner = window_.parentWidget() ? window_.parentWidget()->window() : nullptr) {
          // Frames as known or estimated; with none known there is no title
          // bar to keep in sight (no window manager draws one).
          const QMargins m = Framed(*owner) ? KnownMargins(*owner) : FrameEstimate(*owner);
          const QRect ownerFrame(FramePosition(*owner), owner->size().grownBy(m));
          const QSize frame = window_.size().grownBy(FrameEstimate(window_));
          const int titleBar = clearTitleBar_ ? m.top() : 0;
          Remember(MoveInside(window_, CentredOnOwner(ownerFrame, titleBar, frame, AvailableAreas())));
        }  // else the window system places it
      } else if (window_.size() != size_ && !Framed(window_)) {
        Remember(MoveInside(window_, at_));
      }
    }
    if ((event->type() == QEvent::Show || event->type() == QEvent::Move) && window_.isVisible()) {
      const QMargins m = KnownMargins(window_);
      if (!m.isNull()) Remember(window_.geometry().topLeft() - QPoint(m.left(), m.top()));
    }
    return false;
  }

 private:
  QWidget& window_;
  bool pending_ = false, centre_ = false, clearTitleBar_ = false;
  QPoint at_;
  QSize size_;
  bool known_ = false;
  QPoint frame_, inside_;
};

const Placer* FindPlacer(const QWidget& window) {
  for (const QObject* child : window.children())
    if (const auto* p = dynamic_cast<const Placer*>(child)) return p;
  return nullptr;
}

Placer& PlacerOf(QWidget& window) {
  if (const Placer* p = FindPlacer(window)) return *const_cast<Placer*>(p);
  return *new Placer(window);
}

}  // namespace

QPoint FramePosition(const QWidget& window) {
  const QPoint inside = window.geometry().topLeft();
  const QMargins m = KnownMargins(window);
  if (!m.isNull()) return inside - QPoint(m.left(), m.top());
  if (const Placer* p = FindPlacer(window); p && p->Knows()) return p->FrameFor(inside);
  return window.frameGeometry().topLeft();
}

QPoint KeepTitleBarOnScreen(QPoint at, QSize frame, const std::vector<QRect>& available) {
  const QRect* nearest = NearestArea(at, available);
  if (!nearest) return at;
  const QRect& r = *nearest;
  // A window wider than the area keeps its left end (and its menu) on it; the
  // close box then lies off to the right, as it would for any such window.
  const int x = std::max(r.left(), std::min(at.x(), r.right() + 1 - frame.width()));
  const int y = std::max(r.top(), std::min(at.y(), r.bottom() + 1 - TitleBarAllowance));
  return {x, y};
}

QPoint CentredOnOwner(const QRect& owner, int titleBar, QSize frame, const std::vector<QRect>& available) {
  QPoint at = KeepTitleBarOnScreen(owner.center() - QPoint(frame.width() / 2, frame.height() / 2), frame, available);
  const QRect* area = NearestArea(owner.center(), available);
  const QRect ownerTitle(owner.left(), owner.top(), owner.width(), titleBar);
  const int below = owner.top() + titleBar;
  if (area && titleBar > 0 && QRect(at, frame).intersects(ownerTitle) && below >= area->top() &&
      below + frame.height() <= area->bottom() + 1)
    at.setY(below);
  return at;
}

QPoint BesideOwner(const QRect& owner, int titleBar, QSize frame, int cascade, const std::vector<QRect>& available) {
  const int step = cascade * CascadeStep;
  // Right and below cascade away from the owner, left cascades leftwards.
  const QPoint tries[] = {QPoint(owner.right() + 1 + step, owner.top() + step),
                          QPoint(owner.left() + step, owner.bottom() + 1 + step),
                          QPoint(owner.left() - frame.width() - step, owner.top() + step)};
  for (const QPoint& t : tries)
    for (const QRect& a : available)
      if (a.contains(QRect(t, frame))) return t;
  return KeepTitleBarOnScreen(QPoint(owner.left() + step, owner.top() + titleBar + step), frame, available);
}

void PlaceFrame(QWidget& window, QPoint at) {
  Placer& placer = PlacerOf(window);
  const QMargins m = KnownMargins(window);
  if (!m.isNull()) {  // the frame is known: the inside goes where it leaves the frame at `at`
    const QPoint frameAt = KeepTitleBarOnScreen(at, window.size().grownBy(m), AvailableAreas());
    SetInside(window, frameAt + QPoint(m.left(), m.top()));
    placer.Remember(frameAt);
    return;
  }
  if (window.testAttribute(Qt::WA_WState_Created)) {
    placer.Remember(MoveInside(window, at));
  } else {
    // Not created yet: the native window is made with the frame's position,
    // and the window manager puts the frame there. The window takes its size
    // first: sizing it at the showing, after the move, would lose that.
    if (!window.testAttribute(Qt::WA_Resized)) window.adjustSize();
    const QPoint frameAt = KeepTitleBarOnScreen(at, window.size().grownBy(FrameEstimate(window)), AvailableAreas());
    window.move(frameAt);
    placer.Remember(frameAt);
  }
  placer.At(at);
}

void CentreOnOwnerWhenShown(QWidget& window, bool clearTitleBar) { PlacerOf(window).Centre(clearTitleBar); }

void SetMainWindow(QWidget* main) { mainWindow = main; }

void PlaceBesideMainWindow(QWidget& window) {
  QWidget* main = mainWindow.data();
  if (!main || main == &window) return;  // the window manager places it
  // The places of the windows opened beside the main window and still shown.
  std::vector<QPoint> taken;
  for (const QWidget* w : QApplication::topLevelWidgets())
    if (w != &window && w->isVisible())
      if (const Placer* p = FindPlacer(*w); p && p->Beside) taken.push_back(p->BesideAt);
  const QRect owner = FrameRect(*main);
  const int titleBar = RoomMargins(*main).top();
  const QSize frame = window.size().grownBy(RoomMargins(window));
  const std::vector<QRect> areas = AvailableAreas();
  QPoint at;
  for (int k = 0; k < kCascades; ++k) {
    at = BesideOwner(owner, titleBar, frame, k, areas);
    if (std::find(taken.begin(), taken.end(), at) == taken.end()) break;
  }
  PlaceFrame(window, at);
  Placer& placer = PlacerOf(window);
  placer.Beside = true;
  placer.BesideAt = at;
}

}  // namespace korva
