#pragma once

#include <cstdint>

#include "hostkit/dot_canvas.h"
#include "hostkit/random_source.h"
#include "hostkit/window_layout.h"
#include "model/fireworks_model.h"

namespace pelmiro {

// The browser's host for the model: the page's field, 500 x 442 in a tab or the whole
// screen in full screen, drawn at the device pixels it is shown with into a pixel buffer
// the page copies onto the canvas when it changed, the page's millisecond clock and the
// random source every host shares.
class WebHost : public ModelHost {
 public:
  static constexpr int ClientWidthPx = WindowLayout::ClientWidth;
  static constexpr int ClientHeightPx = WindowLayout::ClientHeight;
  static constexpr std::int32_t TimerIntervalMs = WindowLayout::TimerIntervalMs;
  // The largest side the page may ask for, in CSS pixels: more than any screen has.
  static constexpr int MaxClientPx = 8192;

  WebHost(double devicePixelRatio, int clientWidthPx, int clientHeightPx);

  void Start();
  // The page passes the field's size in CSS pixels and the pixel ratio it is shown at,
  // so full screen, a rotation, a zoom, a move to another screen or a smaller window is
  // followed at the next clear. Says whether the picture changed, that is whether the
  // page must show it again.
  bool Tick(double devicePixelRatio, int clientWidthPx, int clientHeightPx);
  void Launch(int keyCode);
  // Takes the box's value, returns what the box must show from now on.
  double ApplyDotSize(double boxValue);

  float ClientWidth() override;
  float ClientHeight() override;
  std::int32_t TickCount() override;
  std::int32_t TimerInterval() override;
  float NextRandom() override;
  void ClearSurface() override;
  void PlotDot(float x, float y, std::int32_t color) override;

  FireworksModel& Model() { return model_; }
  DotCanvas& Canvas() { return canvas_; }

 private:
  void SetField(double devicePixelRatio, int clientWidthPx, int clientHeightPx);

  FireworksModel model_;
  DotCanvas canvas_;
  RandomSource random_;
  double ratio_ = 1;
  int clientWidthPx_ = ClientWidthPx;
  int clientHeightPx_ = ClientHeightPx;
};

// The page's one host, created by the start export.
WebHost& PageHost();

}  // namespace pelmiro
