#pragma once

#include <QImage>
#include <QRect>
#include <cstdint>

#include "hostkit/dot_canvas.h"

namespace pelmiro {

// The fireworks' canvas as Qt paints it: a QImage over the canvas's own pixels, wrapped
// again only when the canvas made them anew.
class DotSurface {
 public:
  explicit DotSurface(const DotCanvas& canvas) : canvas_(canvas) {}

  const QImage& Image() const;
  // Where the last Finish() changed the picture, in logical pixels: all a window need repaint.
  QRect Changed() const;

  static QRgb ToRgb(std::int32_t colorRef);

 private:
  const DotCanvas& canvas_;
  mutable QImage image_;
};

}  // namespace pelmiro
