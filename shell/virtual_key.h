#pragma once

#include <QKeyEvent>

#include "hostkit/key_position.h"

namespace pelmiro {

KeyboardKind NativeKeyboardKind();

// Translates a key event into a Windows virtual-key code. The digit row is found by
// its physical position, so it works on layouts whose unshifted row is not digits; of the
// other keys, the keypad digits and those the input rules know (Tab, Return, Escape, F11)
// give their codes, the rest 0.
int VirtualKey(const QKeyEvent& event, KeyboardKind kind = NativeKeyboardKind());

}  // namespace pelmiro
