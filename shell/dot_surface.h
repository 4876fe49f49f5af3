#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <cstdint>

#include "hostkit/dot_canvas.h"

namespace pelmiro {

// The off-screen picture the window shows: a QImage over the shared dot canvas's
// pixels, so drawing writes straight into what the painter blits.
class DotSurface {
 public:
  static constexpr double TwipsPerPixel = DotCanvas::TwipsPerPixel;
  static constexpr int MinDotSize = DotCanvas::MinDotSize;
  static constexpr int MaxDotSize = DotCanvas::MaxDotSize;

  DotSurface(QSize logicalSize, qreal devicePixelRatio);

  void Resize(QSize logicalSize, qreal devicePixelRatio);
  void SetDotSize(int logicalPixels) { canvas_.SetDotSize(logicalPixels); }
  int DotSize() const { return canvas_.DotSize(); }

  void Clear() { canvas_.Clear(); }
  void Plot(float xTwips, float yTwips, std::int32_t colorRef) {
    canvas_.Plot(xTwips, yTwips, colorRef);
  }
  bool Finish() { return canvas_.Finish(); }
  // Where the last Finish() changed the picture, in logical pixels: all a window need repaint.
  QRect Changed() const;

  const QImage& Image() const { return image_; }
  const DotCanvas& Canvas() const { return canvas_; }

  static QRgb ToRgb(std::int32_t colorRef);

 private:
  void Wrap();

  DotCanvas canvas_;
  QImage image_;
};

}  // namespace pelmiro
