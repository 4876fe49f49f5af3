#pragma once

#include <windows.h>

#include <cstdint>

#include "accessible_part.h"
#include "hostkit/client_area.h"
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
  bool OnSetCursor(WPARAM window, LPARAM hitTest);
  LRESULT OnDpiScaledSize(UINT dpi, SIZE& size);
  void OnDpiChanged(UINT dpi, const RECT& suggested);

  // Takes the client area as it now is: the size the model sees, the box's place and
  // the canvas.
  void FitClient();
  void ToggleFullScreen();
  void EnterFullScreen();
  void LeaveFullScreen();
  void FillMonitor();
  void FillWorkArea();
  // Notes where the pointer is; a move shows it again.
  void NotePointer();
  void HideIdlePointer();

  double PixelRatio() const;

  HWND window_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  ClientArea clientArea_;
  bool fullScreen_ = false;
  // The window as it was before full screen, to go back to.
  DWORD windowedStyle_ = 0;
  WINDOWPLACEMENT windowed_{};
  PointerIdle pointerIdle_;
  POINT pointer_{};
  bool pointerHidden_ = false;
  FireworksModel model_;
  DotCanvas canvas_;
  RandomSource random_;
  Number1 number1_;
  const AccessiblePart::Words fieldWords_;
};

}  // namespace pelmiro
