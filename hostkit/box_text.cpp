#include "box_text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "window_layout.h"

namespace pelmiro {
namespace {

// The text is read and written here, digit by digit, rather than by the C library, whose
// decimal sign follows the process's locale, or by std::to_chars and std::from_chars, which
// bring a few hundred kilobytes of tables into the Windows program.
constexpr int Decimals = WindowLayout::BoxDecimals;
constexpr int Ten = 10;

constexpr double PowerOfTen(int exponent) {
  return exponent == 0 ? 1.0 : Ten * PowerOfTen(exponent - 1);
}

constexpr double Scale = PowerOfTen(Decimals);
// Up to here a value times ten to the Decimals is a whole number a double holds exactly.
constexpr int ExactDigits = 11;
constexpr double ExactLimit = PowerOfTen(ExactDigits);
constexpr int MantissaDigits = 19;  // as many as a 64-bit integer holds
constexpr int LargestExponent = 100000;
constexpr std::u16string_view Blanks = u" \t\u00A0\u202F";
// Marks that only steer the direction of text, as a right-to-left locale's minus sign has.
constexpr std::u16string_view DirectionMarks = u"\u200E\u200F\u061C";
constexpr char16_t MinusSign = u'\u2212';
constexpr std::u16string_view Infinity = u"\u221E";

// The ASCII character for one of the text's, or 0 for one that has no place in a number.
char AsciiOf(char16_t c, const NumberSigns& signs) {
  if (c >= u'0' && c <= u'9') {
    return static_cast<char>(c);
  }
  if (c >= signs.zero && c < signs.zero + Ten) {
    return static_cast<char>('0' + (c - signs.zero));
  }
  if (c == u'.' || c == u',' || signs.decimal == std::u16string_view(&c, 1)) {
    return '.';
  }
  if (c == u'-' || c == MinusSign || signs.minus == std::u16string_view(&c, 1)) {
    return '-';
  }
  if (c == u'+' || c == u'e' || c == u'E') {
    return static_cast<char>(c);
  }
  return 0;
}

// A number as its significant digits, without leading zeros, and where its point is:
// the value is 0.digits times ten to the point.
struct Decimal {
  bool negative = false;
  std::string digits;
  long point = 0;
};

std::optional<Decimal> DecimalOf(std::string_view text) {
  Decimal number;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    number.negative = text.front() == '-';
    text.remove_prefix(1);
  }
  bool seenPoint = false;
  bool seenDigit = false;
  while (!text.empty() && (std::isdigit(static_cast<unsigned char>(text.front())) ||
                           (text.front() == '.' && !seenPoint))) {
    const char c = text.front();
    text.remove_prefix(1);
    if (c == '.') {
      seenPoint = true;
      continue;
    }
    seenDigit = true;
    if (c == '0' && number.digits.empty()) {
      number.point -= seenPoint ? 1 : 0;  // a leading zero after the point
      continue;
    }
    number.digits.push_back(c);
    number.point += seenPoint ? 0 : 1;
  }
  if (!seenDigit) {
    return std::nullopt;
  }
  if (!text.empty() && (text.front() == 'e' || text.front() == 'E')) {
    text.remove_prefix(1);
    const bool down = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
      text.remove_prefix(1);
    }
    long exponent = 0;
    bool any = false;
    while (!text.empty() && std::isdigit(static_cast<unsigned char>(text.front()))) {
      exponent = std::min<long>(exponent * Ten + (text.front() - '0'), LargestExponent);
      text.remove_prefix(1);
      any = true;
    }
    if (!any) {
      return std::nullopt;
    }
    number.point += down ? -exponent : exponent;
  }
  if (!text.empty()) {
    return std::nullopt;
  }
  if (number.digits.empty()) {
    number.point = 0;  // zero
  }
  return number;
}

// The value to four decimals, halves away from zero, exactly as the digits say.
double Rounded(const Decimal& number) {
  const long keep = number.point + Decimals;  // digits before the point of value * 10^4
  std::int64_t whole = 0;
  for (long i = 0; i < keep; ++i) {
    const auto at = static_cast<std::size_t>(i);
    whole = whole * Ten + (at < number.digits.size() ? number.digits[at] - '0' : 0);
  }
  const long next = std::max(keep, 0L);
  if (keep >= 0 && static_cast<std::size_t>(next) < number.digits.size() &&
      number.digits[static_cast<std::size_t>(next)] >= '5') {
    ++whole;
  }
  const double value = static_cast<double>(whole) / Scale;
  return number.negative ? -value : value;
}

