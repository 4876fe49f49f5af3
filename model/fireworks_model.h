#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "model_host.h"

namespace pelmiro {

// Colours use the 0x00BBGGRR layout: red in the lowest byte.
constexpr std::int32_t Rgb(std::int32_t r, std::int32_t g, std::int32_t b) {
  return r + 256 * g + 65536 * b;
}

// Rockets and sparks. All state is fixed-size and lives in the object, so a tick
// never allocates. Every operation that reads the window, the clock or the random
// generator, or draws, gets the host as its first argument and keeps nothing it read.
class FireworksModel {
 public:
  static constexpr int RocketCount = 10;
  static constexpr int TubuCount = 1001;
  static constexpr double ClockDivisor = 100000.0;
  static constexpr double Gravity = 0.1;
  static constexpr double ParkedY = -100000.0;
  static constexpr double BurstPi = 3.141592654;
  static constexpr std::int32_t RocketColor = Rgb(0, 255, 0);
  static constexpr int FirstLaunchKey = 49;  // the main-row "1"
  static constexpr int LastLaunchKey = 57;   // the main-row "9"

  void InitModel(ModelHost& host);
  std::optional<double> StepFactor(ModelHost& host);
  void LaunchRocket(ModelHost& host, int keyCode);
  void AdvanceTick(ModelHost& host);
  void RocketPass(ModelHost& host);
  void TubuPass(ModelHost& host);
  void BurstRocket(double x, double y);
  void CreateTubu(double x, double y, double mx, double my, std::int32_t color);

  const std::array<double, RocketCount>& RocketX() const { return rocketX_; }
  const std::array<double, RocketCount>& RocketY() const { return rocketY_; }
  const std::array<double, TubuCount>& TubuX() const { return tubuX_; }
  const std::array<double, TubuCount>& TubuY() const { return tubuY_; }
  const std::array<double, TubuCount>& TubuVX() const { return tubuVX_; }
  const std::array<double, TubuCount>& TubuVY() const { return tubuVY_; }
  const std::array<std::int32_t, TubuCount>& TubuColor() const { return tubuColor_; }
  const std::array<bool, TubuCount>& TubuAlive() const { return tubuAlive_; }
  std::int32_t StartTick() const { return startTick_; }

 private:
  // Adds f * delta to value, or leaves it alone when the clock difference overflows.
  void Step(ModelHost& host, double& value, double delta);

  std::array<double, RocketCount> rocketX_{};
  std::array<double, RocketCount> rocketY_{};
  std::array<double, TubuCount> tubuX_{};
  std::array<double, TubuCount> tubuY_{};
  std::array<double, TubuCount> tubuVX_{};
  std::array<double, TubuCount> tubuVY_{};
  std::array<std::int32_t, TubuCount> tubuColor_{};
  std::array<bool, TubuCount> tubuAlive_{};
  std::int32_t startTick_ = 0;
};

}  // namespace pelmiro
