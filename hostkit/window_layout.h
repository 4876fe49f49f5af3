#pragma once

#include <cstdint>

namespace pelmiro {

// The window every host shows, in logical pixels: the fireworks field, the dot-size box
// in its bottom-left corner, and the timer that redraws them.
struct WindowLayout {
  struct Rect {
    int left, top, width, height;
  };

  static constexpr int ClientWidth = 500;
  static constexpr int ClientHeight = 442;
  static constexpr std::int32_t TimerIntervalMs = 99;

  static constexpr Rect BoxRect{0, 416, 69, 25};
  // The box keeps its size and its gap to the bottom edge when the client area grows.
  static constexpr int BoxBottomGap = ClientHeight - BoxRect.top - BoxRect.height;
  static constexpr Rect BoxRectFor(int clientHeight) {
    return {BoxRect.left, clientHeight - BoxBottomGap - BoxRect.height, BoxRect.width,
            BoxRect.height};
  }
  static constexpr double BoxPointSize = 13.5;
  static constexpr int BoxDecimals = 4;  // the box holds a fixed-point number
  static constexpr char16_t BoxToolTip[] = u"1から100までです。";
};

}  // namespace pelmiro
