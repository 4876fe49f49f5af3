#include "key_position.h"

#include <array>

namespace pelmiro {
namespace {

constexpr int RowKeys = 10;

// Native codes of the main-row keys "1", "2", ... "9", "0", left to right: XKB keycodes,
// PC set-1 scan codes, macOS virtual keys.
constexpr std::array<std::uint32_t, RowKeys> XkbRow{10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
constexpr std::array<std::uint32_t, RowKeys> WindowsRow{0x02, 0x03, 0x04, 0x05, 0x06,
                                                        0x07, 0x08, 0x09, 0x0A, 0x0B};
constexpr std::array<std::uint32_t, RowKeys> MacRow{0x12, 0x13, 0x14, 0x15, 0x17,
                                                    0x16, 0x1A, 0x1C, 0x19, 0x1D};

const std::array<std::uint32_t, RowKeys>& RowOf(KeyboardKind kind) {
  switch (kind) {
    case KeyboardKind::Windows:
      return WindowsRow;
    case KeyboardKind::Mac:
      return MacRow;
    case KeyboardKind::Xkb:
      break;
  }
  return XkbRow;
}

}  // namespace

int MainRowKey(KeyboardKind kind, std::uint32_t nativeCode) {
  const auto& row = RowOf(kind);
  for (int i = 0; i < RowKeys; ++i) {
    if (row[i] == nativeCode) {
      return VkZero + (i + 1) % RowKeys;  // the row runs 1..9, then 0
    }
  }
  return VkNone;
}

}  // namespace pelmiro
