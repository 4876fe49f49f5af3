#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelmiro {

// How a locale writes a number: its ten digits from its zero on, its decimal sign and its
// minus sign. The default is plain ASCII.
struct NumberSigns {
  char16_t zero = u'0';
  std::u16string decimal = u".";
  std::u16string minus = u"-";
};

// The text of the desktop programs' dot-size box and its value: a number with four
// decimals, shown without trailing zeros, in the locale's own digits and signs.

// The typed text as the box's value, or nothing when it is no number. It may be written
// in the locale's digits and signs or in ASCII, and a point or a comma, like the locale's
// decimal sign, is always a decimal point: never a group separator. A number too large
// for a double becomes an infinity, which the owner clamps like any large value.
std::optional<double> ParseBoxText(std::u16string_view text, const NumberSigns& signs = {});

// What the box shows for a value.
std::u16string FormatBoxValue(double value, const NumberSigns& signs = {});

}  // namespace pelmiro
