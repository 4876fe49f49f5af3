#pragma once

#include <windows.h>

#include <cstdint>

#include "accessible_part.h"
#include "hostkit/fireworks_show.h"
#include "hostkit/input_rules.h"
#include "number1.h"

namespace pelmiro {

// The program's only window. It shows the fireworks and passes its ticks, keys, clicks and
// box commits to them by the rules every host shares.
class Form1 {
 public:
  explicit Form1(HINSTANCE instance);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Shows the window and starts the timer; returns once the window is closed.
  int Run(int showCommand);

  // Clamps the box's value to 1..100 and takes it as the dot size.
  void ApplyDotSize();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  void OnTimer();
  void OnPaint();
  // Passes a key to the rules; says whether it is spent.
  bool PressKey(WPARAM virtualKey, LPARAM keyData, KeysAt at);
  void CarryOut(const Outcome& outcome);
  bool OnSetCursor(WPARAM window, LPARAM hitTest);
  LRESULT OnDpiScaledSize(UINT dpi, SIZE& size);
  void OnDpiChanged(UINT dpi, const RECT& suggested);

  // Takes the client area as it now is: the size the model sees, the box's place and
  // the canvas.
  void FitClient();
  void EnterFullScreen();
  void LeaveFullScreen();
  void FillMonitor();
  void FillWorkArea();
  // Notes where the pointer is; a move shows it again.
  void NotePointer();
  void UpdatePointer();

  double PixelRatio() const;

  HWND window_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  bool fullScreen_ = false;
  // The window as it was before full screen, to go back to.
  DWORD windowedStyle_ = 0;
  WINDOWPLACEMENT windowed_{};
  PointerRule pointer_;
  POINT pointerAt_{};
  FireworksShow show_;
  Number1 number1_;
  const AccessiblePart::Words fieldWords_;
};

}  // namespace pelmiro
