#include "dot_surface.h"

namespace pelmiro {

const QImage& DotSurface::Image() const {
  constexpr int BytesPerPixel = 4;
  const auto* pixels = reinterpret_cast<const uchar*>(canvas_.Pixels());
  if (image_.constBits() != pixels || image_.width() != canvas_.Width() ||
      image_.height() != canvas_.Height() || image_.devicePixelRatio() != canvas_.Ratio()) {
    image_ = QImage(pixels, canvas_.Width(), canvas_.Height(), canvas_.Width() * BytesPerPixel,
                    QImage::Format_RGB32);
    image_.setDevicePixelRatio(canvas_.Ratio());
  }
  return image_;
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
