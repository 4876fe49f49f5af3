#include "hostkit/input_rules.h"

#include <gtest/gtest.h>

#include <limits>
#include <string_view>
#include <tuple>
#include <utility>

namespace pelmiro {
namespace {

using enum Outcome::Edit;
using enum Outcome::Keys;
using Screen = Outcome::Screen;

constexpr int VkOne = VkZero + 1;
constexpr int VkFour = VkZero + 4;
constexpr int VkNumpadOne = VkNumpadZero + 1;
constexpr int VkLetterA = 0x41;
constexpr bool Full = true;  // in full screen
constexpr bool Window = false;

// What each key does, wherever the keys are, in a window or in full screen. Every host
// passes its keys through these rules.
TEST(InputRules, Keys) {
  struct Row {
    const char* name;
    KeyPress press;
    KeysAt at;
    bool fullScreen;
    Outcome outcome;
  };
  constexpr KeysAt Field = KeysAt::Field;
  constexpr KeysAt Box = KeysAt::Box;
  const Row rows[] = {
      {"1", {VkOne}, Field, Window, {.launch = VkOne, .handled = true}},
      {"0, for the model", {VkZero}, Field, Window, {.launch = VkZero, .handled = true}},
      {"1 repeating", {VkOne, true}, Field, Full, {.launch = VkOne, .handled = true}},
      {"Alt+4: Alt is the system's", {VkFour, false, true}, Field, Window, {.launch = VkFour}},
      {"keypad 1", {VkNumpadOne}, Field, Window, {}},
      {"a letter", {VkLetterA}, Field, Window, {}},
      {"F11", {VkF11}, Field, Window, {.screen = Screen::Enter, .handled = true}},
      {"F11 back", {VkF11}, Field, Full, {.screen = Screen::Leave, .handled = true}},
      {"F11 held: once", {VkF11, true}, Field, Window, {.handled = true}},
      {"Alt+F11", {VkF11, false, true}, Field, Window, {}},
      {"Escape", {VkEscape}, Field, Full, {.screen = Screen::Leave, .handled = true}},
      {"Escape in a window", {VkEscape}, Field, Window, {}},
      {"Tab", {VkTab}, Field, Window, {.keys = ToBox, .handled = true}},
      {"Return", {VkReturn}, Field, Window, {}},
      {"1 typed in the box", {VkOne}, Box, Window, {}},
      {"Return in the box", {VkReturn}, Box, Window, {Commit, VkNone, Screen::Keep, ToField, true}},
      {"Escape in the box", {VkEscape}, Box, Full, {Drop, VkNone, Screen::Keep, ToField, true}},
      {"F11 in the box", {VkF11}, Box, Full, {.screen = Screen::Leave, .handled = true}},
      {"Tab in the box: the system's", {VkTab}, Box, Window, {}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(OnKey(row.press, row.at, row.fullScreen), row.outcome) << row.name;
  }
}

// Windows and browsers name keys by their place too.
TEST(InputRules, KeysByTheirPlace) {
  constexpr int ScanShift = 16;  // a WM_KEYDOWN's lParam holds its scan code here
  constexpr std::uint32_t ScanOfOne = 0x02 << ScanShift;
  constexpr std::uint32_t Extended = 1U << 24;
  const std::tuple<std::uint32_t, std::uint32_t, int> messages[] = {
      {0x31, ScanOfOne, VkOne},  // "1"
      {0x00, ScanOfOne, VkOne},  // "&" on AZERTY, with no digit's code
      {VkNumpadOne, 0x4F << ScanShift, VkNumpadOne},
      {0x31, ScanOfOne | Extended, VkNone},
      {VkF11, 0x57 << ScanShift, VkF11},
      {VkReturn, 0x1C << ScanShift | Extended, VkReturn},  // the keypad's Enter
      {0x41, 0x1E << ScanShift, VkNone},                   // "A"
  };
  for (const auto& [virtualKey, keyData, key] : messages) {
    EXPECT_EQ(KeyOfWindowsMessage(virtualKey, keyData), key) << virtualKey << " " << keyData;
  }
  const std::pair<std::string_view, int> rows[] = {
      {"Digit1", VkOne},
      {"Digit0", VkZero},
      {"Numpad1", VkNumpadOne},
      {"Enter", VkReturn},
      {"NumpadEnter", VkReturn},
      {"Escape", VkEscape},
      {"Tab", VkTab},
      {"F11", VkF11},
      {"KeyA", VkNone},
      {"Digit", VkNone},
      {"Digit12", VkNone},
      {"F1", VkNone},
  };
  for (const auto& [code, key] : rows) {
    EXPECT_EQ(KeyOfCode(code), key) << code;
  }
}

TEST(InputRules, Buttons) {
  constexpr Outcome Launch{.launch = VkOne, .keys = ToField, .handled = true};
  for (const Button button : {Button::Left, Button::Middle, Button::Right}) {
    EXPECT_EQ(OnButton(button, false), Launch);
    EXPECT_EQ(OnButton(button, true), Outcome{.handled = true}) << "a double-click's second";
  }
  EXPECT_EQ(OnButton(Button::Other, false), Outcome{});
}

TEST(PointerRule, HidesAfterTwoSecondsAtRestInFullScreenAcrossTheClockWrap) {
  constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
  struct Step {
    std::int32_t now;
    bool fullScreen;
    bool moved;
    std::optional<bool> hide;
  };
  constexpr Step Steps[] = {
      {2999, true, false, std::nullopt},
      {3000, true, false, true},
      {3500, true, false, std::nullopt},   // said once
      {4000, true, true, false},           // a move shows it
      {9000, false, false, std::nullopt},  // never outside full screen
      {9000, true, false, true},
      {9100, false, false, false},  // leaving full screen shows it
      {Max - 500, true, true, std::nullopt},
      {Max, true, false, std::nullopt},
      {std::numeric_limits<std::int32_t>::min() + 1499, true, false, true},  // past the wrap
  };
  PointerRule pointer;
  pointer.Moved(1000);
  for (const Step& step : Steps) {
    if (step.moved) {
      pointer.Moved(step.now);
    }
    EXPECT_EQ(pointer.Update(step.now, step.fullScreen), step.hide) << step.now;
  }
}

}  // namespace
}  // namespace pelmiro
