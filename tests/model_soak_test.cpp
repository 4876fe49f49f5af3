// A long deterministic run with hostile input: random keys, heights that change now
// and then (zero included), and clock jumps across the 32-bit wrap. The host checks
// every call against the order the model promises and every burst against the pool.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include "model/fireworks_model.h"

namespace pelmiro {
namespace {

using Alive = std::array<bool, FireworksModel::TubuCount>;

constexpr int Ticks = 200'000;
constexpr int Epochs = 40;  // InitModel runs this many times, each at a different clock
constexpr int TicksPerEpoch = Ticks / Epochs;
constexpr int SparksPerRing = 25;
constexpr int SparksPerBurst = 2 * SparksPerRing;
constexpr double InnerSpeed = 5;
constexpr double OuterSpeed = 10;
constexpr double SpeedTolerance = 1e-9;
constexpr std::int32_t InnerColor = Rgb(255, 125, 0);
constexpr std::int32_t OuterColor = Rgb(255, 250, 0);
constexpr int ClockReadsPerSpark = 3;
constexpr double BurstHeightDivisor = 4;
constexpr std::int32_t Int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Int32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::uint64_t Seed = 20240611;
constexpr float WindowWidth = 7500;  // twips
constexpr float WindowHeight = 6630;
constexpr std::int32_t TimerMs = 99;

float Single(double v) {
  return static_cast<float>(v);
}

// Equal, or both NaN: positions may be NaN after hostile host answers.
template <class T>
bool Same(T a, T b) {
  return a == b || (std::isnan(a) && std::isnan(b));
}

// A step as the model takes it: nothing when the clock difference overflowed.
double Stepped(double value, double delta, std::optional<double> factor) {
  return factor ? *factor * delta + value : value;
}

// Same, allowing for a fused multiply-add where the compiler chose one.
bool Close(double a, double b) {
  constexpr double Relative = 1e-12;
  return Same(a, b) || std::abs(a - b) <= Relative * std::max(std::abs(a), std::abs(b));
}

bool Overflows(std::int32_t now, std::int32_t start) {
  const std::int64_t diff = std::int64_t{now} - start;
  return diff < Int32Min || diff > Int32Max;
}

int CountAlive(const Alive& alive) {
  return static_cast<int>(std::count(alive.begin(), alive.end(), true));
}

// What the soak went through; each kind must have happened for the run to mean anything.
struct Coverage {
  long fullBursts = 0;    // all fifty sparks found a slot
  long partBursts = 0;    // the pool had room for some
  long lostBursts = 0;    // the pool was full
  long skippedSteps = 0;  // updates left out because the clock difference overflowed
  long straddles = 0;     // ticks with both skipped and valid updates
  long launches = 0;      // a rocket left the ground
  long busyLaunches = 0;  // every slot from the key's upwards was in flight
  long ignoredKeys = 0;   // keys outside 1..9
  long fallenSparks = 0;  // sparks that left through the bottom edge
  long zeroHeightTicks = 0;
  long fullPoolTicks = 0;
};

// A host that knows the order of calls the model promises and checks each call as it
// comes, reading the model's public state to know which branch is due. Answers are
// set by the test between operations.
class ValidatingHost : public ModelHost {
 public:
  explicit ValidatingHost(const FireworksModel& model) : model_(model), state_(model) {}

  float width = WindowWidth;
  float height = WindowHeight;
  std::int32_t clock = 0;
  std::int32_t clockStep = 0;  // added after every read, wrapping
  std::int32_t interval = TimerMs;
  std::mt19937_64* random = nullptr;
  long op = 0;  // for messages
  Coverage seen;

  bool Failed() const { return !error_.empty(); }
  const std::string& Error() const { return error_; }

  void BeginInit() { Begin(Phase::Init, Step::InitClock); }
  void EndInit() {
    Expect(step_ == Step::Done, "InitModel ended without reading the clock");
    Expect(model_.StartTick() == initClock_, "InitModel did not keep the clock it read");
    Expect(CountAlive(model_.TubuAlive()) == 0, "InitModel left sparks alive");
    phase_ = Phase::Idle;
  }

