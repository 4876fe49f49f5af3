// What drawing one full tick costs through the window's own path, against a plain
// antialiased QPainter ellipse per dot into a picture of the same size.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "bench_clock.h"
#include "form1.h"
#include "number1.h"
#include "spread_points.h"

namespace pelmiro::bench {
namespace {

constexpr int DotCount = FireworksModel::TubuCount + FireworksModel::RocketCount;
constexpr double AreaWidth = Form1::ClientWidthPx * DotSurface::TwipsPerPixel;
constexpr double AreaHeight = Form1::ClientHeightPx * DotSurface::TwipsPerPixel;
constexpr std::int32_t Orange = Rgb(255, 125, 0);
constexpr std::int32_t Yellow = Rgb(255, 250, 0);
constexpr QRgb Black = 0xFF000000;

struct Dot {
  float x;
  float y;
  std::int32_t color;
};

// Rockets first, then sparks of both ring colours, as a tick plots them.
std::array<Dot, DotCount> SpreadDots() {
  std::array<Dot, DotCount> dots{};
  for (int i = 0; i < DotCount; ++i) {
    const auto [u, v] = SpreadPoint(i);
    const std::int32_t color =
        i < FireworksModel::RocketCount ? FireworksModel::RocketColor : (i % 2 ? Orange : Yellow);
    dots[i] = {static_cast<float>(u * AreaWidth), static_cast<float>(v * AreaHeight), color};
  }
  return dots;
}

const std::array<Dot, DotCount> Dots = SpreadDots();

void SetDotSize(Form1& form, int size) {
  form.NumberBox()->setValue(size);
  form.ApplyDotSize();
}

// Every other tick shifts the dots by a pixel: a picture that did not change would not
// be drawn at all.
void DrawTick(Form1& form, bool shifted) {
  const float shift = shifted ? static_cast<float>(DotSurface::TwipsPerPixel) : 0;
  form.ClearSurface();
  for (const Dot& d : Dots) {
    form.PlotDot(d.x + shift, d.y, d.color);
  }
  if (!form.FinishPicture()) {
    std::abort();  // the tick would time nothing
  }
}

void EllipseTick(QImage& image, int size) {
  image.fill(Black);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  const double radius = size / 2.0;
  for (const Dot& d : Dots) {
    painter.setBrush(QColor(DotSurface::ToRgb(d.color)));
    const QPointF centre(d.x / DotSurface::TwipsPerPixel, d.y / DotSurface::TwipsPerPixel);
    painter.drawEllipse(centre, radius, radius);
  }
}

// Both ways of drawing share the run: an ellipse tick follows whenever the ellipses
// have had less time so far than the window's path, so both see the same machine
// state without the slow one dominating the run. The reported time is the window's;
// the ellipse time and the speed-up become counters.
void BM_DrawTick(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  Form1 form;
  SetDotSize(form, size);
  if (form.DotSize() != size) {
    state.SkipWithError("the box did not set the dot size");
    return;
  }
  const QImage& surface = form.Surface().Image();
  QImage reference(surface.size(), surface.format());
  long drawTicks = 0;
  double drawSeconds = 0;
  double ellipseSeconds = 0;
  int ellipseTicks = 0;
  for (auto _ : state) {
    const double tick = SecondsOf([&] { DrawTick(form, drawTicks++ % 2 == 1); });
    benchmark::DoNotOptimize(surface.constBits());
    benchmark::ClobberMemory();
    drawSeconds += tick;
    state.SetIterationTime(tick);
    if (ellipseSeconds <= drawSeconds) {
      ellipseSeconds += SecondsOf([&] { EllipseTick(reference, size); });
      benchmark::DoNotOptimize(reference.constBits());
      benchmark::ClobberMemory();
      ++ellipseTicks;
    }
  }
  const double perEllipseTick = ellipseSeconds / ellipseTicks;
  const double perDrawTick = drawSeconds / static_cast<double>(state.iterations());
  state.counters["ellipse_ms"] = perEllipseTick * 1e3;
  state.counters["ellipse_ticks"] = ellipseTicks;
  state.counters["speedup"] = perEllipseTick / perDrawTick;
}
BENCHMARK(BM_DrawTick)
    ->Arg(1)
    ->Arg(10)
    ->Arg(DotSurface::MaxDotSize)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pelmiro::bench

int main(int argc, char** argv) {
  // No display is needed or wanted: the window is drawn off screen.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
