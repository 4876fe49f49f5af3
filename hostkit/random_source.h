#pragma once

#include <random>

namespace pelmiro {

// Uniform floats in [0, 1). Never seeded: every run, on every host, draws the same
// sequence, so the same presses at the same moments launch at the same places.
class RandomSource {
 public:
  float Next();

 private:
  std::mt19937 engine_;
};

}  // namespace pelmiro
