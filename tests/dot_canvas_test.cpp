#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <vector>

#include "hostkit/dot_canvas.h"
#include "hostkit/dot_size.h"
#include "hostkit/window_layout.h"

using pelmiro::DotCanvas;
using pelmiro::PixelLayout;

namespace {

constexpr int Width = pelmiro::WindowLayout::ClientWidth;
constexpr int Height = pelmiro::WindowLayout::ClientHeight;
constexpr float Twips = DotCanvas::TwipsPerPixel;
constexpr std::int32_t Red = 0x0000FF;     // red lives in the low byte
constexpr std::int32_t Orange = 0x007DFF;  // 255, 125, 0

using Box = std::array<int, 4>;  // left, top, width, height; all 0 when nothing is there

// How many pixels show the colour, and their bounding box.
std::pair<int, Box> Cover(const DotCanvas& canvas, std::int32_t color) {
  int n = 0, left = canvas.Width(), top = canvas.Height(), right = -1, bottom = -1;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      if (canvas.PixelAt(x, y) == canvas.PixelOf(color)) {
        ++n;
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
    }
  }
  return {n, n == 0 ? Box{} : Box{left, top, right - left + 1, bottom - top + 1}};
}

DotCanvas Canvas(int dotSize, double ratio = 1.0) {
  DotCanvas canvas(PixelLayout::Argb32, Width, Height, ratio);
  canvas.SetDotSize(dotSize);
  return canvas;
}

}  // namespace

// Each host reads the buffer in its own byte order: a QImage as native words, a
// browser canvas as the bytes R, G, B, A.
TEST(DotCanvasTest, SizeOneIsOneExactPixelInTheHostsByteOrder) {
  struct Row {
    PixelLayout layout;
    unsigned char bytes[4];
  };
  for (const Row& row : {Row{PixelLayout::Argb32, {0x00, 0x7D, 0xFF, 0xFF}},
                         Row{PixelLayout::Rgba8, {0xFF, 0x7D, 0x00, 0xFF}}}) {
    DotCanvas canvas(row.layout, Width, Height, 1.0);
    canvas.Plot(10 * Twips, 20 * Twips, Orange);
    canvas.Plot(499 * Twips, 441 * Twips, Red);
    canvas.Finish();
    EXPECT_EQ(0, std::memcmp(&canvas.Pixels()[20 * Width + 10], row.bytes, sizeof row.bytes));
    EXPECT_EQ(canvas.PixelAt(499, 441), canvas.PixelOf(Red));
    EXPECT_EQ(Cover(canvas, 0).first, Width * Height - 2);
    canvas.Clear();
    canvas.Finish();
    EXPECT_EQ(Cover(canvas, 0).first, Width * Height);
  }
}

TEST(DotCanvasTest, DotsAreRoundAndCentred) {
  const int centreX = 250, centreY = 200;
  for (int size : {2, 7, 10, 37, 100}) {
    DotCanvas canvas = Canvas(size);
    canvas.Plot(centreX * Twips, centreY * Twips, Orange);
    canvas.Finish();
    const auto [count, box] = Cover(canvas, Orange);
    EXPECT_EQ(box[2], size);
    EXPECT_EQ(box[3], size);
    EXPECT_LE(std::abs(box[0] + size / 2 - centreX) + std::abs(box[1] + size / 2 - centreY), 2);
    EXPECT_NEAR(count, std::numbers::pi * size * size / 4, 2.0 * size) << "size " << size;
  }
}

TEST(DotCanvasTest, LargeDotsClipAtEdges) {
  struct Row {
    float x, y;  // pixels
    double visibleShare;
  };
  for (const Row& row :
       {Row{0, 200, 0.5}, Row{0, 0, 0.25}, Row{Width, Height, 0.25}, Row{Width + 40, 200, 0.05}}) {
    DotCanvas canvas = Canvas(DotCanvas::MaxDotSize);
    canvas.Plot(row.x * Twips, row.y * Twips, Red);
    canvas.Finish();
    EXPECT_NEAR(Cover(canvas, Red).first / (std::numbers::pi * 2500), row.visibleShare, 0.04)
        << row.x << ", " << row.y;
  }
}

