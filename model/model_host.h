#pragma once

#include <cstdint>

namespace pelmiro {

// Everything the model needs from the outside world: the surface size, a clock,
// randomness and two drawing calls. Sizes and coordinates are in twips.
class ModelHost {
 public:
  virtual ~ModelHost() = default;
  virtual float ClientWidth() = 0;
  virtual float ClientHeight() = 0;
  virtual std::int32_t TickCount() = 0;
  virtual std::int32_t TimerInterval() = 0;
  virtual float NextRandom() = 0;
  virtual void ClearSurface() = 0;
  virtual void PlotDot(float x, float y, std::int32_t color) = 0;
};

}  // namespace pelmiro
