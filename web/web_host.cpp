#include "web_host.h"

#include <algorithm>

#include "hostkit/dot_size.h"

// The only thing the module takes from the page: whole milliseconds since the page
// loaded, as a signed 32-bit number.
extern "C" __attribute__((import_module("env"), import_name("TickCount"))) std::int32_t
PageTickCount();

namespace pelmiro {

WebHost::WebHost(double devicePixelRatio, int clientWidthPx, int clientHeightPx)
    : canvas_(PixelLayout::Rgba8, std::clamp(clientWidthPx, 1, MaxClientPx),
              std::clamp(clientHeightPx, 1, MaxClientPx), devicePixelRatio) {
  SetField(devicePixelRatio, clientWidthPx, clientHeightPx);
}

void WebHost::SetField(double devicePixelRatio, int clientWidthPx, int clientHeightPx) {
  ratio_ = devicePixelRatio;
  clientWidthPx_ = std::clamp(clientWidthPx, 1, MaxClientPx);
  clientHeightPx_ = std::clamp(clientHeightPx, 1, MaxClientPx);
}

void WebHost::Start() {
  model_.InitModel(*this);
}

bool WebHost::Tick(double devicePixelRatio, int clientWidthPx, int clientHeightPx) {
  SetField(devicePixelRatio, clientWidthPx, clientHeightPx);
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
  return static_cast<float>(clientWidthPx_ * DotCanvas::TwipsPerPixel);
}

float WebHost::ClientHeight() {
  return static_cast<float>(clientHeightPx_ * DotCanvas::TwipsPerPixel);
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
  canvas_.Resize(clientWidthPx_, clientHeightPx_, ratio_);
  canvas_.Clear();
}

void WebHost::PlotDot(float x, float y, std::int32_t color) {
  canvas_.Plot(x, y, color);
}

}  // namespace pelmiro
