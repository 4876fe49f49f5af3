#include "fireworks_show.h"

#include "window_layout.h"

namespace pelmiro {

FireworksShow::FireworksShow(PixelLayout layout, Clock clock)
    : clock_(clock), canvas_(layout, area_.Width(), area_.Height(), ratio_) {}

void FireworksShow::Start() {
  model_.InitModel(*this);
}

bool FireworksShow::Fit(int width, int height, double pixelRatio) {
  area_.Update(width, height);
  ratio_ = pixelRatio;
  // Black at once where the sky grew, until the next tick draws it.
  return canvas_.Resize(area_.Width(), area_.Height(), ratio_);
}

bool FireworksShow::Tick() {
  model_.AdvanceTick(*this);
  return Finish();
}

void FireworksShow::Launch(int keyCode) {
  model_.LaunchRocket(*this, keyCode);
}

float FireworksShow::ClientWidth() {
  return area_.WidthTwips();
}

float FireworksShow::ClientHeight() {
  return area_.HeightTwips();
}

std::int32_t FireworksShow::TickCount() {
  return clock_();
}

std::int32_t FireworksShow::TimerInterval() {
  return WindowLayout::TimerIntervalMs;
}

float FireworksShow::NextRandom() {
  return random_.Next();
}

void FireworksShow::ClearSurface() {
  canvas_.Clear();  // at the size the last Fit() gave it
}

void FireworksShow::PlotDot(float x, float y, std::int32_t color) {
  canvas_.Plot(x, y, color);
}

}  // namespace pelmiro
