#include "dot_canvas.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace pelmiro {
namespace {

// Coverage words are as wide as pixels, so the buffers share their code.
using Word = std::uint32_t;
constexpr int WordBits = 32;
constexpr Word AllBits = ~Word{0};
// How many times over a frame's dots must be able to cover the buffer before they are
// painted ahead of the black.
constexpr std::size_t CoverFirstOverlap = 2;

int DeviceLength(int logical, double ratio) {
  return static_cast<int>(std::lround(logical * ratio));
}

// Every fill goes through here: one vectorised loop, kept out of line so the code is
// not repeated wherever a run is filled.
[[gnu::noinline]] void FillRunLoop(std::uint32_t* begin, std::uint32_t* end, std::uint32_t pixel) {
  std::fill(begin, end, pixel);
}
DotCanvas::RunFill FillRun = FillRunLoop;

// Bits [from, to) of a word, for 0 <= from < to <= WordBits.
Word BitRange(int from, int to) {
  const Word below = to == WordBits ? AllBits : (Word{1} << to) - 1;
  return below & (AllBits << from);
}

}  // namespace

void DotCanvas::UseRunFill(RunFill fill) {
  FillRun = fill;
}

DotCanvas::DotCanvas(PixelLayout layout, int logicalWidth, int logicalHeight,
                     double devicePixelRatio)
    : layout_(layout), black_(PixelOf(0)) {
  frame_.reserve(ReservedDots);
  previous_.reserve(ReservedDots);
  Resize(logicalWidth, logicalHeight, devicePixelRatio);
}

bool DotCanvas::Resize(int logicalWidth, int logicalHeight, double devicePixelRatio) {
  const int width = std::max(0, DeviceLength(logicalWidth, devicePixelRatio));
  const int height = std::max(0, DeviceLength(logicalHeight, devicePixelRatio));
  if (width == width_ && height == height_ && devicePixelRatio == ratio_ && !pixels_.empty()) {
    return false;
  }
  width_ = width;
  height_ = height;
  ratio_ = devicePixelRatio;
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), black_);
  wordsPerRow_ = (width + WordBits - 1) / WordBits;
  covered_.assign(static_cast<std::size_t>(wordsPerRow_) * static_cast<std::size_t>(height), 0);
  rowGeneration_.assign(height, 0);
  rowUncovered_.assign(height, 0);
  generation_ = 0;
  BuildSpans();
  // All black: whatever was plotted is gone.
  frame_.clear();
  drawn_ = 0;
  erasePending_ = false;
  shapeChanged_ = true;
  unshown_ = true;
  MarkAllChanged();
  return true;
}

void DotCanvas::SetDotSize(int logicalPixels) {
  const int size = std::clamp(logicalPixels, MinDotSize, MaxDotSize);
  if (size != dotSize_) {
    Draw();  // dots plotted so far keep the size they were plotted at
    dotSize_ = size;
    BuildSpans();
    shapeChanged_ = true;
  }
}

void DotCanvas::BuildSpans() {
  devicePixels_ = std::max(1, DeviceLength(dotSize_, ratio_));
  const double radius = devicePixels_ / 2.0;
  spans_.resize(devicePixels_);
  for (int row = 0; row < devicePixels_; ++row) {
    // A pixel belongs to the dot when its centre lies inside the circle.
    const double dy = row + 0.5 - radius;
    const double half = std::sqrt(std::max(0.0, radius * radius - dy * dy));
    const int begin = static_cast<int>(std::ceil(radius - half - 0.5));
    const int end = static_cast<int>(std::floor(radius + half - 0.5)) + 1;
    spans_[row] = {std::max(0, begin), std::min(devicePixels_, std::max(begin, end))};
  }
}

void DotCanvas::Clear() {
  const bool bufferShowsFrame = !erasePending_ && drawn_ == frame_.size();
  comparable_ = bufferShowsFrame && !shapeChanged_;
  fillToErase_ = !comparable_;
  shapeChanged_ = false;
  std::swap(frame_, previous_);
  frame_.clear();
  drawn_ = 0;
  erasePending_ = true;
}

