#include "hostkit/client_area.h"
#include "hostkit/fireworks_show.h"

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
  constexpr int W = WindowLayout::ClientWidth;
  constexpr int H = WindowLayout::ClientHeight;
  constexpr float Twips = DotCanvas::TwipsPerPixel;
  constexpr Step Steps[] = {
      {W, H, W * Twips, H * Twips},  // as the window opens
      {1920, 1080, 28800, 16200},    // full screen
      {0, 0, 28800, 16200},          // minimised from full screen
      {1920, 0, 28800, 16200},       // a collapsed height alone counts as empty too
      {W, H, W * Twips, H * Twips},  // restored
      {9000, 9000, 122880, 122880},  // no screen is larger: held at 8192
  };
  ClientArea area;
  EXPECT_EQ(area.HeightTwips(), H * Twips);  // before the first look at the window
  for (const Step& step : Steps) {
    area.Update(step.width, step.height);
    EXPECT_EQ(area.WidthTwips(), step.widthTwips) << step.width << " x " << step.height;
    EXPECT_EQ(area.HeightTwips(), step.heightTwips) << step.width << " x " << step.height;
  }
  EXPECT_EQ(WindowLayout::BoxRectFor(1080).top, 1054);
  EXPECT_EQ(WindowLayout::BoxRectFor(WindowLayout::ClientHeight).top, WindowLayout::BoxRect.top);
}

// The fireworks' host: the sky at the size the window gives, the timer's interval, the
// clock it is handed and the same random sequence in every show.
TEST(FireworksShow, IsTheModelsHost) {
  static std::int32_t now = 0;
  const FireworksShow::Clock clock = [] { return now; };
  FireworksShow a(PixelLayout::Argb32, clock);
  FireworksShow b(PixelLayout::Rgba8, clock);
  EXPECT_EQ(a.ClientWidth(), WindowLayout::ClientWidth * DotCanvas::TwipsPerPixel);
  EXPECT_EQ(a.ClientHeight(), WindowLayout::ClientHeight * DotCanvas::TwipsPerPixel);
  EXPECT_EQ(a.TimerInterval(), WindowLayout::TimerIntervalMs);
  now = 1234;
  EXPECT_EQ(a.TickCount(), 1234);
  for (int i = 0; i < 10000; ++i) {
    const float r = a.NextRandom();
    ASSERT_TRUE(r >= 0.0f && r < 1.0f);
    ASSERT_EQ(b.NextRandom(), r);
  }
  // A minimised window keeps the sky; the pixels follow the ratio.
  EXPECT_TRUE(a.Fit(1920, 1080, 1.5));
  EXPECT_FALSE(a.Fit(0, 0, 1.5));
  EXPECT_EQ(a.ClientWidth(), 1920 * DotCanvas::TwipsPerPixel);
  EXPECT_EQ(a.Canvas().Width(), 2880);
}

TEST(SoundDpi, TakesTheWindowsDpiElseTheSystemsElseTheStandardOne) {
  EXPECT_EQ(SoundDpi(144, 96), 144U);
  EXPECT_EQ(SoundDpi(0, 144), 144U);
  EXPECT_EQ(SoundDpi(0, 0), StandardDpi);
}

}  // namespace
}  // namespace pelmiro
