#include "dot_surface.h"

#include <algorithm>
#include <cmath>

namespace pelmiro {
namespace {
constexpr QRgb Black = 0xFF000000;
}

DotSurface::DotSurface(QSize logicalSize, qreal devicePixelRatio) {
  Resize(logicalSize, devicePixelRatio);
}

void DotSurface::Resize(QSize logicalSize, qreal devicePixelRatio) {
  const QSize device = logicalSize * devicePixelRatio;
  if (!image_.isNull() && image_.size() == device &&
      image_.devicePixelRatio() == devicePixelRatio) {
    return;
  }
  image_ = QImage(device, QImage::Format_RGB32);
  image_.setDevicePixelRatio(devicePixelRatio);
  image_.fill(Black);
  BuildSpans();
}

void DotSurface::SetDotSize(int logicalPixels) {
  const int size = std::clamp(logicalPixels, MinDotSize, MaxDotSize);
  if (size != dotSize_) {
    dotSize_ = size;
    BuildSpans();
  }
}

void DotSurface::BuildSpans() {
  devicePixels_ = std::max(1, static_cast<int>(std::lround(dotSize_ * image_.devicePixelRatio())));
  const double radius = devicePixels_ / 2.0;
  spans_.resize(devicePixels_);
  for (int row = 0; row < devicePixels_; ++row) {
    // A pixel belongs to the dot when its centre lies inside the circle.
    const double dy = row + 0.5 - radius;
    const double half = std::sqrt(std::max(0.0, radius * radius - dy * dy));
    const int begin = static_cast<int>(std::ceil(radius - half - 0.5));
    const int end = static_cast<int>(std::floor(radius + half - 0.5)) + 1;
    spans_[row] = {std::max(0, begin), std::min(devicePixels_, std::max(begin, end))};
  }
}

void DotSurface::Clear() {
  image_.fill(Black);
}

QRgb DotSurface::ToRgb(std::int32_t colorRef) {
  constexpr std::int32_t Byte = 0xFF;
  return qRgb(colorRef & Byte, (colorRef >> 8) & Byte, (colorRef >> 16) & Byte);
}

void DotSurface::Plot(float xTwips, float yTwips, std::int32_t colorRef) {
  const double ratio = image_.devicePixelRatio();
  const double cx = xTwips / TwipsPerPixel * ratio;
  const double cy = yTwips / TwipsPerPixel * ratio;
  const int width = image_.width();
  const int height = image_.height();
  // Anything that cannot touch the picture (NaN included) draws nothing; past this
  // test every value fits an int.
  const double reach = devicePixels_ + 1.0;
  if (!(cx > -reach && cx < width + reach && cy > -reach && cy < height + reach)) {
    return;
  }
  const int left = static_cast<int>(std::floor(cx)) - devicePixels_ / 2;
  const int top = static_cast<int>(std::floor(cy)) - devicePixels_ / 2;
  const QRgb rgb = ToRgb(colorRef);
  const int firstRow = std::max(0, -top);
  const int lastRow = std::min(devicePixels_, height - top);
  uchar* bits = image_.bits();
  const qsizetype stride = image_.bytesPerLine();
  for (int row = firstRow; row < lastRow; ++row) {
    const int begin = std::max(0, left + spans_[row].begin);
    const int end = std::min(width, left + spans_[row].end);
    if (begin < end) {
      auto* line = reinterpret_cast<QRgb*>(bits + (top + row) * stride);
      std::fill(line + begin, line + end, rgb);
    }
  }
}

}  // namespace pelmiro
