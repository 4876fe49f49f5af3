// Ticks must not touch the heap: this binary replaces operator new to count.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "fake_host.h"
#include "model/fireworks_model.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) {
    return p;
  }
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace pelmiro {
namespace {

TEST(ModelAllocations, NoneDuringThousandTicksOfAFullPool) {
  testing::FakeHost host;
  host.record = false;
  host.height = 1e9f;  // sparks never fall out, so the pool stays full
  auto model = std::make_unique<FireworksModel>();
  model->InitModel(host);
  host.tick = 1000;  // everything moves, at a steady pace
  constexpr int BurstsToFill = FireworksModel::TubuCount / 50 + 1;
  for (int i = 0; i < BurstsToFill; ++i) {
    model->BurstRocket(i, i);
  }
  const long before = allocations.load();
  for (int tick = 0; tick < 1000; ++tick) {
    model->LaunchRocket(host, FireworksModel::FirstLaunchKey + tick % 9);
    model->AdvanceTick(host);
  }
  EXPECT_EQ(allocations.load() - before, 0);
  int alive = 0;
  for (bool a : model->TubuAlive()) {
    alive += a ? 1 : 0;
  }
  EXPECT_EQ(alive, FireworksModel::TubuCount);
}

}  // namespace
}  // namespace pelmiro
