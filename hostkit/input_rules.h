#pragma once

#include <cstdint>
#include <optional>

#include "key_position.h"

namespace pelmiro {

// Whether the keys go to the fireworks or to the dot-size box.
enum class KeysAt { Field, Box };

// A key press: the key by its place on the keyboard, as a virtual-key code (the main row's
// digits 48..57 on any layout, the keypad's 96..105, Tab, Return, Escape, F11), whether it
// is a held key repeating, and whether Alt is held.
struct KeyPress {
  int key = VkNone;
  bool repeat = false;
  bool alt = false;
};

enum class Button { Left, Middle, Right, Other };

// What an input does. A host carries it out in this order: the box's edit, the launch,
// the screen, the keys.
struct Outcome {
  enum class Edit { Keep, Commit, Drop };    // what was typed into the box: taken, or dropped
  enum class Screen { Keep, Enter, Leave };  // full screen
  enum class Keys { Stay, ToBox, ToField };

  Edit edit = Edit::Keep;
  int launch = VkNone;  // a key code for the model
  Screen screen = Screen::Keep;
  Keys keys = Keys::Stay;
  // The input is spent: neither the box nor the system sees it.
  bool handled = false;

  bool operator==(const Outcome&) const = default;
};

// A key pressed while the keys are at the field or the box, in full screen or not.
Outcome OnKey(KeyPress press, KeysAt at, bool fullScreen);
// A mouse button pressed on the field (a tap counts as the left button); the second press
// of a double-click comes with doubleClick.
Outcome OnButton(Button button, bool doubleClick);

// In full screen nothing but the fireworks should show: the pointer hides once it has
// rested this long, and shows again when it moves or the window leaves full screen.
class PointerRule {
 public:
  static constexpr std::int32_t HideAfterMs = 2000;

  void Moved(std::int32_t now) { lastMove_ = now; }
  // Whether the pointer is to be hidden from now on, when that changed since the last
  // answer; nothing when it stays as it is.
  std::optional<bool> Update(std::int32_t now, bool fullScreen);
  bool Hidden() const { return hidden_; }

 private:
  std::int32_t lastMove_ = 0;
  bool hidden_ = false;
};

}  // namespace pelmiro
