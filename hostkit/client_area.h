#pragma once

#include <cstdint>

#include "dot_canvas.h"
#include "window_layout.h"

namespace pelmiro {

// The sky the model sees: the window's client area in logical pixels. It starts at the
// fixed window size and follows full screen and maximise, but keeps its last size while
// the window is minimised and has no client area, so rockets neither burst in the corner
// nor jump when the window comes back.
class ClientArea {
 public:
  // Takes the live client size; an empty one (minimised) leaves the last size as it is.
  void Update(int width, int height) {
    if (width > 0 && height > 0) {
      width_ = width;
      height_ = height;
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

// In full screen nothing but the fireworks should show: the pointer hides once it has
// rested this long, and shows again when it moves.
class PointerIdle {
 public:
  static constexpr std::int32_t HideAfterMs = 2000;

  void Moved(std::int32_t now) { lastMove_ = now; }
  // Differences go through unsigned arithmetic, so a clock that wraps stays right.
  bool Hidden(std::int32_t now) const {
    return static_cast<std::uint32_t>(now) - static_cast<std::uint32_t>(lastMove_) >=
           static_cast<std::uint32_t>(HideAfterMs);
  }

 private:
  std::int32_t lastMove_ = 0;
};

}  // namespace pelmiro