  void BeginLaunch(int key) {
    launched_ = false;
    if (key < FireworksModel::FirstLaunchKey || key > FireworksModel::LastLaunchKey) {
      ++seen.ignoredKeys;
      Begin(Phase::Launch, Step::Done);
      return;
    }
    slot_ = key - FireworksModel::FirstLaunchKey;
    Begin(Phase::Launch, Step::LaunchHeight);
  }
  void EndLaunch() {
    Expect(step_ == Step::Done, "a launch stopped before its last call");
    if (launched_) {
      Expect(state_.rocketY[slot_] == static_cast<double>(launchHeight_),
             "a launched rocket does not start at the bottom edge");
      Expect(state_.rocketX[slot_] ==
                 static_cast<double>(launchRandom_) * static_cast<double>(launchWidth_),
             "a launched rocket is not at random times width");
    }
    phase_ = Phase::Idle;
  }

  void BeginTick() {
    if (height == 0) {
      ++seen.zeroHeightTicks;
    }
    if (CountAlive(model_.TubuAlive()) == FireworksModel::TubuCount) {
      ++seen.fullPoolTicks;
    }
    tickReads_ = 0;
    tickSkips_ = 0;
    Begin(Phase::Tick, Step::Clear);
  }
  void EndTick() {
    Settle();
    Expect(step_ == Step::SparkPlot, "a tick ended in the middle of a rocket or spark");
    seen.skippedSteps += tickSkips_;
    seen.straddles += (tickSkips_ > 0 && tickSkips_ < tickReads_) ? 1 : 0;
    if (step_ == Step::SparkPlot) {
      Expect(NextAlive() == FireworksModel::TubuCount, "a live spark was not drawn or moved");
    }
    phase_ = Phase::Idle;
  }

  float ClientWidth() override {
    Settle();
    switch (step_) {
      case Step::LaunchWidth:
        launchWidth_ = width;
        step_ = Step::LaunchRandom;
        break;
      default:
        Unexpected("ClientWidth");
    }
    return width;
  }

  float ClientHeight() override {
    Settle();
    const float h = height;
    const float burstHeight = h / 4;
    switch (step_) {
      case Step::RocketFlightHeight:
        if (Single(state_.rocketY[rocket_]) >= burstHeight) {
          climbFrom_ = state_.rocketY[rocket_];
          step_ = Step::RocketDistanceHeight;
        } else {
          NextRocket();
        }
        break;
      case Step::RocketDistanceHeight:
        climbDistance_ = std::abs(climbFrom_ - static_cast<double>(h) / BurstHeightDivisor);
        step_ = Step::RocketClock;
        break;
      case Step::RocketBurstHeight: {
        const double y = state_.rocketY[rocket_];
        Expect(Close(y, Stepped(climbFrom_, -std::sqrt(climbDistance_), factors_[0])),
               "a rocket did not climb by the factor times the root of its distance");
        burst_ = {true,    Single(std::floor(y)) <= burstHeight,
                  rocket_, state_.rocketX[rocket_],
                  y,       model_.TubuAlive()};
        NextRocket();
        break;
      }
      case Step::SparkHeight:
        fall_ = {true, spark_, h};
        step_ = Step::SparkPlot;
        break;
      case Step::LaunchHeight:
        if (Single(state_.rocketY[slot_]) < burstHeight) {
          step_ = Step::LaunchStartHeight;
        } else if (++slot_ == FireworksModel::RocketCount) {
          ++seen.busyLaunches;
          step_ = Step::Done;
        }
        break;
      case Step::LaunchStartHeight:
        launchHeight_ = h;
        step_ = Step::LaunchWidth;
        break;
      default:
        Unexpected("ClientHeight");
    }
    return h;
  }

  std::int32_t TickCount() override {
    Settle();
    const std::int32_t now = clock;
    clock = static_cast<std::int32_t>(static_cast<std::uint32_t>(clock) +
                                      static_cast<std::uint32_t>(clockStep));
    const bool skip = Overflows(now, model_.StartTick());
    if (phase_ == Phase::Tick) {
      ++tickReads_;
      tickSkips_ += skip ? 1 : 0;
    }
    switch (step_) {
      case Step::InitClock:
        initClock_ = now;
        step_ = Step::Done;
        break;
      case Step::RocketClock:
        ReadFactor(0, now);
        step_ = skip ? Step::RocketBurstHeight : Step::RocketInterval;
        break;
      case Step::SparkClock:
        ReadFactor(sparkReads_, now);
        if (skip) {
          SparkStepDone();
        } else {
          step_ = Step::SparkInterval;
        }
        break;
      default:
        Unexpected("TickCount");
    }
    return now;
  }

