#pragma once

#include <cstdint>
#include <memory>

#include "model/model_host.h"

namespace pelmiro::bench {

constexpr float SteadyWidth = 7500;
// So tall that no rocket reaches its burst height and no spark falls out, however
// long a benchmark runs: every iteration does the same work.
constexpr float SteadyHeight = 1e30f;

// Hosts that draw nothing, so only the model and the clock are measured. They are
// built in their own file so that, as for the model, every call stays virtual.
std::unique_ptr<ModelHost> MakeSteadyHost();
// The same with the clock stopped at its first reading.
std::unique_ptr<ModelHost> MakeFrozenClockHost();

}  // namespace pelmiro::bench
