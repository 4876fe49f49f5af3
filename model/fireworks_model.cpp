#include "fireworks_model.h"

#include <cmath>
#include <limits>

namespace pelmiro {
namespace {

constexpr int BurstRingSpeeds[] = {5, 10};
constexpr int BurstStepDegrees = 15;
constexpr int BurstLastDegrees = 360;  // inclusive, so the first direction is repeated
constexpr int BurstTurnPerSpeed = 5;   // degrees each ring is turned per unit of its speed
constexpr double HalfTurnDegrees = 180.0;
constexpr int BurstGreenPerSpeed = 25;
constexpr int BurstRed = 255;
constexpr float BurstHeightDivisor = 4.0f;

// Heights are single precision, so coordinates are compared against them only after
// being rounded to single precision too.
float Single(double value) {
  return static_cast<float>(value);
}

float BurstHeight(ModelHost& host) {
  return host.ClientHeight() / BurstHeightDivisor;
}

}  // namespace

void FireworksModel::InitModel(ModelHost& host) {
  startTick_ = host.TickCount();
  tubuAlive_.fill(false);
}

std::optional<double> FireworksModel::StepFactor(ModelHost& host) {
  const std::int64_t diff = std::int64_t{host.TickCount()} - startTick_;
  if (diff < std::numeric_limits<std::int32_t>::min() ||
      diff > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return (static_cast<double>(diff) / ClockDivisor) * static_cast<double>(host.TimerInterval());
}

void FireworksModel::Step(ModelHost& host, double& value, double delta) {
  if (const std::optional<double> f = StepFactor(host)) {
    value = *f * delta + value;
  }
}

void FireworksModel::LaunchRocket(ModelHost& host, int keyCode) {
  if (keyCode < FirstLaunchKey || keyCode > LastLaunchKey) {
    return;
  }
  for (int slot = keyCode - FirstLaunchKey; slot < RocketCount; ++slot) {
    if (Single(rocketY_[slot]) < BurstHeight(host)) {
      rocketY_[slot] = host.ClientHeight();
      const float width = host.ClientWidth();
      const float random = host.NextRandom();
      rocketX_[slot] = static_cast<double>(random) * static_cast<double>(width);
      return;
    }
  }
}

void FireworksModel::AdvanceTick(ModelHost& host) {
  host.ClearSurface();
  RocketPass(host);
  TubuPass(host);
}

void FireworksModel::RocketPass(ModelHost& host) {
  for (int i = 0; i < RocketCount; ++i) {
    double& y = rocketY_[i];
    host.PlotDot(Single(rocketX_[i]), Single(y), RocketColor);
    const bool inFlight = Single(y) >= BurstHeight(host);
    if (!inFlight) {
      continue;
    }
    const double distance =
        std::abs(y - static_cast<double>(host.ClientHeight()) / BurstHeightDivisor);
    Step(host, y, -std::sqrt(distance));
    if (Single(std::floor(y)) <= BurstHeight(host)) {
      BurstRocket(rocketX_[i], y);
      y = ParkedY;
    }
  }
}

void FireworksModel::TubuPass(ModelHost& host) {
  for (int n = 0; n < TubuCount; ++n) {
    if (!tubuAlive_[n]) {
      continue;
    }
    host.PlotDot(Single(tubuX_[n]), Single(tubuY_[n]), tubuColor_[n]);
    Step(host, tubuX_[n], tubuVX_[n]);
    Step(host, tubuY_[n], tubuVY_[n]);
    Step(host, tubuVY_[n], Gravity);
    if (Single(tubuY_[n]) > host.ClientHeight()) {
      tubuAlive_[n] = false;
    }
  }
}

void FireworksModel::BurstRocket(double x, double y) {
  for (const int speed : BurstRingSpeeds) {
    const std::int32_t color = Rgb(BurstRed, BurstGreenPerSpeed * speed, 0);
    for (int step = 0; step <= BurstLastDegrees; step += BurstStepDegrees) {
      const double angle = ((step + BurstTurnPerSpeed * speed) * BurstPi) / HalfTurnDegrees;
      CreateTubu(x, y, speed * std::cos(angle), speed * std::sin(angle), color);
    }
  }
}

void FireworksModel::CreateTubu(double x, double y, double mx, double my, std::int32_t color) {
  for (int n = 0; n < TubuCount; ++n) {
    if (!tubuAlive_[n]) {
      tubuX_[n] = x;
      tubuY_[n] = y;
      tubuVX_[n] = mx;
      tubuVY_[n] = my;
      tubuColor_[n] = color;
      tubuAlive_[n] = true;
      return;
    }
  }
}

}  // namespace pelmiro