  std::int32_t TimerInterval() override {
    Settle();
    switch (step_) {
      case Step::RocketInterval:
        factors_[0] = Factor(interval);
        step_ = Step::RocketBurstHeight;
        break;
      case Step::SparkInterval:
        factors_[sparkReads_] = Factor(interval);
        SparkStepDone();
        break;
      default:
        Unexpected("TimerInterval");
    }
    return interval;
  }

  float NextRandom() override {
    Settle();
    // The edges of [0, 1) come up often; everything else is spread evenly.
    constexpr int EdgeOdds = 8;
    constexpr int MantissaBits = 24;
    const std::uint64_t r = (*random)();
    float value = static_cast<float>(r >> (64 - MantissaBits)) / (1 << MantissaBits);
    if (r % EdgeOdds == 0) {
      value = 0.0f;
    } else if (r % EdgeOdds == 1) {
      value = std::nextafter(1.0f, 0.0f);
    }
    if (step_ == Step::LaunchRandom) {
      launchRandom_ = value;
      launched_ = true;
      ++seen.launches;
      step_ = Step::Done;
    } else {
      Unexpected("NextRandom");
    }
    return value;
  }

  void ClearSurface() override {
    Settle();
    if (step_ == Step::Clear) {
      rocket_ = 0;
      step_ = Step::RocketPlot;
    } else {
      Unexpected("ClearSurface");
    }
  }

  void PlotDot(float x, float y, std::int32_t color) override {
    Settle();
    if (step_ == Step::RocketPlot) {
      Expect(Same(x, Single(state_.rocketX[rocket_])) && Same(y, Single(state_.rocketY[rocket_])) &&
                 color == FireworksModel::RocketColor,
             "a rocket was drawn somewhere other than where it is");
      step_ = Step::RocketFlightHeight;
    } else if (step_ == Step::SparkPlot) {
      const int n = NextAlive();
      if (n == FireworksModel::TubuCount) {
        Unexpected("PlotDot after the last live spark");
        return;
      }
      Expect(
          Same(x, Single(state_.x[n])) && Same(y, Single(state_.y[n])) && color == state_.color[n],
          "a spark was drawn somewhere other than where it is, or out of slot order");
      spark_ = n;
      sparkFrom_ = {state_.x[n], state_.y[n], state_.vx[n], state_.vy[n]};
      sparkReads_ = 0;
      step_ = Step::SparkClock;
    } else {
      Unexpected("PlotDot");
    }
  }

 private:
  enum class Phase { Idle, Init, Launch, Tick };
  enum class Step {
    Done,
    InitClock,
    LaunchHeight,
    LaunchStartHeight,
    LaunchWidth,
    LaunchRandom,
    Clear,
    RocketPlot,
    RocketFlightHeight,
    RocketDistanceHeight,
    RocketClock,
    RocketInterval,
    RocketBurstHeight,
    SparkPlot,
    SparkClock,
    SparkInterval,
    SparkHeight,
  };

  // A rocket that reached its burst check; resolved at the next call.
  struct PendingBurst {
    bool pending = false;
    bool due = false;
    int rocket = 0;
    double x = 0;
    double y = 0;
    Alive before{};
  };
  // A spark that was just moved; it must leave the pool exactly when it fell out.
  struct PendingFall {
    bool pending = false;
    int spark = 0;
    float height = 0;
  };

  void Begin(Phase phase, Step step) {
    Expect(phase_ == Phase::Idle, "an operation began inside another");
    phase_ = phase;
    step_ = step;
  }

  void NextRocket() {
    if (++rocket_ == FireworksModel::RocketCount) {
      spark_ = -1;
      step_ = Step::SparkPlot;
    } else {
      step_ = Step::RocketPlot;
    }
  }

  // Each step's factor comes from its own clock read, completed by the interval that
  // follows; a read whose difference overflowed leaves the step without one.
  void ReadFactor(int index, std::int32_t now) {
    elapsed_ = std::int64_t{now} - model_.StartTick();
    factors_[index] = std::nullopt;
  }
  double Factor(std::int32_t timerInterval) const {
    return (static_cast<double>(elapsed_) / FireworksModel::ClockDivisor) *
           static_cast<double>(timerInterval);
  }

  void SparkStepDone() {
    step_ = ++sparkReads_ == ClockReadsPerSpark ? Step::SparkHeight : Step::SparkClock;
  }

  int NextAlive() const {
    int n = spark_ + 1;
    while (n < FireworksModel::TubuCount && !state_.alive[n]) {
      ++n;
    }
    return n;
  }

