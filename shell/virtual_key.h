#pragma once

#include <QKeyEvent>
#include <cstdint>

namespace pelmiro {

// What the native key codes in a key event mean.
enum class KeyboardKind { Xkb, Windows, Mac };

KeyboardKind NativeKeyboardKind();

// Translates a key event into a Windows virtual-key code. The digit row is found by
// its physical position, so it works on layouts whose unshifted row is not digits;
// other keys give 0 unless they are keypad digits.
int VirtualKey(const QKeyEvent& event, KeyboardKind kind = NativeKeyboardKind());

}  // namespace pelmiro
