#include "model/fireworks_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "fake_host.h"

namespace pelmiro {
namespace {

using testing::Call;
using testing::FakeHost;
using testing::HostCall;

constexpr int Key1 = 49;
constexpr std::int32_t Int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Int32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t Orange = 0x007DFF;  // (255, 125, 0)
constexpr std::int32_t Yellow = 0x00FAFF;  // (255, 250, 0)
constexpr std::int32_t Green = 0x00FF00;

int AliveCount(const FireworksModel& m) {
  int n = 0;
  for (bool alive : m.TubuAlive()) {
    n += alive ? 1 : 0;
  }
  return n;
}

// Fills every spark slot with a motionless spark well above the bottom edge.
void FillPool(FireworksModel& m) {
  for (int n = 0; n < FireworksModel::TubuCount; ++n) {
    m.CreateTubu(n, 100, 0, 0, Orange);
  }
}

struct Fixture : ::testing::Test {
  FakeHost host;
  FireworksModel model;

  // Starts the clock at `start` and leaves it where the next reads give factor f
  // with the default 99 ms interval (f = elapsed / 100000 * 99).
  void StartAt(std::int32_t start, std::int32_t elapsed = 0) {
    host.tick = start;
    model.InitModel(host);
    host.tick = start + elapsed;
    host.calls.clear();
  }
};

// ---- clock -----------------------------------------------------------------

struct FactorRow {
  std::int32_t start;
  std::int32_t now;
  std::int32_t interval;
  std::optional<double> factor;
};

class StepFactorTest : public Fixture, public ::testing::WithParamInterface<FactorRow> {};

TEST_P(StepFactorTest, FollowsTimeSinceStartUp) {
  const FactorRow& row = GetParam();
  host.tick = row.start;
  model.InitModel(host);
  host.tick = row.now;
  host.interval = row.interval;
  const std::optional<double> f = model.StepFactor(host);
  ASSERT_EQ(f.has_value(), row.factor.has_value());
  if (f) {
    EXPECT_NEAR(*f, *row.factor, 1e-12 * std::max(1.0, std::abs(*row.factor)));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StepFactorTest,
    ::testing::Values(FactorRow{5000, 5000, 99, 0.0}, FactorRow{0, 1000, 99, 0.99},
                      FactorRow{0, 10000, 99, 9.9}, FactorRow{0, 60000, 99, 59.4},
                      FactorRow{0, 1000, 50, 0.5},
                      // started negative, crossing -1 -> 0 stays small and right
                      FactorRow{-5, 5, 99, 0.0099},
                      // the counter passed 2^31 while running: overflow
                      FactorRow{Int32Max - 100, Int32Min + 100, 99, std::nullopt},
                      FactorRow{Int32Min, Int32Max, 99, std::nullopt},
                      FactorRow{Int32Max, Int32Min, 99, std::nullopt},
                      // once the true difference fits again it is negative, and so is f
                      FactorRow{Int32Max - 100, -101, 99, -21474.83648 * 99},
                      FactorRow{1000, 0, 99, -0.99}));

TEST_F(Fixture, InitTakesStartTickFreesSparksAndKeepsRockets) {
  StartAt(0, 1000);
  model.LaunchRocket(host, Key1);
  model.CreateTubu(1, 2, 3, 4, Orange);
  const double rocketY = model.RocketY()[0];
  host.tick = 777;
  model.InitModel(host);
  EXPECT_EQ(model.StartTick(), 777);
  EXPECT_EQ(AliveCount(model), 0);
  EXPECT_EQ(model.RocketY()[0], rocketY);
}

// ---- launching --------------------------------------------------------------

struct LaunchRow {
  std::vector<int> keys;
  std::vector<int> flying;  // slots in flight afterwards
  std::size_t randomsDrawn;
};

class LaunchTest : public Fixture, public ::testing::WithParamInterface<LaunchRow> {};

TEST_P(LaunchTest, TakesFirstIdleSlotFromTheKeysSlotUpwards) {
  StartAt(0);
  for (int key : GetParam().keys) {
    model.LaunchRocket(host, key);
  }
  std::vector<int> flying;
  for (int i = 0; i < FireworksModel::RocketCount; ++i) {
    if (model.RocketY()[i] == host.height) {
      flying.push_back(i);
    }
  }
  EXPECT_EQ(flying, GetParam().flying);
  EXPECT_EQ(host.randomsDrawn, GetParam().randomsDrawn);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LaunchTest,
    ::testing::Values(
        LaunchRow{{49}, {0}, 1}, LaunchRow{{51}, {2}, 1}, LaunchRow{{57}, {8}, 1},
        LaunchRow{{53, 53, 53}, {4, 5, 6}, 3},
        LaunchRow{{49, 49, 49, 49, 49, 49, 49, 49, 49, 49}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 10},
        // the eleventh press finds nothing and draws no random number
        LaunchRow{{49, 49, 49, 49, 49, 49, 49, 49, 49, 49, 49}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 10},
        // "9" only looks at slots 8 and 9
        LaunchRow{{57, 57, 57}, {8, 9}, 2},
        // keys that launch nothing, among them "0" and the keypad digits
        LaunchRow{{48, 96, 97, 105, 65, 32, 47, 58, 0, -1, 305, 0x10031}, {}, 0}));

TEST_F(Fixture, KeysOutsideOneToNineMakeNoHostCallAtAll) {
  StartAt(0);
  for (int key : {48, 96, 101, 105, 0, -49, 58, 255, 256, 49 + 256, Int32Max, Int32Min}) {
    model.LaunchRocket(host, key);
  }
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(Fixture, LaunchPlacesRocketAtBottomEdgeAtRandomX) {
  StartAt(0);
  host.randoms = {0.3f};
  model.LaunchRocket(host, Key1);
  EXPECT_EQ(model.RocketY()[0], 6630.0);
  EXPECT_EQ(model.RocketX()[0], double{0.3f} * 7500.0);  // exact product of the two singles
  const std::vector<Call> order{Call::Height, Call::Height, Call::Width, Call::Random};
  EXPECT_EQ(host.Kinds(), order);
}

// ---- rockets ----------------------------------------------------------------

TEST_F(Fixture, FirstClimbStepShrinksWithRootOfDistance) {
  StartAt(0, 1000);  // f = 0.99
  model.LaunchRocket(host, Key1);
  model.RocketPass(host);
  const double expected = 6630.0 - 0.99 * std::sqrt(0.75 * 6630.0);
  EXPECT_NEAR(model.RocketY()[0], expected, 1e-9);
}

TEST_F(Fixture, ClimbCallsHostInOrder) {
  StartAt(0, 1000);
  model.LaunchRocket(host, Key1);
  host.calls.clear();
  model.RocketPass(host);
  // slot 0 is in flight; slots 1..9 were never launched and sit idle at (0, 0)
  std::vector<Call> expected{Call::Plot, Call::Height,   Call::Height,
                             Call::Tick, Call::Interval, Call::Height};
  for (int i = 1; i < FireworksModel::RocketCount; ++i) {
    expected.insert(expected.end(), {Call::Plot, Call::Height});
  }
  EXPECT_EQ(host.Kinds(), expected);
}

TEST_F(Fixture, OneMinuteInRocketBurstsOnItsSecondTick) {
  StartAt(0, 60000);  // f = 59.4
  model.LaunchRocket(host, Key1);
  model.AdvanceTick(host);
  EXPECT_EQ(AliveCount(model), 0);
  EXPECT_GT(model.RocketY()[0], 6630.0 / 4);
  model.AdvanceTick(host);
  EXPECT_EQ(AliveCount(model), 50);
  EXPECT_EQ(model.RocketY()[0], FireworksModel::ParkedY);
}

TEST_F(Fixture, RocketsNeverLaunchedShowAtTopLeftAndStayIdle) {
  StartAt(0, 5000);
  model.AdvanceTick(host);
  model.AdvanceTick(host);
  const std::vector<HostCall> plots = host.Plots();
  ASSERT_EQ(plots.size(), 20u);
  for (const HostCall& p : plots) {
    EXPECT_EQ(p, (HostCall{Call::Plot, 0, 0, Green}));
  }
  EXPECT_EQ(AliveCount(model), 0);
}

TEST_F(Fixture, BurstTickShowsRocketBeforeClimbAndSparksAtBurstPoint) {
  StartAt(0, 60000);
  host.randoms = {0.5f};
  model.LaunchRocket(host, Key1);
  model.AdvanceTick(host);
  const float before = static_cast<float>(model.RocketY()[0]);
  host.calls.clear();
  model.AdvanceTick(host);
  const std::vector<HostCall> plots = host.Plots();
  ASSERT_EQ(plots.size(), 10u + 50u);
  EXPECT_EQ(plots[0], (HostCall{Call::Plot, 3750, before, Green}));
  for (std::size_t i = 10; i < plots.size(); ++i) {
    EXPECT_EQ(plots[i].x, plots[10].x);
    EXPECT_EQ(plots[i].y, plots[10].y);
  }
  EXPECT_EQ(plots[10].x, 3750.0f);
  EXPECT_LT(plots[10].y, 6630.0f / 4);
  EXPECT_LT(plots[10].y, before);
}

TEST_F(Fixture, ZeroHeightBurstsUnlaunchedRocketsAndRelaunchesParkedOnes) {
  host.height = 0;
  StartAt(0);  // f = 0, so the sparks stay where they are born
  model.AdvanceTick(host);
  // all ten never-launched rockets burst at (0, 0) in the first pass
  EXPECT_EQ(AliveCount(model), 500);
  EXPECT_EQ(model.TubuX()[0], 0.0);
  for (double y : model.RocketY()) {
    EXPECT_EQ(y, FireworksModel::ParkedY);
  }
  model.LaunchRocket(host, Key1);
  EXPECT_EQ(model.RocketY()[0], 0.0);
  model.InitModel(host);  // empty the pool, keep the rockets
  model.AdvanceTick(host);
  EXPECT_EQ(AliveCount(model), 50);
  EXPECT_EQ(model.RocketY()[0], FireworksModel::ParkedY);
}

TEST_F(Fixture, RocketExactlyAtBurstHeightBurstsWithoutMoving) {
  // y rounded to single precision sits exactly on the burst height: in flight,
  // and with f = 0 its floor is already at the height, so it bursts.
  host.height = 4000;
  StartAt(0);
  model.LaunchRocket(host, Key1);
  host.height = 4000.0f * 4;  // burst height becomes the rocket's own y
  model.RocketPass(host);
  EXPECT_EQ(model.RocketY()[0], FireworksModel::ParkedY);
  EXPECT_EQ(AliveCount(model), 50);
}

// After a climb y is a double that single precision rounds up onto the burst height
// (the height changed meanwhile): the rocket has reached it, so it is neither idle for
// a launch nor left hanging by the flight test.
TEST_F(Fixture, RocketRoundingUpOntoBurstHeightIsInFlightNotIdle) {
  constexpr std::int32_t Elapsed = 1001;  // one climb from here leaves y rounding up
  StartAt(0, Elapsed);
  model.LaunchRocket(host, Key1);
  model.RocketPass(host);
  const double y = model.RocketY()[0];
  const float rounded = static_cast<float>(y);
  ASSERT_GT(double{rounded}, y);
  host.height = rounded * 4;
  model.LaunchRocket(host, Key1);
  EXPECT_EQ(model.RocketY()[0], y);
  EXPECT_EQ(model.RocketY()[1], host.height);
  model.RocketPass(host);
  EXPECT_EQ(model.RocketY()[0], FireworksModel::ParkedY);
  EXPECT_EQ(AliveCount(model), 50);
}

// ---- bursts -----------------------------------------------------------------

TEST_F(Fixture, BurstMakesTwoRingsOfTwentyFive) {
  model.BurstRocket(100, 200);
  ASSERT_EQ(AliveCount(model), 50);
  for (int n = 0; n < 50; ++n) {
    const bool inner = n < 25;
    const double speed = inner ? 5 : 10;
    const double degrees = (n % 25) * 15 + (inner ? 25 : 50);
    const double radians = degrees * 3.141592654 / 180;
    SCOPED_TRACE(n);
    EXPECT_EQ(model.TubuX()[n], 100);
    EXPECT_EQ(model.TubuY()[n], 200);
    EXPECT_NEAR(model.TubuVX()[n], speed * std::cos(radians), 1e-12);
    EXPECT_NEAR(model.TubuVY()[n], speed * std::sin(radians), 1e-12);
    EXPECT_NEAR(std::hypot(model.TubuVX()[n], model.TubuVY()[n]), speed, 1e-12);
    EXPECT_EQ(model.TubuColor()[n], inner ? Orange : Yellow);
  }
  // 0 and 360 degrees: same start and colour, velocity differing only far down
  for (int first : {0, 25}) {
    const int last = first + 24;
    EXPECT_NE(model.TubuVX()[first], model.TubuVX()[last]);
    EXPECT_NEAR(model.TubuVX()[first], model.TubuVX()[last], 1e-7);
    EXPECT_NEAR(model.TubuVY()[first], model.TubuVY()[last], 1e-7);
  }
}

TEST_F(Fixture, BurstIntoNearlyFullPoolFillsFreeSlotsInnerRingFirst) {
  FillPool(model);
  StartAt(0);  // frees everything
  for (int n = 0; n < FireworksModel::TubuCount - 20; ++n) {
    model.CreateTubu(0, 0, 0, 0, Green);
  }
  model.BurstRocket(5, 5);
  EXPECT_EQ(AliveCount(model), FireworksModel::TubuCount);
  for (int n = FireworksModel::TubuCount - 20; n < FireworksModel::TubuCount; ++n) {
    EXPECT_EQ(model.TubuColor()[n], Orange);
  }
}

// ---- spark pool -------------------------------------------------------------

TEST_F(Fixture, FullPoolDropsNewSpark) {
  FillPool(model);
  const auto x = model.TubuX();
  model.CreateTubu(-1, -1, -1, -1, Yellow);
  EXPECT_EQ(model.TubuX(), x);
  EXPECT_EQ(model.TubuColor()[0], Orange);
}

TEST_F(Fixture, FreedSlotsAreReusedLowestFirst) {
  StartAt(0);
  for (int n = 0; n < 10; ++n) {
    const bool below = n == 3 || n == 7;
    model.CreateTubu(n, below ? 7000 : 100, 0, 0, Orange);
  }
  model.TubuPass(host);  // f = 0: nothing moves, but 3 and 7 are below the edge
  EXPECT_FALSE(model.TubuAlive()[3]);
  EXPECT_FALSE(model.TubuAlive()[7]);
  model.CreateTubu(30, 0, 0, 0, Yellow);
  model.CreateTubu(70, 0, 0, 0, Yellow);
  model.CreateTubu(100, 0, 0, 0, Yellow);
  EXPECT_EQ(model.TubuX()[3], 30);
  EXPECT_EQ(model.TubuX()[7], 70);
  EXPECT_EQ(model.TubuX()[10], 100);
}

struct FallRow {
  double y;
  float height;
  bool alive;
};

class FallOutTest : public Fixture, public ::testing::WithParamInterface<FallRow> {};

TEST_P(FallOutTest, SparkIsFreedOnlyBelowTheBottomEdge) {
  StartAt(0);  // f = 0
  host.height = GetParam().height;
  model.CreateTubu(10, GetParam().y, 0, 0, Orange);
  model.TubuPass(host);
  EXPECT_EQ(model.TubuAlive()[0], GetParam().alive);
}

INSTANTIATE_TEST_SUITE_P(Rows, FallOutTest,
                         ::testing::Values(FallRow{6630, 6630, true}, FallRow{6630.5, 6630, false},
                                           // rounds to 6630 in single precision: still on the edge
                                           FallRow{6630.0000001, 6630, true},
                                           FallRow{6000, 5000, false}, FallRow{0, 0, true},
                                           FallRow{1e-30, 0, false}));

TEST_F(Fixture, SparkMovesThenFeelsGravity) {
  StartAt(0, 1000);  // f = 0.99 for every read
  model.CreateTubu(100, 200, 3, -4, Orange);
  model.TubuPass(host);
  EXPECT_DOUBLE_EQ(model.TubuX()[0], 100 + 0.99 * 3);
  EXPECT_DOUBLE_EQ(model.TubuY()[0], 200 + 0.99 * -4);
  EXPECT_DOUBLE_EQ(model.TubuVY()[0], -4 + 0.99 * 0.1);
  EXPECT_EQ(model.TubuVX()[0], 3);
}

TEST_F(Fixture, ZeroFactorDrawsButDoesNotMove) {
  StartAt(0);
  model.CreateTubu(100, 200, 3, -4, Orange);
  model.TubuPass(host);
  model.TubuPass(host);
  EXPECT_EQ(host.Plots().size(), 2u);
  EXPECT_EQ(model.TubuX()[0], 100);
  EXPECT_EQ(model.TubuY()[0], 200);
  EXPECT_EQ(model.TubuVY()[0], -4);
}

TEST_F(Fixture, SparkCallsHostInOrder) {
  StartAt(0, 1000);
  model.CreateTubu(100, 200, 3, -4, Yellow);
  model.TubuPass(host);
  const std::vector<Call> order{Call::Plot,     Call::Tick, Call::Interval, Call::Tick,
                                Call::Interval, Call::Tick, Call::Interval, Call::Height};
  EXPECT_EQ(host.Kinds(), order);
  EXPECT_EQ(host.calls[0], (HostCall{Call::Plot, 100, 200, Yellow}));
}

TEST_F(Fixture, OverflowSkipsOnlyTheUpdateThatAskedForTheFactor) {
  // The first read is the last one whose difference still fits in 32 bits.
  StartAt(-10, Int32Max);
  host.tickStep = 1;
  model.CreateTubu(100, 200, 3, -4, Orange);
  model.TubuPass(host);
  EXPECT_GT(model.TubuX()[0], 100);
  EXPECT_EQ(model.TubuY()[0], 200);
  EXPECT_EQ(model.TubuVY()[0], -4);
  // an overflowing read asks no timer interval
  const std::vector<Call> order{Call::Plot, Call::Tick, Call::Interval,
                                Call::Tick, Call::Tick, Call::Height};
  EXPECT_EQ(host.Kinds(), order);
}

TEST_F(Fixture, ClockWrapFreezesEverythingThenRunsBackwards) {
  StartAt(Int32Max - 100, 50);
  model.LaunchRocket(host, Key1);
  model.CreateTubu(100, 200, 3, -4, Orange);
  model.AdvanceTick(host);
  const double rocketY = model.RocketY()[0];
  const double sparkX = model.TubuX()[0];
  host.tick = Int32Min + 100;  // the counter passed 2^31: every update overflows
  model.AdvanceTick(host);
  EXPECT_EQ(model.RocketY()[0], rocketY);
  EXPECT_EQ(model.TubuX()[0], sparkX);
  host.tick = -50;  // the difference fits again, negative now
  model.AdvanceTick(host);
  EXPECT_GT(model.RocketY()[0], rocketY);
  EXPECT_LT(model.TubuX()[0], sparkX);
}

}  // namespace
}  // namespace pelmiro
