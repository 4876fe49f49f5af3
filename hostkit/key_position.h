#pragma once

#include <cstdint>

namespace pelmiro {

// Windows virtual-key codes, the codes the model takes.
constexpr int VkZero = 0x30;        // "0" on the main row; "1".."9" follow
constexpr int VkNumpadZero = 0x60;  // keypad "0"; keypad "1".."9" follow
constexpr int VkNone = 0;           // a key that launches nothing

// What the native key codes of a keyboard event mean.
enum class KeyboardKind { Xkb, Windows, Mac };

// The main-row digit key at a physical position, as a virtual-key code 48..57, or VkNone
// for any other position. Going by position, not by the character a key types, makes the
// row launch on every layout, AZERTY's "&" key included.
int MainRowKey(KeyboardKind kind, std::uint32_t nativeCode);

}  // namespace pelmiro
