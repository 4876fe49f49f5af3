#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

namespace pelmiro::fuzz {

// Reads a fuzz input front to back, so that hand-written seeds stay readable.
// Past the end everything reads as zero.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Done() const { return pos_ >= size_; }

  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

  // Little-endian, whatever the machine.
  std::uint32_t U32() {
    std::uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      value |= static_cast<std::uint32_t>(Byte()) << shift;
    }
    return value;
  }

  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }

  std::int16_t I16() {
    const std::uint32_t low = Byte();
    return static_cast<std::int16_t>(low | static_cast<std::uint32_t>(Byte()) << 8);
  }

  // Any float at all: NaNs, infinities and denormals included.
  float RawFloat() { return std::bit_cast<float>(U32()); }

  // A float chosen by a leading byte: the awkward values by name, plain numbers near
  // the picture, or any bit pattern.
  float Float() {
    constexpr float Named[] = {0.0f,
                               -0.0f,
                               std::numeric_limits<float>::quiet_NaN(),
                               std::numeric_limits<float>::infinity(),
                               -std::numeric_limits<float>::infinity(),
                               std::numeric_limits<float>::max(),
                               -std::numeric_limits<float>::max(),
                               std::numeric_limits<float>::denorm_min(),
                               -std::numeric_limits<float>::denorm_min(),
                               std::numeric_limits<float>::min(),
                               1e30f,
                               -1e30f};
    constexpr unsigned NamedCount = sizeof(Named) / sizeof(Named[0]);
    constexpr float Eighths = 8.0f;  // steps fine enough to land between pixels
    const unsigned choice = Byte();
    if (choice < NamedCount) {
      return Named[choice];
    }
    if (choice % 2 == 0) {
      return static_cast<float>(I16()) / Eighths;
    }
    return RawFloat();
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace pelmiro::fuzz
