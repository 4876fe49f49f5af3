#include "input_rules.h"

#include "model/fireworks_model.h"

namespace pelmiro {
namespace {

using Edit = Outcome::Edit;
using Keys = Outcome::Keys;
using Screen = Outcome::Screen;

constexpr int VkNine = VkZero + 9;

bool MainRowDigit(int key) {
  return key >= VkZero && key <= VkNine;
}

// F11 toggles once per press, from the box too, which has no use for it.
std::optional<Outcome> FullScreenKey(KeyPress press, bool fullScreen) {
  if (press.key != VkF11) {
    return std::nullopt;
  }
  Outcome outcome{.handled = true};
  if (!press.repeat) {
    outcome.screen = fullScreen ? Screen::Leave : Screen::Enter;
  }
  return outcome;
}

Outcome InBox(KeyPress press, bool fullScreen) {
  if (press.alt) {
    return {};
  }
  if (const auto f11 = FullScreenKey(press, fullScreen)) {
    return *f11;
  }
  switch (press.key) {
    case VkReturn:
      return {.edit = Edit::Commit, .keys = Keys::ToField, .handled = true};
    case VkEscape:  // drops the edit and leaves full screen as it is
      return {.edit = Edit::Drop, .keys = Keys::ToField, .handled = true};
    default:
      return {};  // typing, and Tab, which the system takes on from the box
  }
}

Outcome InField(KeyPress press, bool fullScreen) {
  // Every main-row digit goes to the model, which launches from 1 to 9. Alt+digit
  // launches too, and leaves Alt's other keys to the system.
  if (MainRowDigit(press.key)) {
    return {.launch = press.key, .handled = !press.alt};
  }
  if (press.alt) {
    return {};
  }
  if (const auto f11 = FullScreenKey(press, fullScreen)) {
    return *f11;
  }
  if (press.key == VkEscape && fullScreen) {
    return {.screen = Screen::Leave, .handled = true};
  }
  if (press.key == VkTab) {
    return {.keys = Keys::ToBox, .handled = true};
  }
  return {};
}

}  // namespace

Outcome OnKey(KeyPress press, KeysAt at, bool fullScreen) {
  return at == KeysAt::Box ? InBox(press, fullScreen) : InField(press, fullScreen);
}

Outcome OnButton(Button button, bool doubleClick) {
  if (button == Button::Other) {
    return {};
  }
  if (doubleClick) {
    return {.handled = true};  // the second press of a double-click launches nothing more
  }
  // A press on the fireworks launches as "1" does and hands the keys back to them.
  return {.launch = FireworksModel::FirstLaunchKey, .keys = Keys::ToField, .handled = true};
}

std::optional<bool> PointerRule::Update(std::int32_t now, bool fullScreen) {
  // Through unsigned arithmetic, so a clock that wraps stays right.
  const bool rested = static_cast<std::uint32_t>(now) - static_cast<std::uint32_t>(lastMove_) >=
                      static_cast<std::uint32_t>(HideAfterMs);
  const bool hide = fullScreen && rested;
  if (hide == hidden_) {
    return std::nullopt;
  }
  hidden_ = hide;
  return hide;
}

}  // namespace pelmiro
