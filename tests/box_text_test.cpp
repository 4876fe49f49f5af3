#include "hostkit/box_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace pelmiro {
namespace {

// How ASCII, Arabic (Egypt) and German write numbers, as the desktop programs learn them
// from the system.
const NumberSigns Ascii;
const NumberSigns Arabic{u'\u0660', u"\u066B", u"\u061C-"};
const NumberSigns German{u'0', u",", u"-"};

// What the box makes of typed text: a number to four decimals, or nothing, in which case
// the box keeps its value.
TEST(BoxTextTest, TypedTextBecomesAFourDecimalNumberOrNothing) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Row {
    const NumberSigns& signs;
    std::u16string typed;
    std::optional<double> value;
  };
  const Row rows[] = {
      {Ascii, u" -5 ", -5},
      {Ascii, u"2,5", 2.5},
      {Ascii, u"3.14159", 3.1416},
      {Ascii, u"+7", 7},
      {Ascii, u"1e309", inf},
      {Ascii, u"-1e309", -inf},
      {Ascii, u"1e-400", 0},
      {Ascii, std::u16string(10000, u'9'), inf},
      {Ascii, u"   ", {}},
      {Ascii, u"12abc", {}},
      {Ascii, u"inf", {}},
      {Ascii, u"0x10", {}},
      {Ascii, u"1.2.3", {}},
      {Ascii, u"1 000", {}},
      {Ascii, u"-", {}},
      // The locale's own digits and signs, and ASCII with a point, which every keyboard
      // types; a point is never a group separator.
      {Arabic, u"\u0661\u0662\u066B\u0665", 12.5},
      {Arabic, u"\u061C-\u0665", -5},
      {Arabic, u"12.5", 12.5},
      {Arabic, u"\u0661\u0662.5", 12.5},
      {German, u"12,5", 12.5},
      {German, u"12.5", 12.5},
      {German, u"1.000", 1},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ParseBoxText(row.typed, row.signs), row.value) << "row " << &row - rows;
  }
}

TEST(BoxTextTest, ShowsTheValueWithoutTrailingZerosInTheLocalesDigits) {
  struct Row {
    const NumberSigns& signs;
    double value;
    std::u16string shown;
  };
  const Row rows[] = {
      {Ascii, 1, u"1"},
      {Ascii, 100, u"100"},
      {Ascii, 2.5, u"2.5"},
      {Ascii, 3.1416, u"3.1416"},
      {Ascii, -5, u"-5"},
      {Ascii, -0.0, u"0"},
      {Ascii, -0.00001, u"0"},
      {Ascii, 1e6, u"1000000"},
      {Ascii, 123456789.25, u"123456789.25"},
      {Ascii, 0x1p60, u"1152921504606846976"},
      {Arabic, 1, u"\u0661"},
      {Arabic, 100, u"\u0661\u0660\u0660"},
      {Arabic, 2.5, u"\u0662\u066B\u0665"},
      {Arabic, -5, u"\u061C-\u0665"},
      {German, 100, u"100"},
      {German, 2.5, u"2,5"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(FormatBoxValue(row.value, row.signs), row.shown) << "row " << &row - rows;
    EXPECT_EQ(ParseBoxText(row.shown, row.signs), std::round(row.value * 1e4) / 1e4)
        << "row " << &row - rows << " read back";
  }
}

}  // namespace
}  // namespace pelmiro
