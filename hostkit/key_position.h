#pragma once

#include <cstdint>
#include <string_view>

namespace pelmiro {

// Windows virtual-key codes, the codes the model takes.
constexpr int VkZero = 0x30;        // "0" on the main row; "1".."9" follow
constexpr int VkNumpadZero = 0x60;  // keypad "0"; keypad "1".."9" follow
constexpr int VkNone = 0;           // a key that launches nothing
// The other keys the input rules know.
constexpr int VkTab = 0x09;
constexpr int VkReturn = 0x0D;
constexpr int VkEscape = 0x1B;
constexpr int VkF11 = 0x7A;

// What the native key codes of a keyboard event mean.
enum class KeyboardKind { Xkb, Windows, Mac };

// The main-row digit key at a physical position, as a virtual-key code 48..57, or VkNone
// for any other position. Going by position, not by the character a key types, makes the
// row launch on every layout, AZERTY's "&" key included.
int MainRowKey(KeyboardKind kind, std::uint32_t nativeCode);

// The key of a Windows key message, from its virtual-key code and the scan code and flags of
// its lParam: the main row's digits by their place, the keypad's digits and the keys the
// input rules know by their codes; VkNone for any other.
int KeyOfWindowsMessage(std::uint32_t virtualKey, std::uint32_t keyData);

// The key a browser's KeyboardEvent.code names, by its place too: "Digit1" on every layout,
// "Numpad1", "Tab", "Enter", "Escape", "F11"; VkNone for any other.
int KeyOfCode(std::string_view code);

}  // namespace pelmiro
