// Drives the model with a stream of operations: keys of any value, ticks, and a host
// whose answers (sizes, clock, randomness, interval) may be anything at all. After
// every operation the cheap promises are checked; a broken one traps.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "byte_reader.h"
#include "hostkit/window_layout.h"
#include "model/fireworks_model.h"

namespace pelmiro::fuzz {
namespace {

using Alive = std::array<bool, FireworksModel::TubuCount>;

constexpr int SparksPerBurst = 50;
constexpr std::int32_t InnerColor = Rgb(255, 125, 0);
constexpr std::int32_t OuterColor = Rgb(255, 250, 0);
constexpr int DigitZero = 48;
constexpr int DigitRowKeys = 10;
constexpr int RandomBits = 24;
// A full pool costs about eight thousand host calls a tick; longer inputs mostly
// repeat themselves and slow the search down.
constexpr int MaxTicksPerInput = 256;

void Check(bool ok) {
  if (!ok) {
    __builtin_trap();
  }
}

int CountAlive(const Alive& alive) {
  return static_cast<int>(std::count(alive.begin(), alive.end(), true));
}

// What the model asked of the host during one operation.
struct Counts {
  int calls = 0;
  int clears = 0;
  int clearedAt = -1;  // the call number of the last clear
  int randoms = 0;
  int plots = 0;
  int rocketPlots = 0;  // green dots among the first plots of a tick
  bool sparkBeforeRocket = false;
  bool strangeColor = false;
};

// Answers whatever it was last told to, and counts what the model asked.
class FuzzHost : public ModelHost {
 public:
  float width = 7500;
  float height = 6630;
  std::int32_t clock = 0;
  std::int32_t clockStep = 0;
  std::int32_t interval = WindowLayout::TimerIntervalMs;
  float random = 0.5f;
  std::int32_t lastClock = 0;
  Counts seen;

