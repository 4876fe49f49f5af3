#pragma once

#include <chrono>

namespace pelmiro::bench {

// Times one piece of work; used where two pieces share an iteration so that both
// see the same machine state and their ratio is fair.
template <class Work>
double SecondsOf(Work&& work) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point begin = Clock::now();
  work();
  return std::chrono::duration<double>(Clock::now() - begin).count();
}

}  // namespace pelmiro::bench
