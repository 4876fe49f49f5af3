#include "key_position.h"

#include <array>
#include <utility>

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

constexpr int ScanCodeShift = 16;
constexpr std::uint32_t ScanCodeMask = 0xFF;
constexpr std::uint32_t ExtendedKey = 1U << 24;  // right-hand and cursor-block keys
constexpr std::array<int, 4> RuleKeys{VkTab, VkReturn, VkEscape, VkF11};
constexpr int Digits = 10;

constexpr std::array<std::pair<std::string_view, int>, 5> NamedKeys{{{"Tab", VkTab},
                                                                     {"Enter", VkReturn},
                                                                     {"NumpadEnter", VkReturn},
                                                                     {"Escape", VkEscape},
                                                                     {"F11", VkF11}}};

// The digit a code such as "Digit1" ends in, after the prefix, or -1.
int DigitAfter(std::string_view code, std::string_view prefix) {
  if (code.size() != prefix.size() + 1 || !code.starts_with(prefix) || code.back() < '0' ||
      code.back() > '9') {
    return -1;
  }
  return code.back() - '0';
}

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

int KeyOfWindowsMessage(std::uint32_t virtualKey, std::uint32_t keyData) {
  for (const int key : RuleKeys) {
    if (virtualKey == static_cast<std::uint32_t>(key)) {
      return key;
    }
  }
  if (virtualKey >= VkNumpadZero && virtualKey < VkNumpadZero + Digits) {
    return static_cast<int>(virtualKey);
  }
  if ((keyData & ExtendedKey) != 0) {
    return VkNone;
  }
  return MainRowKey(KeyboardKind::Windows, (keyData >> ScanCodeShift) & ScanCodeMask);
}

int KeyOfCode(std::string_view code) {
  if (const int digit = DigitAfter(code, "Digit"); digit >= 0) {
    return VkZero + digit;
  }
  if (const int digit = DigitAfter(code, "Numpad"); digit >= 0) {
    return VkNumpadZero + digit;
  }
  for (const auto& [name, key] : NamedKeys) {
    if (code == name) {
      return key;
    }
  }
  return VkNone;
}

}  // namespace pelmiro