  // Checks what the model did since the last call.
  void Settle() {
    if (!burst_.pending && !fall_.pending) {
      return;
    }
    if (burst_.pending) {
      burst_.pending = false;
      CheckBurst();
    }
    if (fall_.pending) {
      fall_.pending = false;
      const int n = fall_.spark;
      const Motion& was = sparkFrom_;
      Expect(Close(state_.x[n], Stepped(was.x, was.vx, factors_[0])) &&
                 Close(state_.y[n], Stepped(was.y, was.vy, factors_[1])) &&
                 Close(state_.vy[n], Stepped(was.vy, FireworksModel::Gravity, factors_[2])) &&
                 Same(state_.vx[n], was.vx),
             "a spark did not move by its own factor for each of its steps");
      const bool fell = Single(state_.y[n]) > fall_.height;
      Expect(state_.alive[n] == !fell, "a spark left the pool above the bottom edge");
      seen.fallenSparks += fell ? 1 : 0;
    }
  }

  void CheckBurst() {
    const Alive& after = model_.TubuAlive();
    const double y = state_.rocketY[burst_.rocket];
    if (!burst_.due) {
      // A parked rocket may be in flight too (below a negative height); so a burst is
      // told by what changed, not by where the rocket ended up.
      Expect(Same(y, burst_.y), "a rocket moved after its burst check");
      Expect(after == burst_.before, "sparks appeared without a burst");
      return;
    }
    Expect(y == FireworksModel::ParkedY, "a rocket that burst was not parked");
    const int free = FireworksModel::TubuCount - CountAlive(burst_.before);
    const int expected = std::min(SparksPerBurst, free);
    int made = 0;
    for (int n = 0; n < FireworksModel::TubuCount; ++n) {
      if (burst_.before[n]) {
        Expect(after[n], "a burst removed a spark");
        continue;
      }
      // The lowest free slots are taken first, so the first miss ends the burst.
      const bool taken = made < expected;
      Expect(after[n] == taken, "a burst did not fill the lowest free slots");
      if (!after[n]) {
        continue;
      }
      const double vx = state_.vx[n];
      const double vy = state_.vy[n];
      const bool inner = made < SparksPerRing;
      Expect(state_.x[n] == burst_.x && state_.y[n] == burst_.y,
             "a spark did not start where its rocket burst");
      Expect(state_.color[n] == (inner ? InnerColor : OuterColor),
             "sparks are not inner ring first, in slot order");
      Expect(std::abs(std::hypot(vx, vy) - (inner ? InnerSpeed : OuterSpeed)) < SpeedTolerance,
             "a spark has the wrong speed for its ring");
      ++made;
    }
    Expect(made == expected, "a burst made the wrong number of sparks");
    if (expected == SparksPerBurst) {
      ++seen.fullBursts;
    } else if (expected > 0) {
      ++seen.partBursts;
    } else {
      ++seen.lostBursts;
    }
  }

  void Unexpected(const char* call) {
    if (!error_.empty()) {
      return;
    }
    std::ostringstream s;
    s << call << " out of order (step " << static_cast<int>(step_) << ", rocket " << rocket_
      << ", spark " << spark_ << ")";
    Fail(s.str());
  }

  // Takes a literal, so that the checks that pass cost no allocation.
  void Expect(bool ok, const char* what) {
    if (!ok && error_.empty()) {
      Fail(what);
    }
  }

  void Fail(const std::string& what) { error_ = "operation " + std::to_string(op) + ": " + what; }

  struct Motion {
    double x;
    double y;
    double vx;
    double vy;
  };

  // The model's arrays through plain pointers: the checks run on every host call, and
  // in unoptimised builds every accessor and subscript would be a call of its own.
  struct State {
    explicit State(const FireworksModel& m)
        : rocketX(m.RocketX().data()),
          rocketY(m.RocketY().data()),
          x(m.TubuX().data()),
          y(m.TubuY().data()),
          vx(m.TubuVX().data()),
          vy(m.TubuVY().data()),
          color(m.TubuColor().data()),
          alive(m.TubuAlive().data()) {}
    const double* rocketX;
    const double* rocketY;
    const double* x;
    const double* y;
    const double* vx;
    const double* vy;
    const std::int32_t* color;
    const bool* alive;
  };

