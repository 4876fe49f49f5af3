// What drawing one full tick costs through the window's own path, against a plain
// antialiased QPainter ellipse per dot into a picture of the same size; and the same
// tick with the window in full screen on a 3840 x 2160 screen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "bench_clock.h"
#include "form1.h"
#include "hostkit/window_layout.h"
#include "number1.h"
#include "spread_points.h"

namespace pelmiro::bench {
namespace {

constexpr int DotCount = FireworksModel::TubuCount + FireworksModel::RocketCount;
// The only screen the benchmark's offscreen platform has (see screen_4k.json).
constexpr QSize FullScreenSize(3840, 2160);
constexpr std::int32_t Orange = Rgb(255, 125, 0);
constexpr std::int32_t Yellow = Rgb(255, 250, 0);
constexpr QRgb Black = 0xFF000000;

struct Dot {
  float x;
  float y;
  std::int32_t color;
};

using Dots = std::array<Dot, DotCount>;

// Rockets first, then sparks of both ring colours, as a tick plots them, spread over a
// sky of the given size.
Dots SpreadDots(QSize sky) {
  const double width = sky.width() * DotCanvas::TwipsPerPixel;
  const double height = sky.height() * DotCanvas::TwipsPerPixel;
  Dots dots{};
  for (int i = 0; i < DotCount; ++i) {
    const auto [u, v] = SpreadPoint(i);
    const std::int32_t color =
        i < FireworksModel::RocketCount ? FireworksModel::RocketColor : (i % 2 ? Orange : Yellow);
    dots[i] = {static_cast<float>(u * width), static_cast<float>(v * height), color};
  }
  return dots;
}

const Dots WindowDots = SpreadDots(QSize(WindowLayout::ClientWidth, WindowLayout::ClientHeight));
const Dots FullScreenDots = SpreadDots(FullScreenSize);

void SetDotSize(Form1& form, int size) {
  form.NumberBox()->setValue(size);
  form.ApplyDotSize();
}

// Every other tick shifts the dots by a pixel: a picture that did not change would not
// be drawn at all.
void DrawTick(Form1& form, bool shifted, const Dots& dots = WindowDots) {
  const float shift = shifted ? static_cast<float>(DotCanvas::TwipsPerPixel) : 0;
  FireworksShow& show = form.Show();
  show.ClearSurface();
  for (const Dot& d : dots) {
    show.PlotDot(d.x + shift, d.y, d.color);
  }
  if (!show.Finish()) {
    std::abort();  // the tick would time nothing
  }
}

void EllipseTick(QImage& image, int size) {
  image.fill(Black);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  const double radius = size / 2.0;
  for (const Dot& d : WindowDots) {
    painter.setBrush(QColor(DotSurface::ToRgb(d.color)));
    const QPointF centre(d.x / DotCanvas::TwipsPerPixel, d.y / DotCanvas::TwipsPerPixel);
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
  if (form.Show().Canvas().DotSize() != size) {
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
    ->Arg(DotCanvas::MaxDotSize)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The same tick with the window in full screen: a sky of 3840 x 2160 pixels.
void BM_DrawTickFullScreen(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  Form1 form;
  SetDotSize(form, size);
  form.showFullScreen();
  QElapsedTimer waited;
  waited.start();
  constexpr qint64 GrowTimeoutMs = 5000;
  while (form.size() != FullScreenSize && waited.elapsed() < GrowTimeoutMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  DrawTick(form, false, FullScreenDots);
  if (form.size() != FullScreenSize || form.Surface().Image().size() != FullScreenSize) {
    state.SkipWithError("the window did not fill the screen");
    return;
  }
  long ticks = 0;
  for (auto _ : state) {
    const double tick = SecondsOf([&] { DrawTick(form, ticks++ % 2 == 0, FullScreenDots); });
    benchmark::DoNotOptimize(form.Surface().Image().constBits());
    benchmark::ClobberMemory();
    state.SetIterationTime(tick);
  }
}
BENCHMARK(BM_DrawTickFullScreen)
    ->Arg(1)
    ->Arg(DotCanvas::MaxDotSize)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pelmiro::bench

int main(int argc, char** argv) {
  // No display is needed or wanted: the window is drawn off screen, on one 4K screen.
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" PELMIRO_BENCH_SCREENS);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
