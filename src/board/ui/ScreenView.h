// The drawing area of the screen window: 800 x 600 pixels showing the merged
// picture of the screen compositor. The view keeps its own QImage; CopyFrom
// brings one changed rectangle of the machine's picture into it, converting
// the machine's 0x00BBGGRR colours to Qt's order there, and schedules a paint
// of that rectangle only.
#pragma once
#include <QImage>
#include <QWidget>

#include <cstdint>

namespace korva::ui {

class ScreenView final : public QWidget {
 public:
  static constexpr int ViewWidth = 800;
  static constexpr int ViewHeight = 600;

  explicit ScreenView(QWidget* parent = nullptr);

  // Copies rect (clipped to the view) of image, whose rows are stride pixels
  // apart, into the view's picture.
  void CopyFrom(const uint32_t* image, int stride, const QRect& rect);
  const QImage& Picture() const { return picture_; }

  // A machine colour 0x00BBGGRR as Qt's 0xAARRGGBB, fully opaque.
  static constexpr uint32_t ToQtColor(uint32_t bgr) {
    return 0xFF000000u | ((bgr & 0xFFu) << 16) | (bgr & 0xFF00u) | ((bgr >> 16) & 0xFFu);
  }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace korva::ui