TEST(DotCanvasTest, FarOrNonFinitePointsDrawNothing) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float big = std::numeric_limits<float>::max();
  struct Row {
    float x, y;  // twips
  };
  for (int size : {DotCanvas::MinDotSize, DotCanvas::MaxDotSize}) {
    for (const Row& row : {Row{3000, -100000}, Row{1e12f, 3000}, Row{3000, 3e9f}, Row{big, -big},
                           Row{inf, 3000}, Row{3000, -inf}, Row{nan, 3000}, Row{nan, nan}}) {
      DotCanvas canvas = Canvas(size);
      canvas.Plot(row.x, row.y, Red);
      canvas.Finish();
      EXPECT_EQ(Cover(canvas, 0).first, Width * Height) << row.x << ", " << row.y << " " << size;
    }
  }
}

// Dots land on the pixel the centre falls in (floored, not rounded), and their device
// diameter is the logical size times the ratio, rounded: laptops run at 1.25 and 1.5.
TEST(DotCanvasTest, PixelRatiosAndFractionalPositions) {
  struct Row {
    double ratio;
    int size;
    float x, y;  // logical pixels
    int diameter;
    Box box;
  };
  const Row rows[] = {
      {1, 1, 10.75f, 20.5f, 1, {10, 20, 1, 1}},
      {1, 1, -0.5f, 3.25f, 1, {}},  // floors to column -1: off the picture
      {1, 10, 50.6f, 40.4f, 10, {45, 35, 10, 10}},
      {1.25, 1, 10, 20, 1, {12, 25, 1, 1}},
      {1.25, 3, 10.5f, 20, 4, {11, 23, 4, 4}},
      {1.25, 100, 250, 200, 125, {250, 188, 125, 125}},
      {1.5, 1, 10, 20.5f, 2, {14, 29, 2, 2}},
      {1.5, 3, 7.3f, 9.9f, 5, {8, 12, 5, 5}},
      {1.5, 100, 250, 200, 150, {300, 225, 150, 150}},
      {2, 1, 10, 20, 2, {19, 39, 2, 2}},
      {2, 10, 50, 40, 20, {90, 70, 20, 20}},
  };
  for (const Row& row : rows) {
    DotCanvas canvas = Canvas(row.size, row.ratio);
    EXPECT_EQ(canvas.Width(), std::lround(Width * row.ratio));
    EXPECT_EQ(canvas.DevicePixels(), row.diameter) << row.ratio << " size " << row.size;
    canvas.Plot(row.x * Twips, row.y * Twips, Red);
    canvas.Finish();
    EXPECT_EQ(Cover(canvas, Red).second, row.box)
        << row.ratio << " size " << row.size << " at " << row.x << ", " << row.y;
  }
}

