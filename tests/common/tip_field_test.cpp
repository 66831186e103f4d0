// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/tip_field.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(TipField, PadsCutsAndShowsUpToTheNul) {
  TipField tip(withNul(" Korvane "));
  EXPECT_EQ(tip.raw().size(), 64u);
  EXPECT_EQ(tip.shown(), " Korvane ");
  EXPECT_EQ(tip.raw().back(), ' ');

  const std::string longText(70, 'x');
  TipField cut(withNul(longText));  // the NUL falls off the end
  EXPECT_EQ(cut.shown(), std::string(64, 'x'));

  TipField noNul("KRV - No Adjustment: 12/8/2026");
  EXPECT_EQ(noNul.shown().size(), 64u);  // padding blanks are shown
  EXPECT_TRUE(noNul.contains("No Adjustment"));
}

TEST(TipField, CutNeverSplitsAUtf8Character) {
  struct Case {
    std::string text;
    std::string shown;
  };
  const std::string a62(62, 'a'), a63(63, 'a');
  const Case cases[] = {
      {a63 + "\xC3\xA4z", a63 + " "},         // two-byte character at the edge
      {a62 + "\xE2\x82\xAC", a62 + "  "},     // three-byte character cut after 2
      {a62 + "\xC3\xA4", a62 + "\xC3\xA4"},   // fits exactly
      {a63 + "\xF0\x9F\x95\x90", a63 + " "},  // four bytes, one fits
  };
  for (const Case& c : cases) EXPECT_EQ(TipField(c.text).shown(), c.shown) << c.text.size();
}

}  // namespace
}  // namespace korvane
