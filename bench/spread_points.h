#pragma once

#include <cmath>

namespace pelmiro::bench {

// Where the benchmarks put their dots: an additive recurrence with the plastic number
// spreads points evenly over the unit square with no grid pattern.
struct UnitPoint {
  double u;
  double v;
};

inline UnitPoint SpreadPoint(int i) {
  constexpr double Plastic = 1.324717957244746;
  constexpr double StepX = 1.0 / Plastic;
  constexpr double StepY = 1.0 / (Plastic * Plastic);
  constexpr double Offset = 0.5;
  return {std::fmod(Offset + i * StepX, 1.0), std::fmod(Offset + i * StepY, 1.0)};
}

}  // namespace pelmiro::bench
