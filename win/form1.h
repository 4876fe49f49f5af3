#pragma once

#include <windows.h>

#include <cstdint>

#include "hostkit/dot_canvas.h"
#include "hostkit/random_source.h"
#include "model/fireworks_model.h"
#include "number1.h"

namespace pelmiro {

// The program's only window. It owns the fireworks, serves as their host (size,
// clock, randomness and drawing) and turns ticks, keys and clicks into model calls.
class Form1 : public ModelHost {
 public:
  explicit Form1(HINSTANCE instance);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Shows the window and starts the timer; returns once the window is closed.
  int Run(int showCommand);

  float ClientWidth() override;
  float ClientHeight() override;
  std::int32_t TickCount() override;
  std::int32_t TimerInterval() override;
  float NextRandom() override;
  void ClearSurface() override;
  void PlotDot(float x, float y, std::int32_t color) override;

  // Clamps the box's value to 1..100 and takes it as the dot size.
  void ApplyDotSize();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  void OnTimer();
  void OnPaint();
  void OnKeyDown(WPARAM virtualKey, LPARAM keyData);
  void OnButtonDown();
  void OnDpiChanged(UINT dpi, const RECT& suggested);

  double PixelRatio() const;

  HWND window_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  FireworksModel model_;
  DotCanvas canvas_;
  RandomSource random_;
  Number1 number1_;
};

}  // namespace pelmiro