void DotCanvas::Plot(float xTwips, float yTwips, std::int32_t colorRef) {
  const double cx = xTwips / TwipsPerPixel * ratio_;
  const double cy = yTwips / TwipsPerPixel * ratio_;
  // Anything that cannot touch the picture (NaN included) draws nothing; past this
  // test every value fits an int.
  const double reach = devicePixels_ + 1.0;
  if (!(cx > -reach && cx < width_ + reach && cy > -reach && cy < height_ + reach)) {
    return;
  }
  frame_.push_back({static_cast<int>(std::floor(cx)) - devicePixels_ / 2,
                    static_cast<int>(std::floor(cy)) - devicePixels_ / 2, PixelOf(colorRef)});
}

bool DotCanvas::Finish() {
  if (erasePending_ && comparable_ && !shapeChanged_ && frame_ == previous_) {
    // The buffer holds the previous frame, and that is this one.
    erasePending_ = false;
    drawn_ = frame_.size();
  } else {
    Draw();
  }
  const bool changed = unshown_;
  unshown_ = false;
  changed_ = {};
  if (changedRight_ > changedLeft_ && changedBottom_ > changedTop_) {
    changed_ = {changedLeft_, changedTop_, changedRight_ - changedLeft_,
                changedBottom_ - changedTop_};
  }
  changedLeft_ = changedTop_ = changedRight_ = changedBottom_ = 0;
  return changed;
}

// Widens the changed rectangle to the squares of these dots, clipped to the buffer. One
// pass over the stamps costs less than widening it dot by dot while painting.
void DotCanvas::MarkChanged(std::span<const Stamp> dots) {
  if (dots.empty()) {
    return;
  }
  int left = dots.front().left;
  int top = dots.front().top;
  int right = left;
  int bottom = top;
  for (const Stamp& dot : dots) {
    left = std::min(left, dot.left);
    top = std::min(top, dot.top);
    right = std::max(right, dot.left);
    bottom = std::max(bottom, dot.top);
  }
  left = std::max(0, left);
  top = std::max(0, top);
  right = std::min(width_, right + devicePixels_);
  bottom = std::min(height_, bottom + devicePixels_);
  if (left >= right || top >= bottom) {
    return;
  }
  if (changedRight_ <= changedLeft_) {
    changedLeft_ = left, changedTop_ = top, changedRight_ = right, changedBottom_ = bottom;
    return;
  }
  changedLeft_ = std::min(changedLeft_, left);
  changedTop_ = std::min(changedTop_, top);
  changedRight_ = std::max(changedRight_, right);
  changedBottom_ = std::max(changedBottom_, bottom);
}

void DotCanvas::MarkAllChanged() {
  changedLeft_ = changedTop_ = 0;
  changedRight_ = width_;
  changedBottom_ = height_;
}

void DotCanvas::Draw() {
  const std::size_t pending = frame_.size() - drawn_;
  // When the whole picture must be blackened and the dots drawn could cover it several
  // times over, the dots go first and then black goes where none of them landed: that
  // writes each pixel once instead of twice. Sparser dots leave too many gaps for that.
  bool blackenRest = false;
  if (erasePending_) {
    const auto dotArea = static_cast<std::size_t>(devicePixels_) * devicePixels_;
    blackenRest =
        pending > 1 && pending * dotArea >= CoverFirstOverlap * pixels_.size() && EraseByFill();
    if (blackenRest) {
      MarkAllChanged();
    } else {
      Erase();
    }
    erasePending_ = false;
    unshown_ = true;
  }
  unshown_ = unshown_ || pending > 0;
  MarkChanged(std::span(frame_).subspan(drawn_));
  if (pending == 1) {
    Fill(frame_.back());  // one dot over the rest: nothing to sort out
  } else if (pending > 1) {
    // A fresh coverage map, row by row as rows are reached.
    if (++generation_ == 0) {
      std::fill(rowGeneration_.begin(), rowGeneration_.end(), 0);
      generation_ = 1;
    }
    for (std::size_t i = frame_.size(); i-- > drawn_;) {
      FillUncovered(frame_[i]);
    }
  }
  if (blackenRest) {
    FillUncoveredBlack();
  }
  drawn_ = frame_.size();
}

