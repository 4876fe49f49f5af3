// Feeds the dot canvas, as the window shows it, points of any value (NaN, infinities, huge,
// denormal), dot sizes of any value and any colour, at the pixel ratios screens use. A dot may only
// change pixels of the picture close to where it belongs, and only to its colour; a dot whose
// centre is on the picture must cover it. A second surface takes the same calls but draws only now
// and then, many dots at once: it must end with the same pixels, and change none outside the
// rectangle it says it changed. The sanitizers watch the memory. QImage needs no QApplication, so
// none is made.
#include <QImage>
#include <QSize>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "byte_reader.h"
#include "dot_surface.h"
#include "hostkit/window_layout.h"

namespace pelmiro::fuzz {
namespace {

constexpr qreal Ratios[] = {1.0, 1.5, 2.0};
constexpr int RatioCount = sizeof(Ratios) / sizeof(Ratios[0]);
constexpr int MaxSide = 64;               // small pictures keep the fuzzer quick
constexpr std::uint8_t WindowSize = 255;  // asks for the window's real size instead
constexpr std::uint8_t NoSize = 254;      // asks for a negative, empty size
constexpr QSize Window(WindowLayout::ClientWidth, WindowLayout::ClientHeight);
constexpr int Slack = 1;  // pixels a dot may reach past its nominal square

enum class Op : std::uint8_t { Plot, DotSize, Clear, Resize, Finish, Count };

void Check(bool ok) {
  if (!ok) {
    __builtin_trap();
  }
}

qreal ReadRatio(ByteReader& in) {
  return Ratios[in.Byte() % RatioCount];
}

QSize ReadSize(ByteReader& in) {
  const std::uint8_t w = in.Byte();
  const std::uint8_t h = in.Byte();
  if (w == WindowSize) {
    return Window;
  }
  if (w == NoSize) {
    return QSize(-1, h % (MaxSide + 1));
  }
  return QSize(w % (MaxSide + 1), h % (MaxSide + 1));
}

// Copies the picture's pixels into `copy`, whose storage is kept from call to call:
// allocating a large picture's worth for every dot would be most of the run time.
void CopyPixels(const QImage& image, std::vector<std::uint8_t>& copy) {
  copy.clear();
  if (!image.isNull()) {
    copy.insert(copy.end(), image.constBits(), image.constBits() + image.sizeInBytes());
  }
}

QRgb PixelAt(const std::uint8_t* pixels, const QImage& image, int x, int y) {
  QRgb value;
  std::memcpy(&value, pixels + y * image.bytesPerLine() + x * sizeof(QRgb), sizeof value);
  return value;
}

// True when columns [begin, end) of row y are the same in both copies.
bool SameSpan(const std::uint8_t* a, const std::uint8_t* b, const QImage& image, int y, int begin,
              int end) {
  if (begin >= end) {
    return true;
  }
  const std::size_t offset = y * image.bytesPerLine() + begin * sizeof(QRgb);
  return std::memcmp(a + offset, b + offset, (end - begin) * sizeof(QRgb)) == 0;
}

// A canvas with the picture the window paints of it.
struct Picture {
  Picture(QSize logical, qreal ratio)
      : canvas(PixelLayout::Argb32, logical.width(), logical.height(), ratio) {}
  DotCanvas canvas;
  DotSurface surface{canvas};
  const QImage& Image() const { return surface.Image(); }
};

// Pixels outside the canvas's changed rectangle are as they were before its Finish().
void CheckChanged(const Picture& picture, const std::vector<std::uint8_t>& before, bool finished) {
  const QImage& image = picture.Image();
  const auto [left, top, width, height] = picture.canvas.Changed();
  Check(finished || width == 0);
  for (int y = 0, all = image.width(); y < image.height(); ++y) {
    const bool rows = y >= top && y < top + height;
    Check(SameSpan(before.data(), image.constBits(), image, y, 0, rows ? left : all) &&
          (!rows || SameSpan(before.data(), image.constBits(), image, y, left + width, all)));
  }
}

void CheckPicture(const Picture& picture, QSize logical, qreal ratio) {
  const QImage& image = picture.Image();
  const QSize device = logical * ratio;
  if (device.isEmpty()) {
    Check(image.isNull());
  } else {
    Check(image.size() == device && image.devicePixelRatio() == ratio);
  }
}

void CheckPlot(const Picture& picture, const std::vector<std::uint8_t>& before, float x, float y,
               std::int32_t color) {
  const QImage& image = picture.Image();
  if (image.isNull()) {
    return;
  }
  const double ratio = image.devicePixelRatio();
  const double cx = x / DotCanvas::TwipsPerPixel * ratio;
  const double cy = y / DotCanvas::TwipsPerPixel * ratio;
  const bool finite = std::isfinite(cx) && std::isfinite(cy);
  const double half = std::max(1L, std::lround(picture.canvas.DotSize() * ratio)) / 2 + Slack;
  const double left = std::floor(cx) - half;
  const double right = std::floor(cx) + half;
  const double top = std::floor(cy) - half;
  const double bottom = std::floor(cy) + half;
  const QRgb rgb = DotSurface::ToRgb(color);
  const std::uint8_t* was = before.data();
  const std::uint8_t* after = image.constBits();
  // Outside the dot's box nothing may change; inside it, only to the dot's colour.
  const int width = image.width();
  const int boxLeft =
      finite ? static_cast<int>(std::clamp(left, 0.0, static_cast<double>(width))) : width;
  const int boxRight =
      finite ? static_cast<int>(std::clamp(right + 1, 0.0, static_cast<double>(width))) : width;
  for (int py = 0; py < image.height(); ++py) {
    if (!finite || py < top || py > bottom) {
      Check(SameSpan(was, after, image, py, 0, width));
      continue;
    }
    Check(SameSpan(was, after, image, py, 0, boxLeft));
    Check(SameSpan(was, after, image, py, boxRight, width));
    for (int px = boxLeft; px < boxRight; ++px) {
      const QRgb now = PixelAt(after, image, px, py);
      Check(now == PixelAt(was, image, px, py) || now == rgb);
    }
  }
  // A centre on the picture is always covered.
  if (finite && cx >= 0 && cx < image.width() && cy >= 0 && cy < image.height()) {
    const int px = static_cast<int>(std::floor(cx));
    const int py = static_cast<int>(std::floor(cy));
    Check(PixelAt(after, image, px, py) == rgb);
  }
}

}  // namespace
}  // namespace pelmiro::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pelmiro;
  using namespace pelmiro::fuzz;
  ByteReader in(data, size);
  qreal ratio = ReadRatio(in);
  QSize logical = ReadSize(in);
  Picture surface(logical, ratio);
  Picture batched(logical, ratio);
  CheckPicture(surface, logical, ratio);
  while (!in.Done()) {
    switch (static_cast<Op>(in.Byte() % static_cast<std::uint8_t>(Op::Count))) {
      case Op::Plot: {
        const float x = in.Float();
        const float y = in.Float();
        const std::int32_t color = in.I32();
        static std::vector<std::uint8_t> before;
        CopyPixels(surface.Image(), before);
        surface.canvas.Plot(x, y, color);
        surface.canvas.Finish();
        batched.canvas.Plot(x, y, color);
        CheckPlot(surface, before, x, y, color);
        break;
      }
      case Op::DotSize: {
        const int dot = in.I32();
        surface.canvas.SetDotSize(dot);
        batched.canvas.SetDotSize(dot);
        Check(surface.canvas.DotSize() ==
              std::clamp(dot, DotCanvas::MinDotSize, DotCanvas::MaxDotSize));
        break;
      }
      case Op::Clear:
        surface.canvas.Clear();
        surface.canvas.Finish();
        batched.canvas.Clear();
        break;
      case Op::Resize:
        ratio = ReadRatio(in);
        logical = ReadSize(in);
        surface.canvas.Resize(logical.width(), logical.height(), ratio);
        batched.canvas.Resize(logical.width(), logical.height(), ratio);
        CheckPicture(surface, logical, ratio);
        break;
      case Op::Finish: {
        static std::vector<std::uint8_t> before;
        CopyPixels(batched.Image(), before);
        CheckChanged(batched, before, batched.canvas.Finish());
        Check(batched.Image() == surface.Image());
        break;
      }
      case Op::Count:
        break;
    }
  }
  return 0;
}
