#pragma once

#include <chrono>
#include <cstdint>

namespace pelmiro {

// Taken once while the program starts up, before main().
inline const std::chrono::steady_clock::time_point ProgramStart = std::chrono::steady_clock::now();

// Whole milliseconds since Pelmiro started, wrapping like a 32-bit counter. Counting
// from start-up rather than from boot keeps the model's clock difference far from
// the 32-bit edge, where motion would stop for weeks. The desktop hosts share it,
// and the model benchmark times this very clock.
inline std::int32_t TickClock() {
  using namespace std::chrono;
  const auto ms = duration_cast<milliseconds>(steady_clock::now() - ProgramStart).count();
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(ms));
}

}  // namespace pelmiro
