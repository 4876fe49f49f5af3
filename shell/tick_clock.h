#pragma once

#include <chrono>
#include <cstdint>

namespace pelmiro {

// Milliseconds since the system started, wrapping like a 32-bit counter. Kept free of
// Qt so the model benchmark times exactly the clock the window uses.
inline std::int32_t TickClock() {
  using namespace std::chrono;
  const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(ms));
}

}  // namespace pelmiro