// A frame is drawn only when it changed, erased dot by dot and painted front to back:
// each step's pixels must equal those of a fresh canvas painted one dot at a time, and
// Changed() must bound what changed (the draw fuzzer checks that it always does).
TEST(DotCanvasTest, FramesAreDrawnOnlyWhenChangedAndMatchPaintingInOrder) {
  constexpr std::int32_t Green = 0x00FF00;
  struct Dot {
    float x, y;  // logical pixels
    std::int32_t color;
  };
  struct Step {
    double ratio;
    int size;
    std::vector<Dot> dots;
    bool changed;
    Box rect{-1};  // Changed() when given; unchanged steps must give an empty one
  };
  constexpr Box All{0, 0, Width, Height};
  constexpr Box AllAt15{0, 0, 750, 663};
  const Dot corner{0, 0, Green}, spark{10.4f, 20, Orange}, samePixel{10.9f, 20.2f, Orange};
  const Dot far{0, -100000 / Twips, Green}, over{10, 21, Red};
  std::vector<Dot> many(DotCanvas::ReservedDots + 1, spark);
  std::vector<Dot> big(300, spark);
  for (int i = 0; i < 300; ++i) {
    big[i] = {float(i % 25 * 20), float(i / 25 * 35), i % 2 ? Orange : Red};
  }
  const Step steps[] = {
      {1, 1, {corner}, true, All},  // nothing was shown yet
      {1, 1, {corner}, false},
      {1, 1, {corner, spark}, true, {0, 0, 11, 21}},
      {1, 1, {corner, samePixel}, false},   // moved within the same pixel
      {1, 1, {samePixel, corner}, true},    // same dots, other order
      {1, 1, {spark, corner, far}, false},  // the off-picture dot draws nothing
      {1, 1, {spark, corner, {10.4f, 20, Red}}, true, {0, 0, 11, 21}},
      {1, 3, {spark, over}, true, All},         // a new size fills
      {1, 3, {over, spark}, true},              // overlapping: the order decides the colour
      {1, 2, {over, spark}, true},              // the same corners, a smaller dot
      {1, 10, {over, spark}, true},             // another size
      {1.5, 10, {over, spark}, true, AllAt15},  // another pixel ratio
      {1.5, 10, {over, spark}, false},
      {1.5, 10, many, true, {8, 23, 15, 16}},     // two squares erased, one drawn
      {1.5, 10, many, false},                     // more dots than reserved for are compared too
      {1.5, 10, {corner}, true, {0, 0, 23, 38}},  // the spark's square erased, the corner's drawn
      {1, 100, big, true},                        // overlapping: painted front to back
      {1, 100, {corner}, true, All},              // erasing would cost more than filling
      {1, 100, {corner}, false},
  };
  DotCanvas canvas = Canvas(1);
  int index = 0;
  for (const Step& step : steps) {
    canvas.Resize(Width, Height, step.ratio);
    canvas.SetDotSize(step.size);
    DotCanvas fresh = Canvas(step.size, step.ratio);
    canvas.Clear();
    for (const Dot& dot : step.dots) {
      canvas.Plot(dot.x * Twips, dot.y * Twips, dot.color);
      fresh.Plot(dot.x * Twips, dot.y * Twips, dot.color);
      fresh.Finish();  // one dot at a time: painted in order, each over the last
    }
    EXPECT_EQ(canvas.Finish(), step.changed) << "step " << index;
    const auto bytes = sizeof(std::uint32_t) * canvas.Width() * canvas.Height();
    EXPECT_EQ(0, std::memcmp(canvas.Pixels(), fresh.Pixels(), bytes)) << "step " << index;
    const auto [left, top, width, height] = canvas.Changed();
    if (!step.changed || step.rect[0] >= 0) {
      EXPECT_EQ((Box{left, top, width, height}), step.changed ? step.rect : Box{}) << index;
    }
    ++index;
  }
}

// The window's box tests cover the ordinary values; here, what only a browser's box can
// hand over: no number at all.
TEST(DotSizeRuleTest, ClampsByWritingBackAndRoundsHalfToEven) {
  struct Row {
    double typed;
    double shown;  // what the box holds afterwards
    int size;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const Row& row : {Row{150, 100, 100}, Row{nan, 1, 1}, Row{2.5, 2.5, 2}, Row{3.5, 3.5, 4}}) {
    double box = row.typed;
    int writes = 0;
    const int size = pelmiro::ApplyDotSizeRule([&] { return box; },
                                               [&](double value) { box = value, ++writes; });
    EXPECT_EQ(box, row.shown) << row.typed;
    EXPECT_EQ(size, row.size) << row.typed;
    EXPECT_EQ(writes, row.shown == row.typed ? 0 : 1) << row.typed;
  }
}
