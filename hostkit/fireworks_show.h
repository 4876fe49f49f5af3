#pragma once

#include <cstdint>

#include "client_area.h"
#include "dot_canvas.h"
#include "dot_size.h"
#include "model/fireworks_model.h"
#include "random_source.h"

namespace pelmiro {

// The fireworks as every host shows them: the model, and all it asks of its host but the
// clock, which the host hands in. A host passes on the size it shows them at, the ticks of
// its timer, the launches its input rules make and the box's commits, and shows the
// canvas where it changed.
class FireworksShow final : public ModelHost {
 public:
  // Whole milliseconds, wrapping as a signed 32-bit count.
  using Clock = std::int32_t (*)();

  FireworksShow(PixelLayout layout, Clock clock);
  FireworksShow(const FireworksShow&) = delete;
  FireworksShow& operator=(const FireworksShow&) = delete;

  // Starts the model; ticks and launches follow.
  void Start();
  // The client area, in logical pixels shown at pixelRatio device pixels each. An empty
  // one, as a minimised window has, keeps the sky as it was. Says whether the canvas made
  // its pixels anew, so a host that wraps them knows to wrap them again.
  bool Fit(int width, int height, double pixelRatio);
  // The model moves and draws. Says whether the picture changed since it last said so;
  // the canvas then tells where.
  bool Tick();
  // Draws what was plotted since the last clear, as a tick ends; says whether the picture
  // changed.
  bool Finish() { return canvas_.Finish(); }
  void Launch(int keyCode);
  // The box's commit: its value clamped into it (see ApplyDotSizeRule) becomes the size
  // of every dot from the next tick on.
  template <typename ReadBox, typename WriteBox>
  void ApplyDotSize(ReadBox read, WriteBox write) {
    canvas_.SetDotSize(ApplyDotSizeRule(read, write));
  }

  const DotCanvas& Canvas() const { return canvas_; }
  const ClientArea& Area() const { return area_; }
  FireworksModel& Model() { return model_; }

  float ClientWidth() override;
  float ClientHeight() override;
  std::int32_t TickCount() override;
  std::int32_t TimerInterval() override;
  float NextRandom() override;
  void ClearSurface() override;
  void PlotDot(float x, float y, std::int32_t color) override;

 private:
  ClientArea area_;
  double ratio_ = 1;
  Clock clock_;
  FireworksModel model_;
  DotCanvas canvas_;
  RandomSource random_;
};

}  // namespace pelmiro
