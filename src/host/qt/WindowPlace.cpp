#include "host/qt/WindowPlace.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <climits>

namespace korva {

namespace {

// Squared distance from p to the rectangle r (0 inside).
long long DistanceSquared(QPoint p, const QRect& r) {
  const long long dx = p.x() < r.left() ? r.left() - p.x() : p.x() > r.right() ? p.x() - r.right() : 0;
  const long long dy = p.y() < r.top() ? r.top() - p.y() : p.y() > r.bottom() ? p.y() - r.bottom() : 0;
  return dx * dx + dy * dy;
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

  void Centre() { pending_ = true, centre_ = true; }
  void At(QPoint at) { pending_ = true, centre_ = false, at_ = at, size_ = window_.size(); }
  // The frame now lies at `frame`, the inside where the window has it.
  void Remember(QPoint frame) { known_ = true, frame_ = frame, inside_ = window_.geometry().topLeft(); }

  // Where the frame lies when the inside lies at `inside`, from the last
  // place known: the frame moves with the inside.
  bool Knows() const { return known_; }
  QPoint FrameFor(QPoint inside) const { return frame_ + (inside - inside_); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != &window_) return false;
    if (event->type() == QEvent::Show && pending_) {
      pending_ = false;
      if (QLayout* layout = window_.layout()) layout->activate();
      if (centre_) {
        if (const QWidget* owner = window_.parentWidget() ? window_.parentWidget()->window() : nullptr) {
          const QSize frame = window_.size().grownBy(FrameEstimate(window_));
          Remember(MoveInside(window_, owner->frameGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2)));
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
  bool pending_ = false, centre_ = false;
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
  const QRect* nearest = nullptr;
  long long best = LLONG_MAX;
  for (const QRect& r : available) {
    if (r.isEmpty()) continue;
    const long long d = DistanceSquared(at, r);
    if (d < best) best = d, nearest = &r;
  }
  if (!nearest) return at;
  const QRect& r = *nearest;
  // A window wider than the area keeps its left end (and its menu) on it; the
  // close box then lies off to the right, as it would for any such window.
  const int x = std::max(r.left(), std::min(at.x(), r.right() + 1 - frame.width()));
  const int y = std::max(r.top(), std::min(at.y(), r.bottom() + 1 - TitleBarAllowance));
  return {x, y};
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

void CentreOnOwnerWhenShown(QWidget& window) { PlacerOf(window).Centre(); }

}  // namespace korva
