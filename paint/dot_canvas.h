#pragma once

#include <cstdint>
#include <vector>

namespace pelmiro {

// How a pixel's four bytes lie in memory: Argb32 is one native 32-bit word 0xAARRGGBB
// (a QImage), Rgba8 is the bytes R, G, B, A in that order (a canvas's ImageData).
enum class PixelLayout { Argb32, Rgba8 };

// The picture the model draws into: a 32-bit pixel buffer at device resolution.
// Points arrive in twips, colours in the 0x00BBGGRR layout. A round dot is a stack of
// horizontal spans worked out once per size, so plotting is a few clipped row fills
// and never allocates.
class DotCanvas {
  static constexpr std::uint32_t Opaque = 0xFF000000;
  static constexpr std::uint32_t Byte = 0xFF;
  static constexpr int GreenShift = 8;
  static constexpr int BlueShift = 16;

 public:
  static constexpr double TwipsPerPixel = 15.0;
  static constexpr int MinDotSize = 1;
  static constexpr int MaxDotSize = 100;

  DotCanvas(PixelLayout layout, int logicalWidth, int logicalHeight, double devicePixelRatio);

  // Reallocates only when the size or pixel ratio really changed; says whether it did,
  // so a caller that wraps Pixels() knows to wrap them again.
  bool Resize(int logicalWidth, int logicalHeight, double devicePixelRatio);
  void SetDotSize(int logicalPixels);
  int DotSize() const { return dotSize_; }
  int DevicePixels() const { return devicePixels_; }  // the dot's diameter on the device

  void Clear();
  void Plot(float xTwips, float yTwips, std::int32_t colorRef);

  // The buffer word that shows colorRef, opaque.
  static constexpr std::uint32_t PixelOf(PixelLayout layout, std::int32_t colorRef) {
    const auto bits = static_cast<std::uint32_t>(colorRef);
    const std::uint32_t r = bits & Byte;
    const std::uint32_t g = (bits >> GreenShift) & Byte;
    const std::uint32_t b = (bits >> BlueShift) & Byte;
    if (layout == PixelLayout::Rgba8) {
      return Opaque | (b << BlueShift) | (g << GreenShift) | r;  // R, G, B, A little-endian
    }
    return Opaque | (r << BlueShift) | (g << GreenShift) | b;
  }
  std::uint32_t PixelOf(std::int32_t colorRef) const { return PixelOf(layout_, colorRef); }

  int Width() const { return width_; }
  int Height() const { return height_; }
  double Ratio() const { return ratio_; }
  std::uint32_t* Pixels() { return pixels_.data(); }
  const std::uint32_t* Pixels() const { return pixels_.data(); }
  std::uint32_t PixelAt(int x, int y) const { return pixels_[y * width_ + x]; }

 private:
  struct Span {
    int begin;  // first column, relative to the dot's left edge
    int end;    // one past the last column
  };

  void BuildSpans();

  PixelLayout layout_;
  std::uint32_t black_;
  int width_ = 0;
  int height_ = 0;
  double ratio_ = 0;
  std::vector<std::uint32_t> pixels_;
  int dotSize_ = MinDotSize;
  int devicePixels_ = MinDotSize;
  std::vector<Span> spans_;  // one per row of the dot
};

}  // namespace pelmiro
