// Linked only into the benchmark's copy of the page: fills the show to its limits and
// hands out the dots the next tick will draw, so the page can also draw them its own way.
#include <array>
#include <cmath>
#include <cstdint>

#include "bench/spread_points.h"
#include "web/page_show.h"

namespace pelmiro {
namespace {

constexpr int DotCount = FireworksModel::TubuCount + FireworksModel::RocketCount;
constexpr int FieldsPerDot = 3;  // x, y in twips and the colour
constexpr std::int32_t Orange = Rgb(255, 125, 0);
constexpr std::int32_t Yellow = Rgb(255, 250, 0);

std::array<float, DotCount * FieldsPerDot> dots;
bool shifted = false;

}  // namespace
}  // namespace pelmiro

using namespace pelmiro;

// Every spark slot taken and every rocket in flight, spread over the field at its present
// size. Each fill puts the sparks a pixel away from the last one's, so the next tick's
// picture always changes and is drawn.
extern "C" __attribute__((export_name("bench_fill"))) void BenchFill() {
  FireworksShow& show = PageShow();
  FireworksModel& model = show.Model();
  model.InitModel(show);
  const double width = show.ClientWidth();
  const double height = show.ClientHeight();
  shifted = !shifted;
  const double shift = shifted ? DotCanvas::TwipsPerPixel : 0;
  for (int i = 0; i < FireworksModel::TubuCount; ++i) {
    const auto [u, v] = bench::SpreadPoint(i);
    model.CreateTubu(u * width + shift, v * height, 0, 0, i % 2 ? Orange : Yellow);
  }
  for (int i = 0; i < FireworksModel::RocketCount; ++i) {
    show.Launch(FireworksModel::FirstLaunchKey);
  }
}

// The dots the next tick plots, in its order: x, y, colour for each.
extern "C" __attribute__((export_name("bench_dots"))) const float* BenchDots() {
  const FireworksModel& model = PageShow().Model();
  int n = 0;
  const auto add = [&n](double x, double y, std::int32_t color) {
    dots[n++] = static_cast<float>(x);
    dots[n++] = static_cast<float>(y);
    dots[n++] = static_cast<float>(color);
  };
  for (int i = 0; i < FireworksModel::RocketCount; ++i) {
    add(model.RocketX()[i], model.RocketY()[i], FireworksModel::RocketColor);
  }
  for (int i = 0; i < FireworksModel::TubuCount; ++i) {
    if (model.TubuAlive()[i]) {
      add(model.TubuX()[i], model.TubuY()[i], model.TubuColor()[i]);
    }
  }
  return dots.data();
}
