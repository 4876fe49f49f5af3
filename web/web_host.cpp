#include "web_host.h"

#include "hostkit/dot_size.h"

// The only thing the module takes from the page: whole milliseconds since the page
// loaded, as a signed 32-bit number.
extern "C" __attribute__((import_module("env"), import_name("TickCount"))) std::int32_t
PageTickCount();

namespace pelmiro {

WebHost::WebHost(double devicePixelRatio)
    : canvas_(PixelLayout::Rgba8, ClientWidthPx, ClientHeightPx, devicePixelRatio),
      ratio_(devicePixelRatio) {}

void WebHost::Start() {
  model_.InitModel(*this);
}

bool WebHost::Tick(double devicePixelRatio) {
  ratio_ = devicePixelRatio;
  model_.AdvanceTick(*this);
  return canvas_.Finish();
}

void WebHost::Launch(int keyCode) {
  model_.LaunchRocket(*this, keyCode);
}

double WebHost::ApplyDotSize(double boxValue) {
  double box = boxValue;
  canvas_.SetDotSize(
      ApplyDotSizeRule([&box] { return box; }, [&box](double value) { box = value; }));
  return box;
}

float WebHost::ClientWidth() {
  return static_cast<float>(ClientWidthPx * DotCanvas::TwipsPerPixel);
}

float WebHost::ClientHeight() {
  return static_cast<float>(ClientHeightPx * DotCanvas::TwipsPerPixel);
}

std::int32_t WebHost::TickCount() {
  return PageTickCount();
}

std::int32_t WebHost::TimerInterval() {
  return TimerIntervalMs;
}

float WebHost::NextRandom() {
  return random_.Next();
}

void WebHost::ClearSurface() {
  canvas_.Resize(ClientWidthPx, ClientHeightPx, ratio_);
  canvas_.Clear();
}

void WebHost::PlotDot(float x, float y, std::int32_t color) {
  canvas_.Plot(x, y, color);
}

}  // namespace pelmiro
