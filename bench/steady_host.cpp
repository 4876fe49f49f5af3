#include "steady_host.h"

#include "hostkit/tick_clock.h"
#include "hostkit/window_layout.h"

namespace pelmiro::bench {
namespace {

constexpr std::int32_t IntervalMs = WindowLayout::TimerIntervalMs;
constexpr float Random = 0.5f;

class SteadyHost : public ModelHost {
 public:
  float ClientWidth() override { return SteadyWidth; }
  float ClientHeight() override { return SteadyHeight; }
  std::int32_t TickCount() override { return TickClock(); }
  std::int32_t TimerInterval() override { return IntervalMs; }
  float NextRandom() override { return Random; }
  void ClearSurface() override {}
  void PlotDot(float, float, std::int32_t) override {}
};

class FrozenClockHost : public SteadyHost {
 public:
  std::int32_t TickCount() override { return frozen_; }

 private:
  std::int32_t frozen_ = TickClock();
};

}  // namespace

std::unique_ptr<ModelHost> MakeSteadyHost() {
  return std::make_unique<SteadyHost>();
}

std::unique_ptr<ModelHost> MakeFrozenClockHost() {
  return std::make_unique<FrozenClockHost>();
}

}  // namespace pelmiro::bench
