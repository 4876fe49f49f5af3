// What one model tick costs with a full pool, against the floor it cannot go below:
// the clock reads and plot calls the model is obliged to make.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "bench_clock.h"
#include "model/fireworks_model.h"
#include "steady_host.h"

namespace pelmiro::bench {
namespace {

constexpr int ClockReadsPerSpark = 3;  // x, y and the fall speed each take one step
constexpr int ClockReads = ClockReadsPerSpark * FireworksModel::TubuCount;
constexpr int PlotCalls = FireworksModel::TubuCount + FireworksModel::RocketCount;
constexpr std::int32_t SparkColor = Rgb(255, 125, 0);

int AliveCount(const FireworksModel& model) {
  return static_cast<int>(std::count(model.TubuAlive().begin(), model.TubuAlive().end(), true));
}

int RocketsInFlight(const FireworksModel& model) {
  return static_cast<int>(std::count_if(model.RocketY().begin(), model.RocketY().end(),
                                        [](double y) { return y >= SteadyHeight / 4; }));
}

// Every spark alive and every rocket climbing.
void Fill(FireworksModel& model, ModelHost& host) {
  model.InitModel(host);
  while (AliveCount(model) < FireworksModel::TubuCount) {
    model.BurstRocket(SteadyWidth / 2, SteadyHeight / 2);
  }
  for (int key = FireworksModel::FirstLaunchKey; key <= FireworksModel::LastLaunchKey; ++key) {
    model.LaunchRocket(host, key);
  }
  // The last key moves on to the next free slot, which is the one left.
  while (RocketsInFlight(model) < FireworksModel::RocketCount) {
    model.LaunchRocket(host, FireworksModel::LastLaunchKey);
  }
}

bool Steady(const FireworksModel& model) {
  return AliveCount(model) == FireworksModel::TubuCount &&
         RocketsInFlight(model) == FireworksModel::RocketCount;
}

void ReadClock(ModelHost& host) {
  for (int i = 0; i < ClockReads; ++i) {
    benchmark::DoNotOptimize(host.TickCount());
  }
}

void PlotNothing(ModelHost& host) {
  for (int i = 0; i < PlotCalls; ++i) {
    host.PlotDot(static_cast<float>(i), static_cast<float>(i), SparkColor);
  }
}

void Floor(ModelHost& host) {
  ReadClock(host);
  PlotNothing(host);
}

// Model and floor take turns within each iteration; the reported time is the model's.
void BM_ModelTick(benchmark::State& state) {
  const std::unique_ptr<ModelHost> host = MakeSteadyHost();
  FireworksModel model;
  Fill(model, *host);
  double modelSeconds = 0;
  double floorSeconds = 0;
  double clockSeconds = 0;
  for (auto _ : state) {
    const double tick = SecondsOf([&] { model.AdvanceTick(*host); });
    floorSeconds += SecondsOf([&] { Floor(*host); });
    clockSeconds += SecondsOf([&] { ReadClock(*host); });
    modelSeconds += tick;
    state.SetIterationTime(tick);
  }
  if (!Steady(model)) {
    state.SkipWithError("the pool or the rockets changed during the run");
    return;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["floor_us"] = floorSeconds / n * 1e6;
  state.counters["clock_us"] = clockSeconds / n * 1e6;
  state.counters["clock_share"] = clockSeconds / modelSeconds;
  state.counters["ratio"] = modelSeconds / floorSeconds;
  state.counters["sparks"] = AliveCount(model);
}
BENCHMARK(BM_ModelTick)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The model's own arithmetic and calls, with the clock taken out.
void BM_ModelTickFrozenClock(benchmark::State& state) {
  const std::unique_ptr<ModelHost> host = MakeFrozenClockHost();
  FireworksModel model;
  Fill(model, *host);
  for (auto _ : state) {
    model.AdvanceTick(*host);
  }
  if (!Steady(model)) {
    state.SkipWithError("the pool or the rockets changed during the run");
  }
}
BENCHMARK(BM_ModelTickFrozenClock)->Unit(benchmark::kMicrosecond);

void BM_Floor(benchmark::State& state) {
  const std::unique_ptr<ModelHost> host = MakeSteadyHost();
  for (auto _ : state) {
    Floor(*host);
  }
}
BENCHMARK(BM_Floor)->Unit(benchmark::kMicrosecond);

void BM_ClockReads(benchmark::State& state) {
  const std::unique_ptr<ModelHost> host = MakeSteadyHost();
  for (auto _ : state) {
    ReadClock(*host);
  }
}
BENCHMARK(BM_ClockReads)->Unit(benchmark::kMicrosecond);

void BM_EmptyPlots(benchmark::State& state) {
  const std::unique_ptr<ModelHost> host = MakeSteadyHost();
  for (auto _ : state) {
    PlotNothing(*host);
  }
}
BENCHMARK(BM_EmptyPlots)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pelmiro::bench

BENCHMARK_MAIN();