  float ClientWidth() override {
    ++seen.calls;
    return width;
  }
  float ClientHeight() override {
    ++seen.calls;
    return height;
  }
  std::int32_t TickCount() override {
    ++seen.calls;
    lastClock = clock;
    clock = static_cast<std::int32_t>(static_cast<std::uint32_t>(clock) +
                                      static_cast<std::uint32_t>(clockStep));
    return lastClock;
  }
  std::int32_t TimerInterval() override {
    ++seen.calls;
    return interval;
  }
  float NextRandom() override {
    ++seen.calls;
    ++seen.randoms;
    return random;
  }
  void ClearSurface() override {
    seen.clearedAt = seen.calls++;
    ++seen.clears;
  }
  void PlotDot(float, float, std::int32_t color) override {
    ++seen.calls;
    if (seen.plots++ < FireworksModel::RocketCount) {
      seen.rocketPlots += color == FireworksModel::RocketColor ? 1 : 0;
      seen.sparkBeforeRocket |= color != FireworksModel::RocketColor;
    } else {
      seen.strangeColor |= color != InnerColor && color != OuterColor;
    }
  }
};

enum class Op : std::uint8_t {
  Key,
  Tick,
  Width,
  Height,
  Clock,
  ClockStep,
  Random,
  Interval,
  Init,
  Burst,
  Count
};

int ReadKey(ByteReader& in) {
  const std::uint8_t mode = in.Byte();
  // Mostly the digit row and its neighbours; otherwise any int at all.
  if (mode % 2 == 0) {
    return DigitZero + (mode / 2) % DigitRowKeys;
  }
  return in.I32();
}

// The edges of [0, 1) by name, or anything in between.
float ReadRandom(ByteReader& in) {
  const std::uint8_t mode = in.Byte();
  if (mode == 0) {
    return 0.0f;
  }
  if (mode == 1) {
    return std::nextafter(1.0f, 0.0f);
  }
  const std::uint32_t bits = in.U32() >> (32 - RandomBits);
  return static_cast<float>(bits) / static_cast<float>(1u << RandomBits);
}

void KeyPress(FireworksModel& model, FuzzHost& host, int key) {
  const Alive sparks = model.TubuAlive();
  const auto before = model.RocketY();
  host.seen = {};
  model.LaunchRocket(host, key);
  const bool launchKey =
      key >= FireworksModel::FirstLaunchKey && key <= FireworksModel::LastLaunchKey;
  Check(launchKey || host.seen.calls == 0);
  Check(host.seen.randoms <= 1 && host.seen.clears == 0 && host.seen.plots == 0);
  Check(model.TubuAlive() == sparks);
  int changed = 0;
  for (int slot = 0; slot < FireworksModel::RocketCount; ++slot) {
    if (std::memcmp(&before[slot], &model.RocketY()[slot], sizeof(double)) != 0) {
      ++changed;
      Check(slot >= std::int64_t{key} - FireworksModel::FirstLaunchKey);
    }
  }
  Check(changed <= host.seen.randoms);
}

void Tick(FireworksModel& model, FuzzHost& host) {
  const int aliveBefore = CountAlive(model.TubuAlive());
  host.seen = {};
  model.AdvanceTick(host);
  const int aliveAfter = CountAlive(model.TubuAlive());
  Check(host.seen.clears == 1 && host.seen.clearedAt == 0);
  Check(host.seen.randoms == 0);
  Check(host.seen.plots >= FireworksModel::RocketCount);
  Check(host.seen.rocketPlots == FireworksModel::RocketCount && !host.seen.sparkBeforeRocket);
  Check(!host.seen.strangeColor);
  // Every spark alive at the end was drawn this tick; no more than the pool holds were.
  const int sparkPlots = host.seen.plots - FireworksModel::RocketCount;
  Check(sparkPlots >= aliveAfter);
  Check(sparkPlots <= std::min(FireworksModel::TubuCount,
                               aliveBefore + FireworksModel::RocketCount * SparksPerBurst));
}

void Burst(FireworksModel& model, double x, double y) {
  const Alive before = model.TubuAlive();
  model.BurstRocket(x, y);
  const Alive& after = model.TubuAlive();
  const int free = FireworksModel::TubuCount - CountAlive(before);
  const int expected = std::min(SparksPerBurst, free);
  // The lowest free slots, and only those, are taken.
  int made = 0;
  for (int n = 0; n < FireworksModel::TubuCount; ++n) {
    if (before[n]) {
      Check(after[n]);
    } else {
      Check(after[n] == (made < expected));
      made += after[n] ? 1 : 0;
    }
  }
  Check(made == expected);
}

}  // namespace
}  // namespace pelmiro::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pelmiro;
  using namespace pelmiro::fuzz;
  ByteReader in(data, size);
  auto model = std::make_unique<FireworksModel>();
  FuzzHost host;
  model->InitModel(host);
  int ticks = 0;
  while (!in.Done()) {
    switch (static_cast<Op>(in.Byte() % static_cast<std::uint8_t>(Op::Count))) {
      case Op::Key:
        KeyPress(*model, host, ReadKey(in));
        break;
      case Op::Tick:
        if (++ticks > MaxTicksPerInput) {
          return 0;
        }
        Tick(*model, host);
        break;
      case Op::Width:
        host.width = in.Float();
        break;
      case Op::Height:
        host.height = in.Float();
        break;
      case Op::Clock:
        host.clock = in.I32();
        break;
      case Op::ClockStep:
        host.clockStep = in.I32();
        break;
      case Op::Random:
        host.random = ReadRandom(in);
        break;
      case Op::Interval:
        host.interval = in.I32();
        break;
      case Op::Init:
        host.seen = {};
        model->InitModel(host);
        Check(model->StartTick() == host.lastClock && host.seen.calls == 1);
        Check(CountAlive(model->TubuAlive()) == 0);
        break;
      case Op::Burst: {
        const float x = in.Float();
        Burst(*model, x, in.Float());
        break;
      }
      case Op::Count:
        break;
    }
    Check(CountAlive(model->TubuAlive()) <= FireworksModel::TubuCount);
  }
  return 0;
}