bool DotCanvas::EraseByFill() const {
  const auto dotArea = static_cast<std::size_t>(devicePixels_) * devicePixels_;
  return fillToErase_ || previous_.size() * dotArea >= pixels_.size();
}

// Blackens every pixel the coverage map of this Draw() leaves uncovered.
void DotCanvas::FillUncoveredBlack() {
  for (int y = 0; y < height_; ++y) {
    std::uint32_t* line = pixels_.data() + static_cast<std::size_t>(y) * width_;
    if (rowGeneration_[y] != generation_) {
      FillRun(line, line + width_, black_);  // no dot reached this row
      continue;
    }
    if (rowUncovered_[y] == 0) {
      continue;
    }
    const Word* bits = covered_.data() + static_cast<std::size_t>(y) * wordsPerRow_;
    for (int base = 0; base < width_; base += WordBits) {
      Word todo = ~bits[base / WordBits] & BitRange(0, std::min(WordBits, width_ - base));
      while (todo != 0) {
        const int first = std::countr_zero(todo);
        const int run = std::countr_one(todo >> first);
        FillRun(line + base + first, line + base + first + run, black_);
        todo &= ~BitRange(first, first + run);
      }
    }
  }
}

void DotCanvas::Erase() {
  if (EraseByFill()) {
    FillRun(pixels_.data(), pixels_.data() + pixels_.size(), black_);
    MarkAllChanged();
    return;
  }
  MarkChanged(previous_);
  for (const Stamp& dot : previous_) {
    Fill({dot.left, dot.top, black_});
  }
}

void DotCanvas::Fill(Stamp dot) {
  const int firstRow = std::max(0, -dot.top);
  const int lastRow = std::min(devicePixels_, height_ - dot.top);
  for (int row = firstRow; row < lastRow; ++row) {
    const int begin = std::max(0, dot.left + spans_[row].begin);
    const int end = std::min(width_, dot.left + spans_[row].end);
    if (begin < end) {
      std::uint32_t* line = pixels_.data() + static_cast<std::size_t>(dot.top + row) * width_;
      FillRun(line + begin, line + end, dot.pixel);
    }
  }
}

// Paints the pixels of the dot that no later dot has painted, and marks them covered.
void DotCanvas::FillUncovered(Stamp dot) {
  const int firstRow = std::max(0, -dot.top);
  const int lastRow = std::min(devicePixels_, height_ - dot.top);
  for (int row = firstRow; row < lastRow; ++row) {
    const int y = dot.top + row;
    const int begin = std::max(0, dot.left + spans_[row].begin);
    const int end = std::min(width_, dot.left + spans_[row].end);
    if (begin >= end) {
      continue;
    }
    Word* bits = covered_.data() + static_cast<std::size_t>(y) * wordsPerRow_;
    if (rowGeneration_[y] != generation_) {
      std::fill(bits, bits + wordsPerRow_, 0);
      rowGeneration_[y] = generation_;
      rowUncovered_[y] = static_cast<std::uint32_t>(width_);
    } else if (rowUncovered_[y] == 0) {
      continue;
    }
    std::uint32_t* line = pixels_.data() + static_cast<std::size_t>(y) * width_;
    for (int base = begin / WordBits * WordBits; base < end; base += WordBits) {
      const int from = std::max(begin, base) - base;
      const int to = std::min(end, base + WordBits) - base;
      Word& word = bits[base / WordBits];
      Word todo = BitRange(from, to) & ~word;
      word |= todo;
      while (todo != 0) {
        const int first = std::countr_zero(todo);
        const int run = std::countr_one(todo >> first);
        rowUncovered_[y] -= static_cast<std::uint32_t>(run);
        FillRun(line + base + first, line + base + first + run, dot.pixel);
        todo &= ~BitRange(first, first + run);
      }
    }
  }
}

}  // namespace pelmiro
