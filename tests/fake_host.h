#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "hostkit/window_layout.h"
#include "model_host.h"

namespace pelmiro::testing {

enum class Call { Width, Height, Tick, Interval, Random, Clear, Plot };

struct HostCall {
  Call call;
  float x = 0;
  float y = 0;
  std::int32_t color = 0;
  bool operator==(const HostCall&) const = default;
};

// A host whose size, clock and random numbers are set by the test, and which
// records every call the model makes.
class FakeHost : public ModelHost {
 public:
  static constexpr float DefaultWidth = 7500;
  static constexpr float DefaultHeight = 6630;
  static constexpr std::int32_t DefaultInterval = WindowLayout::TimerIntervalMs;

  float width = DefaultWidth;
  float height = DefaultHeight;
  std::int32_t tick = 0;
  std::int32_t tickStep = 0;  // added to the clock after every read, wrapping like a real one
  std::int32_t interval = DefaultInterval;
  std::vector<float> randoms{0.5f};  // handed out in turn, cycling
  std::size_t randomsDrawn = 0;
  bool record = true;
  std::vector<HostCall> calls;

  float ClientWidth() override {
    Record({Call::Width});
    return width;
  }
  float ClientHeight() override {
    Record({Call::Height});
    return height;
  }
  std::int32_t TickCount() override {
    Record({Call::Tick});
    const std::int32_t now = tick;
    tick = static_cast<std::int32_t>(static_cast<std::uint32_t>(tick) +
                                     static_cast<std::uint32_t>(tickStep));
    return now;
  }
  std::int32_t TimerInterval() override {
    Record({Call::Interval});
    return interval;
  }
  float NextRandom() override {
    Record({Call::Random});
    return randoms[randomsDrawn++ % randoms.size()];
  }
  void ClearSurface() override { Record({Call::Clear}); }
  void PlotDot(float x, float y, std::int32_t color) override { Record({Call::Plot, x, y, color}); }

  std::vector<HostCall> Plots() const {
    std::vector<HostCall> plots;
    for (const HostCall& c : calls) {
      if (c.call == Call::Plot) {
        plots.push_back(c);
      }
    }
    return plots;
  }

  std::vector<Call> Kinds() const {
    std::vector<Call> kinds;
    for (const HostCall& c : calls) {
      kinds.push_back(c.call);
    }
    return kinds;
  }

 private:
  void Record(const HostCall& c) {
    if (record) {
      calls.push_back(c);
    }
  }
};

}  // namespace pelmiro::testing
