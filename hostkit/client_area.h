#pragma once

#include <algorithm>

#include "dot_canvas.h"
#include "window_layout.h"

namespace pelmiro {

// The sky the model sees: the window's client area in logical pixels. It starts at the
// fixed window size and follows full screen and maximise, but keeps its last size while
// the window is minimised and has no client area, so rockets neither burst in the corner
// nor jump when the window comes back.
class ClientArea {
 public:
  // The largest side, in logical pixels: more than any screen has.
  static constexpr int MaxSide = 8192;

  // Takes the live client size; an empty one (minimised) leaves the last size as it is.
  void Update(int width, int height) {
    if (width > 0 && height > 0) {
      width_ = std::min(width, MaxSide);
      height_ = std::min(height, MaxSide);
    }
  }

  int Width() const { return width_; }
  int Height() const { return height_; }
  float WidthTwips() const { return static_cast<float>(width_ * DotCanvas::TwipsPerPixel); }
  float HeightTwips() const { return static_cast<float>(height_ * DotCanvas::TwipsPerPixel); }

 private:
  int width_ = WindowLayout::ClientWidth;
  int height_ = WindowLayout::ClientHeight;
};

// The dots per inch to draw at, from what the system reports. It answers 0 for a window it
// cannot resolve, as while a window is being made; the system's own figure serves then, and
// failing that the standard one, so no reading can divide by zero or scale by nothing.
constexpr unsigned StandardDpi = 96;
constexpr unsigned SoundDpi(unsigned reported, unsigned system) {
  if (reported != 0) {
    return reported;
  }
  return system != 0 ? system : StandardDpi;
}

// Logical pixels on a screen of this many dots per inch, rounded as Windows rounds them.
constexpr int DevicePixels(int logical, unsigned dpi) {
  const long long scaled = static_cast<long long>(logical) * dpi;
  const long long half = StandardDpi / 2;
  return static_cast<int>((scaled + (scaled < 0 ? -half : half)) / StandardDpi);
}

// Device pixels in logical ones, rounded up so that a picture of that size covers them all.
constexpr int LogicalPixels(int device, unsigned dpi) {
  return static_cast<int>((static_cast<long long>(device) * StandardDpi + dpi - 1) / dpi);
}

}  // namespace pelmiro
