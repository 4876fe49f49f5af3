#include "win/box_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using pelmiro::FormatBoxValue;
using pelmiro::ParseBoxText;

// What the Windows box makes of typed text: a number to four decimals, or nothing, in
// which case the box keeps its value.
TEST(BoxTextTest, TypedTextBecomesAFourDecimalNumberOrNothing) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Row {
    std::wstring typed;
    std::optional<double> value;
  };
  const Row rows[] = {
      {L" -5 ", -5},
      {L"2,5", 2.5},
      {L"3.14159", 3.1416},
      {L"1e309", inf},
      {std::wstring(10000, L'9'), inf},
      {L"   ", {}},
      {L"12abc", {}},
      {L"inf", {}},
      {L"0x10", {}},
      {L"1.2.3", {}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ParseBoxText(row.typed), row.value) << "row " << &row - rows;
  }
}

TEST(BoxTextTest, ShowsTheValueWithoutTrailingZeros) {
  struct Row {
    double value;
    const wchar_t* shown;
  };
  for (const Row& row :
       {Row{1, L"1"}, Row{100, L"100"}, Row{2.5, L"2.5"}, Row{3.1416, L"3.1416"}, Row{-5, L"-5"},
        Row{-0.0, L"0"}, Row{-0.00001, L"0"}, Row{1e6, L"1000000"}}) {
    EXPECT_EQ(FormatBoxValue(row.value), row.shown) << row.value;
  }
}
