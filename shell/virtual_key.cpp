#include "virtual_key.h"

#include <array>

namespace pelmiro {
namespace {

constexpr int VkZero = 0x30;        // "0" on the main row; "1".."9" follow
constexpr int VkNumpadZero = 0x60;  // keypad "0"; keypad "1".."9" follow

// Native codes of the main-row keys "1", "2", ... "9", "0", left to right.
constexpr std::array<std::uint32_t, 10> XkbRow{10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
constexpr std::array<std::uint32_t, 10> WindowsRow{0x02, 0x03, 0x04, 0x05, 0x06,
                                                   0x07, 0x08, 0x09, 0x0A, 0x0B};
constexpr std::array<std::uint32_t, 10> MacRow{0x12, 0x13, 0x14, 0x15, 0x17,
                                               0x16, 0x1A, 0x1C, 0x19, 0x1D};

int DigitKey(int digit) {
  return VkZero + digit;
}

int FromRow(const std::array<std::uint32_t, 10>& row, std::uint32_t code) {
  for (std::size_t i = 0; i < row.size(); ++i) {
    if (row[i] == code) {
      return DigitKey(static_cast<int>((i + 1) % row.size()));
    }
  }
  return 0;
}

bool IsDigitKey(int key) {
  return key >= Qt::Key_0 && key <= Qt::Key_9;
}

}  // namespace

KeyboardKind NativeKeyboardKind() {
#if defined(Q_OS_WIN)
  return KeyboardKind::Windows;
#elif defined(Q_OS_MACOS)
  return KeyboardKind::Mac;
#else
  return KeyboardKind::Xkb;
#endif
}

int VirtualKey(const QKeyEvent& event, KeyboardKind kind) {
  const int key = event.key();
  if (event.modifiers().testFlag(Qt::KeypadModifier)) {
    return IsDigitKey(key) ? VkNumpadZero + (key - Qt::Key_0) : 0;
  }
  switch (kind) {
    case KeyboardKind::Xkb:
      if (event.nativeScanCode() != 0) {
        return FromRow(XkbRow, event.nativeScanCode());
      }
      break;
    case KeyboardKind::Windows:
      if (event.nativeScanCode() != 0) {
        return FromRow(WindowsRow, event.nativeScanCode());
      }
      break;
    case KeyboardKind::Mac:
      if (event.nativeVirtualKey() != 0) {
        return FromRow(MacRow, event.nativeVirtualKey());
      }
      break;
  }
  // Synthetic events carry no native codes: go by the key itself.
  return IsDigitKey(key) ? DigitKey(key - Qt::Key_0) : 0;
}

}  // namespace pelmiro
