#include "dot_surface.h"

namespace pelmiro {

DotSurface::DotSurface(QSize logicalSize, qreal devicePixelRatio)
    : canvas_(PixelLayout::Argb32, logicalSize.width(), logicalSize.height(), devicePixelRatio) {
  Wrap();
}

void DotSurface::Resize(QSize logicalSize, qreal devicePixelRatio) {
  if (canvas_.Resize(logicalSize.width(), logicalSize.height(), devicePixelRatio)) {
    Wrap();
  }
}

void DotSurface::Wrap() {
  constexpr int BytesPerPixel = 4;
  image_ = QImage(reinterpret_cast<uchar*>(canvas_.Pixels()), canvas_.Width(), canvas_.Height(),
                  canvas_.Width() * BytesPerPixel, QImage::Format_RGB32);
  image_.setDevicePixelRatio(canvas_.Ratio());
}

QRect DotSurface::Changed() const {
  const DeviceRect device = canvas_.Changed();
  const double ratio = canvas_.Ratio();
  return QRectF(device.left / ratio, device.top / ratio, device.width / ratio,
                device.height / ratio)
      .toAlignedRect();
}

QRgb DotSurface::ToRgb(std::int32_t colorRef) {
  return DotCanvas::PixelOf(PixelLayout::Argb32, colorRef);
}

}  // namespace pelmiro
