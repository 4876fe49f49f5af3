#include "hostkit/client_area.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace pelmiro {
namespace {

TEST(ClientArea, FollowsTheWindowButKeepsItsLastSizeWhileMinimised) {
  struct Step {
    int width, height;              // the live client size handed in
    float widthTwips, heightTwips;  // what the model then sees
  };
  constexpr Step Steps[] = {
      {500, 442, 7500, 6630},      // as the window opens
      {1920, 1080, 28800, 16200},  // full screen
      {0, 0, 28800, 16200},        // minimised from full screen
      {1920, 0, 28800, 16200},     // a collapsed height alone counts as empty too
      {500, 442, 7500, 6630},      // restored
  };
  ClientArea area;
  EXPECT_EQ(area.HeightTwips(), 6630.0F);  // before the first look at the window
  for (const Step& step : Steps) {
    area.Update(step.width, step.height);
    EXPECT_EQ(area.WidthTwips(), step.widthTwips) << step.width << " x " << step.height;
    EXPECT_EQ(area.HeightTwips(), step.heightTwips) << step.width << " x " << step.height;
  }
  EXPECT_EQ(WindowLayout::BoxRectFor(1080).top, 1054);
  EXPECT_EQ(WindowLayout::BoxRectFor(WindowLayout::ClientHeight).top, WindowLayout::BoxRect.top);
}

TEST(SoundDpi, TakesTheWindowsDpiElseTheSystemsElseTheStandardOne) {
  EXPECT_EQ(SoundDpi(144, 96), 144U);
  EXPECT_EQ(SoundDpi(0, 144), 144U);
  EXPECT_EQ(SoundDpi(0, 0), StandardDpi);
}

TEST(PointerIdle, HidesAfterTwoSecondsAtRestAcrossTheClockWrap) {
  constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
  struct Case {
    std::int32_t moved, now;
    bool hidden;
  };
  constexpr Case Cases[] = {
      {1000, 2999, false},
      {1000, 3000, true},
      {Max - 500, Max, false},
      {Max - 500, std::numeric_limits<std::int32_t>::min() + 1499, true},  // past the wrap
  };
  for (const Case& c : Cases) {
    PointerIdle idle;
    idle.Moved(c.moved);
    EXPECT_EQ(idle.Hidden(c.now), c.hidden) << c.moved << " -> " << c.now;
  }
}

}  // namespace
}  // namespace pelmiro
