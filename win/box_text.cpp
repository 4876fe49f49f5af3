#include "box_text.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <cwchar>

#include "hostkit/window_layout.h"

namespace pelmiro {
namespace {

constexpr double Scale = 1e4;  // ten to the number of decimals
static_assert(WindowLayout::BoxDecimals == 4);
constexpr double ExactLimit = 1e12;  // beyond this a double has no fraction left to round
constexpr std::wstring_view Blank = L" \t";
constexpr std::wstring_view NumberCharacters = L"0123456789+-.eE";

}  // namespace

std::optional<double> ParseBoxText(std::wstring_view text) {
  const auto first = text.find_first_not_of(Blank);
  if (first == std::wstring_view::npos) {
    return std::nullopt;
  }
  std::wstring number(text.substr(first, text.find_last_not_of(Blank) + 1 - first));
  for (wchar_t& c : number) {
    if (c == L',') {
      c = L'.';
    }
    if (NumberCharacters.find(c) == std::wstring_view::npos) {
      return std::nullopt;  // no words such as "inf" or "nan", no hex
    }
  }
  wchar_t* end = nullptr;
  const double value = std::wcstod(number.c_str(), &end);
  if (end != number.c_str() + number.size()) {
    return std::nullopt;
  }
  return std::abs(value) < ExactLimit ? std::round(value * Scale) / Scale : value;
}

std::wstring FormatBoxValue(double value) {
  // The widest double in fixed notation takes 309 digits, a sign, a point and decimals.
  std::array<wchar_t, 320> text{};
  std::swprintf(text.data(), text.size(), L"%.*f", WindowLayout::BoxDecimals, value + 0.0);
  std::wstring shown(text.data());
  if (shown.find(L'.') != std::wstring::npos) {
    shown.erase(shown.find_last_not_of(L'0') + 1);
    if (shown.back() == L'.') {
      shown.pop_back();
    }
  }
  return shown == L"-0" ? L"0" : shown;
}

}  // namespace pelmiro
