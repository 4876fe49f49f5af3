#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelmiro {

// The dot-size box's text and value: a number with four decimals, shown without
// trailing zeros. Plain C++, so it is tested natively as well as under Windows.

// The typed text as the box's value, or nothing when it is no number. A comma serves
// as the decimal point; a number too large for a double becomes an infinity, which the
// owner clamps like any large value.
std::optional<double> ParseBoxText(std::wstring_view text);

// What the box shows for a value.
std::wstring FormatBoxValue(double value);

}  // namespace pelmiro
