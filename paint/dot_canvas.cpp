#include "dot_canvas.h"

#include <algorithm>
#include <cmath>

namespace pelmiro {
namespace {

int DeviceLength(int logical, double ratio) {
  return static_cast<int>(std::lround(logical * ratio));
}

}  // namespace

DotCanvas::DotCanvas(PixelLayout layout, int logicalWidth, int logicalHeight,
                     double devicePixelRatio)
    : layout_(layout), black_(PixelOf(0)) {
  Resize(logicalWidth, logicalHeight, devicePixelRatio);
}

bool DotCanvas::Resize(int logicalWidth, int logicalHeight, double devicePixelRatio) {
  const int width = std::max(0, DeviceLength(logicalWidth, devicePixelRatio));
  const int height = std::max(0, DeviceLength(logicalHeight, devicePixelRatio));
  if (width == width_ && height == height_ && devicePixelRatio == ratio_ && !pixels_.empty()) {
    return false;
  }
  width_ = width;
  height_ = height;
  ratio_ = devicePixelRatio;
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), black_);
  BuildSpans();
  return true;
}

void DotCanvas::SetDotSize(int logicalPixels) {
  const int size = std::clamp(logicalPixels, MinDotSize, MaxDotSize);
  if (size != dotSize_) {
    dotSize_ = size;
    BuildSpans();
  }
}

void DotCanvas::BuildSpans() {
  devicePixels_ = std::max(1, DeviceLength(dotSize_, ratio_));
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

void DotCanvas::Clear() {
  std::fill(pixels_.begin(), pixels_.end(), black_);
}

void DotCanvas::Plot(float xTwips, float yTwips, std::int32_t colorRef) {
  const double cx = xTwips / TwipsPerPixel * ratio_;
  const double cy = yTwips / TwipsPerPixel * ratio_;
  // Anything that cannot touch the picture (NaN included) draws nothing; past this
  // test every value fits an int.
  const double reach = devicePixels_ + 1.0;
  if (!(cx > -reach && cx < width_ + reach && cy > -reach && cy < height_ + reach)) {
    return;
  }
  const int left = static_cast<int>(std::floor(cx)) - devicePixels_ / 2;
  const int top = static_cast<int>(std::floor(cy)) - devicePixels_ / 2;
  const std::uint32_t pixel = PixelOf(colorRef);
  const int firstRow = std::max(0, -top);
  const int lastRow = std::min(devicePixels_, height_ - top);
  for (int row = firstRow; row < lastRow; ++row) {
    const int begin = std::max(0, left + spans_[row].begin);
    const int end = std::min(width_, left + spans_[row].end);
    if (begin < end) {
      std::uint32_t* line = pixels_.data() + static_cast<std::size_t>(top + row) * width_;
      std::fill(line + begin, line + end, pixel);
    }
  }
}

}  // namespace pelmiro