  const FireworksModel& model_;
  const State state_;
  int tickReads_ = 0;
  int tickSkips_ = 0;
  std::array<std::optional<double>, ClockReadsPerSpark> factors_{};
  std::int64_t elapsed_ = 0;  // the clock difference awaiting its interval
  double climbFrom_ = 0;
  double climbDistance_ = 0;
  Motion sparkFrom_{};
  Phase phase_ = Phase::Idle;
  Step step_ = Step::Done;
  int rocket_ = 0;
  int spark_ = -1;
  int sparkReads_ = 0;
  int slot_ = 0;
  bool launched_ = false;
  float launchHeight_ = 0;
  float launchWidth_ = 0;
  float launchRandom_ = 0;
  std::int32_t initClock_ = 0;
  PendingBurst burst_;
  PendingFall fall_;
  std::string error_;
};

// The soak's dice.
class Dice {
 public:
  explicit Dice(std::mt19937_64& rng) : rng_(rng) {}
  std::uint64_t Bits() { return rng_(); }
  // In [0, n).
  int Below(int n) { return static_cast<int>(rng_() % static_cast<std::uint64_t>(n)); }
  bool OneIn(int n) { return Below(n) == 0; }
  template <class T, std::size_t N>
  T Pick(const std::array<T, N>& from) {
    return from[Below(static_cast<int>(N))];
  }