// A value too large for four decimals to matter, near enough: the owner clamps it.
double Large(const Decimal& number) {
  std::uint64_t mantissa = 0;
  const auto used = std::min<std::size_t>(number.digits.size(), MantissaDigits);
  for (std::size_t i = 0; i < used; ++i) {
    mantissa = mantissa * Ten + static_cast<std::uint64_t>(number.digits[i] - '0');
  }
  const long double value =
      static_cast<long double>(mantissa) * std::pow(10.0L, number.point - static_cast<long>(used));
  const double magnitude = value > std::numeric_limits<double>::max()
                               ? std::numeric_limits<double>::infinity()
                               : static_cast<double>(value);
  return number.negative ? -magnitude : magnitude;
}

// The decimal digits of a whole number held in a double, however large.
std::string WholeDigits(double whole) {
  constexpr double Exact = 0x1p63;  // below this a 64-bit integer holds it
  if (whole < Exact) {
    return std::to_string(static_cast<std::uint64_t>(whole));  // integers: no locale, no tables
  }
  int exponent = 0;
  const double fraction = std::frexp(whole, &exponent);
  constexpr int MantissaBits = std::numeric_limits<double>::digits;
  std::string digits =
      std::to_string(static_cast<std::uint64_t>(std::ldexp(fraction, MantissaBits)));
  std::reverse(digits.begin(), digits.end());  // least significant first
  for (int doubled = MantissaBits; doubled < exponent; ++doubled) {
    int carry = 0;
    for (char& digit : digits) {
      const int twice = (digit - '0') * 2 + carry;
      digit = static_cast<char>('0' + twice % Ten);
      carry = twice / Ten;
    }
    if (carry != 0) {
      digits.push_back(static_cast<char>('0' + carry));
    }
  }
  std::reverse(digits.begin(), digits.end());
  return digits;
}

// The value to four decimals in ASCII, without trailing zeros; beyond ExactLimit, where a
// double keeps no fraction worth showing, the whole number.
std::string Plain(double value) {
  const double magnitude = std::abs(value);
  std::string text;
  if (magnitude < ExactLimit) {
    text = std::to_string(std::llround(magnitude * Scale));
    text.insert(0,
                static_cast<std::size_t>(std::max(0, Decimals + 1 - static_cast<int>(text.size()))),
                '0');
    text.insert(text.size() - Decimals, 1, '.');
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
      text.pop_back();
    }
  } else {
    text = WholeDigits(std::floor(magnitude));
  }
  return std::signbit(value) && text != "0" ? '-' + text : text;
}

}  // namespace

std::optional<double> ParseBoxText(std::u16string_view text, const NumberSigns& signs) {
  std::string number;
  for (const char16_t c : text) {
    if (DirectionMarks.find(c) != std::u16string_view::npos) {
      continue;
    }
    if (Blanks.find(c) != std::u16string_view::npos) {
      number.push_back(' ');
      continue;
    }
    const char ascii = AsciiOf(c, signs);
    if (ascii == 0) {
      return std::nullopt;  // no words such as "inf" or "nan", no hex
    }
    number.push_back(ascii);
  }
  const auto first = number.find_first_not_of(' ');
  if (first == std::string::npos) {
    return std::nullopt;
  }
  const std::optional<Decimal> decimal =
      DecimalOf(std::string_view(number).substr(first, number.find_last_not_of(' ') + 1 - first));
  if (!decimal) {
    return std::nullopt;
  }
  return decimal->point <= ExactDigits ? Rounded(*decimal) : Large(*decimal);
}

std::u16string FormatBoxValue(double value, const NumberSigns& signs) {
  if (std::isinf(value)) {
    return value < 0 ? signs.minus + std::u16string(Infinity) : std::u16string(Infinity);
  }
  std::u16string local;
  for (const char c : Plain(value)) {
    if (c == '.') {
      local += signs.decimal;
    } else if (c == '-') {
      local += signs.minus;
    } else {
      local.push_back(static_cast<char16_t>(signs.zero + (c - '0')));
    }
  }
  return local;
}

}  // namespace pelmiro
