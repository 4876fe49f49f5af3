#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace pelmiro {

// How a pixel's four bytes lie in memory: Argb32 is one native 32-bit word 0xAARRGGBB
// (a QImage, or a 32-bit top-down DIB), Rgba8 is the bytes R, G, B, A in that order (a
// canvas's ImageData).
enum class PixelLayout { Argb32, Rgba8 };

// A rectangle of device pixels; empty (all 0) when nothing is in it.
struct DeviceRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const DeviceRect&) const = default;
};

// The picture the model draws into: a 32-bit pixel buffer at device resolution.
// Points arrive in twips, colours in the 0x00BBGGRR layout. A round dot is a stack of
// horizontal spans worked out once per size.
//
// A frame runs from Clear() through its Plot() calls to Finish(), which draws it. Plot()
// only notes where each dot lands, which lets Finish() do the least work that gives the
// same pixels as painting the dots one over the other in order:
// - a frame that puts the same dots in the same places as the one before is not drawn
//   at all, and Finish() says so, so the host need not show it again;
// - the previous frame is erased dot by dot when that is cheaper than filling the buffer;
// - dots are painted front to back, each pixel once, and when the buffer is to be filled
//   black goes only where no dot landed, so a thousand large overlapping dots cost about
//   one fill of the buffer.
// Nothing allocates while a frame is drawn unless a frame holds more than ReservedDots.
class DotCanvas {
  static constexpr std::uint32_t Opaque = 0xFF000000;
  static constexpr std::uint32_t Byte = 0xFF;
  static constexpr int GreenShift = 8;
  static constexpr int BlueShift = 16;

 public:
  static constexpr double TwipsPerPixel = 15.0;
  static constexpr int MinDotSize = 1;
  static constexpr int MaxDotSize = 100;
  static constexpr std::size_t ReservedDots = 2048;  // the fireworks plot at most 1011

  DotCanvas(PixelLayout layout, int logicalWidth, int logicalHeight, double devicePixelRatio);

  // Every run of pixels is filled by one function; a host may hand in a faster one than
  // the built-in loop, say one that needs an instruction set it found at run time.
  using RunFill = void (*)(std::uint32_t* begin, std::uint32_t* end, std::uint32_t pixel);
  static void UseRunFill(RunFill fill);

  // Reallocates, all black, only when the size or pixel ratio really changed; says
  // whether it did, so a caller that wraps Pixels() knows to wrap them again.
  bool Resize(int logicalWidth, int logicalHeight, double devicePixelRatio);
  void SetDotSize(int logicalPixels);
  int DotSize() const { return dotSize_; }
  int DevicePixels() const { return devicePixels_; }  // the dot's diameter on the device

  // Starts a frame on an all-black picture.
  void Clear();
  void Plot(float xTwips, float yTwips, std::int32_t colorRef);
  // Brings the pixels up to date with the frame and says whether they changed since it
  // last returned. They stay as they are when the previous frame was finished and put
  // the same dots at the same places in the same order, at the same size.
  bool Finish();
  // The pixels the last Finish() changed lie in this rectangle, so a host need show only
  // it: the erased previous dots and the drawn new ones, or the whole buffer after a
  // fill or a resize. Empty when nothing changed.
  DeviceRect Changed() const { return changed_; }

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

  // The pixels as of the last Finish().
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
  // One plotted dot, as it lands on the picture.
  struct Stamp {
    int left;
    int top;
    std::uint32_t pixel;
    bool operator==(const Stamp&) const = default;
  };

  void BuildSpans();
  void Draw();
  void Erase();
  bool EraseByFill() const;
  void FillUncoveredBlack();
  void Fill(Stamp dot);  // by value: the buffer cannot alias it
  void FillUncovered(Stamp dot);
  void MarkChanged(std::span<const Stamp> dots);
  void MarkAllChanged();

  PixelLayout layout_;
  std::uint32_t black_;
  int width_ = 0;
  int height_ = 0;
  double ratio_ = 0;
  std::vector<std::uint32_t> pixels_;
  int dotSize_ = MinDotSize;
  int devicePixels_ = MinDotSize;
  std::vector<Span> spans_;  // one per row of the dot

  // The buffer holds black with previous_ over it while erasePending_, else black with
  // frame_[0, drawn_) over it.
  std::vector<Stamp> frame_;     // this frame's dots that can touch the picture, in order
  std::vector<Stamp> previous_;  // the previous frame's
  std::size_t drawn_ = 0;
  bool erasePending_ = false;
  bool fillToErase_ = true;   // previous_ cannot erase what the buffer holds
  bool shapeChanged_ = true;  // size, ratio or dot size changed since the frame began
  bool comparable_ = false;   // previous_ was drawn whole, at today's size and shape
  bool unshown_ = true;       // the pixels changed since Finish() last returned
  // What changed since Finish() last returned, as edges; right <= left when nothing did.
  int changedLeft_ = 0;
  int changedTop_ = 0;
  int changedRight_ = 0;
  int changedBottom_ = 0;
  DeviceRect changed_;

  // Which pixels the dots drawn so far in Draw() cover: a bit a pixel, a row of words a
  // row of pixels. A row's bits are valid when its generation is the current one.
  std::vector<std::uint32_t> covered_;
  std::vector<std::uint32_t> rowGeneration_;
  std::vector<std::uint32_t> rowUncovered_;
  std::uint32_t generation_ = 0;
  int wordsPerRow_ = 0;
};

}  // namespace pelmiro
