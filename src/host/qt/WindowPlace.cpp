#include "host/qt/WindowPlace.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMargins>
#include <QScreen>
#include <QWidget>

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

QMargins FrameOf(const QWidget& w) {
  const QRect outer = w.frameGeometry(), inner = w.geometry();
  return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
          outer.bottom() - inner.bottom()};
}

bool Framed(const QWidget& w) { return !FrameOf(w).isNull(); }

// The frame a window that has none yet will get: the one of its owner, or of
// another framed window (the window manager draws them all alike).
QMargins FrameEstimate(const QWidget& window) {
  if (const QWidget* owner = window.parentWidget() ? window.parentWidget()->window() : nullptr)
    if (Framed(*owner)) return FrameOf(*owner);
  for (const QWidget* w : QApplication::topLevelWidgets())
    if (w != &window && w->isVisible() && Framed(*w)) return FrameOf(*w);
  return {};
}

// Moves a window whose frame is not known yet (created, but not framed by the
// window manager): the position the window system takes is the inside's.
void MoveInside(QWidget& window, QPoint frameAt) {
  const QMargins m = FrameEstimate(window);
  const QSize frame = window.size().grownBy(m);
  window.move(KeepTitleBarOnScreen(frameAt, frame, AvailableAreas()) + QPoint(m.left(), m.top()));
}

// Places its window again when it shows, once the layout has given the size
// the shown contents take: a window whose size grows at the showing would
// otherwise keep a place worked out for its smaller size, or be put there as
// if the place were its inside's.
class PlaceOnShow final : public QObject {
 public:
  explicit PlaceOnShow(QWidget& window) : QObject(&window), window_(window) { window.installEventFilter(this); }

  void Centre() { pending_ = true, centre_ = true; }
  void At(QPoint at) { pending_ = true, centre_ = false, at_ = at, size_ = window_.size(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != &window_ || event->type() != QEvent::Show || !pending_) return false;
    pending_ = false;
    if (QLayout* layout = window_.layout()) layout->activate();
    if (centre_) {
      const QWidget* owner = window_.parentWidget() ? window_.parentWidget()->window() : nullptr;
      if (!owner) return false;  // the window system places it
      const QSize frame = window_.size().grownBy(FrameEstimate(window_));
      MoveInside(window_, owner->frameGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
    } else if (window_.size() != size_ && !Framed(window_)) {
      MoveInside(window_, at_);
    }
    return false;
  }

 private:
  QWidget& window_;
  bool pending_ = false, centre_ = false;
  QPoint at_;
  QSize size_;
};

PlaceOnShow& PlacerOf(QWidget& window) {
  for (QObject* child : window.children())
    if (auto* p = dynamic_cast<PlaceOnShow*>(child)) return *p;
  return *new PlaceOnShow(window);
}

}  // namespace

QPoint FramePosition(const QWidget& window) { return window.frameGeometry().topLeft(); }

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
  if (Framed(window)) {  // the frame is known: a move places it
    window.move(KeepTitleBarOnScreen(at, window.frameGeometry().size(), AvailableAreas()));
    return;
  }
  if (window.testAttribute(Qt::WA_WState_Created)) {
    MoveInside(window, at);
  } else {
    // Not created yet: the native window is made with the frame's position,
    // and the window manager puts the frame there. The window takes its size
    // first: sizing it at the showing, after the move, would lose that.
    if (!window.testAttribute(Qt::WA_Resized)) window.adjustSize();
    window.move(KeepTitleBarOnScreen(at, window.size().grownBy(FrameEstimate(window)), AvailableAreas()));
  }
  PlacerOf(window).At(at);
}

void CentreOnOwnerWhenShown(QWidget& window) { PlacerOf(window).Centre(); }

}  // namespace korva
