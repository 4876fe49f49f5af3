#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>

#include "dot_surface.h"
#include "hostkit/client_area.h"
#include "hostkit/random_source.h"
#include "hostkit/window_layout.h"
#include "model/fireworks_model.h"

namespace pelmiro {

class Number1;
class Timer1;

// The program's only window. It owns the fireworks, serves as their host (size,
// clock, randomness and drawing) and turns ticks, keys and clicks into model calls.
class Form1 : public QWidget, public ModelHost {
  Q_OBJECT

 public:
  static constexpr int ClientWidthPx = WindowLayout::ClientWidth;
  static constexpr int ClientHeightPx = WindowLayout::ClientHeight;

  // Builds the window and its controls, starts the model, shows the window and
  // starts the timer.
  Form1();

  float ClientWidth() override;
  float ClientHeight() override;
  std::int32_t TickCount() override;
  std::int32_t TimerInterval() override;
  float NextRandom() override;
  void ClearSurface() override;
  void PlotDot(float x, float y, std::int32_t color) override;

  // Clamps the box's value to 1..100 and takes it as the dot size.
  void ApplyDotSize();
  // F11: the whole screen the window is on, or back to the fixed window at its old place.
  void ToggleFullScreen();
  // Draws what was plotted since the last clear; says whether the picture changed.
  bool FinishPicture() { return surface_.Finish(); }

  int DotSize() const { return surface_.DotSize(); }
  const DotSurface& Surface() const { return surface_; }
  FireworksModel& Model() { return model_; }
  Number1* NumberBox() const { return number1_; }
  Timer1* Ticker() const { return timer1_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  void Tick();
  // Fixed at the normal client size, or free to take what full screen or maximise gives.
  void HoldFixedSize(bool fixed);
  void ShowOrHidePointer(std::int32_t now);

  FireworksModel model_;
  DotSurface surface_;
  RandomSource random_;
  ClientArea area_;
  PointerIdle pointerIdle_;
  bool pointerHidden_ = false;
  // When F11 was last let go: a press within moments of it is the held key repeating.
  std::optional<quint64> f11ReleasedAt_;
  Timer1* timer1_;
  Number1* number1_;
};

}  // namespace pelmiro
