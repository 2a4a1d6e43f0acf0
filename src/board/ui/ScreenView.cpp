#include "board/ui/ScreenView.h"

#include <QPaintEvent>
#include <QPainter>

#include <cstring>

namespace korva::ui {

namespace {
using Pixels4 = uint32_t __attribute__((vector_size(16)));
}

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
  uint32_t* const bits = reinterpret_cast<uint32_t*>(picture_.bits());
  const ptrdiff_t line = picture_.bytesPerLine() / 4;
  for (int y = r.top(); y <= r.bottom(); ++y) {
    const uint32_t* __restrict from = image + y * static_cast<ptrdiff_t>(stride) + r.left();
    uint32_t* __restrict to = bits + y * line + r.left();
    int i = 0;
    for (; i + 4 <= width; i += 4) {  // four pixels at a time
      Pixels4 v;
      std::memcpy(&v, from + i, sizeof v);
      v = 0xFF000000u | ((v & 0xFFu) << 16) | (v & 0xFF00u) | ((v >> 16) & 0xFFu);
      std::memcpy(to + i, &v, sizeof v);
    }
    for (; i < width; ++i) to[i] = ToQtColor(from[i]);
  }
  update(r);
}

void ScreenView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  for (const QRect& r : event->region()) painter.drawImage(r.topLeft(), picture_, r);
}

}  // namespace korva::ui
