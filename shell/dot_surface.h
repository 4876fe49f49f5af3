#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>
#include <vector>

namespace pelmiro {

// The off-screen picture the model draws into. Points arrive in twips, colours in
// the 0x00BBGGRR layout. A round dot is a stack of horizontal spans worked out once
// per size, so plotting is a few clipped row fills and never allocates.
class DotSurface {
 public:
  static constexpr double TwipsPerPixel = 15.0;
  static constexpr int MinDotSize = 1;
  static constexpr int MaxDotSize = 100;

  DotSurface(QSize logicalSize, qreal devicePixelRatio);

  // Reallocates only when the size or pixel ratio really changed.
  void Resize(QSize logicalSize, qreal devicePixelRatio);
  void SetDotSize(int logicalPixels);
  int DotSize() const { return dotSize_; }

  void Clear();
  void Plot(float xTwips, float yTwips, std::int32_t colorRef);

  const QImage& Image() const { return image_; }

  static QRgb ToRgb(std::int32_t colorRef);

 private:
  struct Span {
    int begin;  // first column, relative to the dot's left edge
    int end;    // one past the last column
  };

  void BuildSpans();

  QImage image_;
  int dotSize_ = MinDotSize;
  int devicePixels_ = MinDotSize;  // the dot's diameter on the device
  std::vector<Span> spans_;        // one per row of the dot
};

}  // namespace pelmiro
