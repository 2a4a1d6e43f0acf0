#include "board/ui/ScreenView.h"

#include <QPaintEvent>
#include <QPainter>

namespace korva::ui {

ScreenView::ScreenView(QWidget* parent)
    : QWidget(parent), picture_(ViewWidth, ViewHeight, QImage::Format_RGB32) {
  picture_.fill(Qt::black);
  setFixedSize(ViewWidth, ViewHeight);
  // The picture covers every pixel: Qt need not clear the background first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
}

void ScreenView::CopyFrom(const uint32_t* image, int stride, const QRect& rect) {
  const QRect r = rect & picture_.rect();
  if (r.isEmpty()) return;
  const int width = r.width();
  for (int y = r.top(); y <= r.bottom(); ++y) {
    const uint32_t* from = image + static_cast<ptrdiff_t>(y) * stride + r.left();
    auto* to = reinterpret_cast<uint32_t*>(picture_.scanLine(y)) + r.left();
    for (int i = 0; i < width; ++i) to[i] = ToQtColor(from[i]);
  }
  update(r);
}

void ScreenView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  for (const QRect& r : event->region()) painter.drawImage(r.topLeft(), picture_, r);
}

}  // namespace korva::ui