 private:
  std::mt19937_64& rng_;
};

// Keys of any value, most of them on or next to the digit row.
int RandomKey(Dice& dice) {
  constexpr int DigitRowOdds = 5;  // four in five land on '0'..'9'
  constexpr int DigitZero = 48;
  constexpr int DigitRowKeys = 10;
  constexpr std::array<int, 6> Edges{0, -1, 58, 47, Int32Max, Int32Min};
  if (dice.Below(DigitRowOdds) != 0) {
    return DigitZero + dice.Below(DigitRowKeys);
  }
  return dice.OneIn(2) ? dice.Pick(Edges)
                       : static_cast<int>(static_cast<std::uint32_t>(dice.Bits()));
}

// Where the clock stands for one tick, and how far it moves per read. Most ticks run
// at a sane pace; a few straddle the point where the difference from the start
// overflows, or where the clock itself wraps, so that part of a tick is skipped.
struct ClockPlan {
  std::int32_t clock;
  std::int32_t step;
};

std::int32_t Wrap(std::int64_t value) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

ClockPlan RandomClock(Dice& dice, std::int32_t start) {
  constexpr int SaneMs = 30000;  // up to a factor of about 30, as half a minute after start
  constexpr int EarlyMs = 300;   // a little before the start: the factor turns negative
  constexpr int StillOdds = 50;
  constexpr int EarlyOdds = 20;
  constexpr int WrapOdds = 100;  // ticks that straddle an overflow
  constexpr int Straddle = 16;   // reads on the far side of it
  // Sparks flung by a factor of minus two million never come back; rare, or they would
  // soon fill the pool.
  constexpr int FlingOdds = 20;
  if (dice.OneIn(WrapOdds)) {
    // Rockets read the clock first, at most once each: past them, a straddle's far side
    // reaches the sparks.
    const int k = FireworksModel::RocketCount + dice.Below(Straddle);
    if (dice.OneIn(2)) {
      // The clock itself wraps, as a millisecond counter does after 24.8 days.
      return {Int32Max - k, 1};
    }
    // Where the difference from the start reaches the top or the bottom of its range.
    // Only one of them is a clock reading at all, depending on the start's sign.
    const std::int64_t top = std::int64_t{start} + Int32Max;
    const std::int64_t bottom = std::int64_t{start} + Int32Min;
    if (top <= Int32Max) {
      // Valid reads run past the top: rockets race to their burst, the rest is skipped.
      return {Wrap(top - k), 1};
    }
    if (dice.OneIn(FlingOdds)) {
      // Overflowed reads come back past the bottom: rockets are left alone, the sparks
      // after them are flung.
      return {Wrap(bottom - k), 1};
    }
  }
  if (dice.OneIn(StillOdds)) {
    return {start, 0};  // no time since the start: nothing moves, sparks stay on their line
  }
  if (dice.OneIn(EarlyOdds)) {
    return {Wrap(std::int64_t{start} - dice.Below(EarlyMs)), 0};
  }
  return {Wrap(std::int64_t{start} + dice.Below(SaneMs)), dice.Below(2)};
}

float RandomHeight(Dice& dice) {
  // Zero bursts every rocket at once. Clock jumps fling sparks so far up that they
  // never come down; a (bogus) height far above the top lets them go, as nothing
  // else would.
  constexpr float AboveEverything = -1e30f;
  constexpr float Usual = WindowHeight;
  constexpr float OnePixel = 15;
  constexpr float Short = 450;
  constexpr std::array<float, 10> Heights{0,     0,     OnePixel, Short, Short,
                                          Usual, Usual, Usual,    Usual, AboveEverything};
  return dice.Pick(Heights);
}

std::int32_t RandomStart(Dice& dice, int epoch) {
  // A start right below the wrap makes the clock itself wrap during the epoch. The
  // start's sign decides which side of the difference's overflow a tick can reach.
  constexpr std::int32_t MsBeforeWrap = 2500;
  constexpr std::int32_t NearWrap = Int32Max - MsBeforeWrap;
  constexpr std::int32_t Positive = 1000;
  constexpr std::array<std::int32_t, 5> Starts{Positive, NearWrap, Int32Min, -Positive, 0};
  return epoch < static_cast<int>(Starts.size())
             ? Starts[epoch]
             : static_cast<std::int32_t>(static_cast<std::uint32_t>(dice.Bits()));
}

TEST(ModelSoak, TwoHundredThousandHostileTicksKeepEveryPromise) {
  // Now and then the window changes height and the user changes pace. Left to it, a
  // steady stream of launches keeps the pool full, which is slow to check and tests
  // nothing new after a while; so most of the time keys come rarely, with short
  // storms in a window tall enough for the pool to fill.
  constexpr int ChangeOdds = 400;
  constexpr int StormOdds = 40;
  constexpr float StormHeight = 4e4f;  // sparks outlive a few rocket flights
  constexpr int QuietKeyOdds = 40;
  constexpr int StormKeysAtMost = 3;
  bool storm = false;
  std::mt19937_64 rng(Seed);
  Dice dice(rng);
  auto model = std::make_unique<FireworksModel>();
  ValidatingHost host(*model);
  host.random = &rng;
  std::int32_t start = 0;
  long totalAlive = 0;
  for (int tick = 0; tick < Ticks && !host.Failed(); ++tick) {
    host.op = tick;
    if (tick % TicksPerEpoch == 0) {
      start = RandomStart(dice, tick / TicksPerEpoch);
      host.clock = start;
      host.clockStep = 0;
      host.BeginInit();
      model->InitModel(host);
      host.EndInit();
    }
    if (dice.OneIn(ChangeOdds)) {
      storm = dice.OneIn(StormOdds);
      host.height = storm ? StormHeight : RandomHeight(dice);
    }
    const int keys = storm ? dice.Below(StormKeysAtMost) : dice.OneIn(QuietKeyOdds) ? 1 : 0;
    for (int k = keys; k > 0; --k) {
      const int key = RandomKey(dice);
      host.BeginLaunch(key);
      model->LaunchRocket(host, key);
      host.EndLaunch();
    }
    const ClockPlan plan = RandomClock(dice, start);
    host.clock = plan.clock;
    host.clockStep = plan.step;
    host.BeginTick();
    model->AdvanceTick(host);
    host.EndTick();
    // More than 1001 live sparks cannot even be stored; what can go wrong is a tick
    // drawing a spark twice or out of order, which the host checks call by call.
    totalAlive += CountAlive(model->TubuAlive());
  }
  EXPECT_EQ(host.Error(), "");
  std::printf("%-32s %.1f\n", "mean live sparks per tick", static_cast<double>(totalAlive) / Ticks);

  const Coverage& c = host.seen;
  const struct {
    const char* what;
    long count;
  } kinds[] = {
      {"bursts of fifty", c.fullBursts},
      {"bursts into a nearly full pool", c.partBursts},
      {"bursts into a full pool", c.lostBursts},
      {"updates skipped on overflow", c.skippedSteps},
      {"ticks straddling an overflow", c.straddles},
      {"launches", c.launches},
      {"launches with every slot busy", c.busyLaunches},
      {"keys ignored", c.ignoredKeys},
      {"sparks fallen out", c.fallenSparks},
      {"ticks at height zero", c.zeroHeightTicks},
      {"ticks with a full pool", c.fullPoolTicks},
  };
  for (const auto& kind : kinds) {
    EXPECT_GT(kind.count, 0) << "the soak never saw " << kind.what;
    std::printf("%-32s %ld\n", kind.what, kind.count);
  }
}

}  // namespace
}  // namespace pelmiro
