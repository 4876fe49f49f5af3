#include "random_source.h"

namespace pelmiro {
namespace {

constexpr int EngineBits = 32;
constexpr int RandomBits = 24;  // a float's mantissa: every value exact, none reaching 1
constexpr float RandomScale = 1.0f / (1 << RandomBits);

}  // namespace

float RandomSource::Next() {
  return static_cast<float>(engine_() >> (EngineBits - RandomBits)) * RandomScale;
}

}  // namespace pelmiro
