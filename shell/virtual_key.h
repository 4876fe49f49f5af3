#pragma once

#include <QKeyEvent>

#include "hostkit/key_position.h"

namespace pelmiro {

KeyboardKind NativeKeyboardKind();

// Translates a key event into a Windows virtual-key code. The digit row is found by
// its physical position, so it works on layouts whose unshifted row is not digits;
// other keys give 0 unless they are keypad digits.
int VirtualKey(const QKeyEvent& event, KeyboardKind kind = NativeKeyboardKind());

}  // namespace pelmiro
