// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/text.h"

#include <gtest/gtest.h>

namespace korvane::text {
namespace {

TEST(Text, PositionsAreSafeAtEveryLength) {
  EXPECT_EQ(left("abc", 5), "abc");
  EXPECT_EQ(left("abc", -1), "");
  EXPECT_EQ(right("abc", 2), "bc");
  EXPECT_EQ(mid("abcdef", 2, 3), "bcd");
  EXPECT_EQ(mid("abc", 4), "");
  EXPECT_EQ(mid("abc", 0), "");
  EXPECT_EQ(instr("a:::b", ":::"), 2);
  EXPECT_EQ(instr("abc", "c", 4), 0);
  EXPECT_EQ(instr("abc", "x"), 0);
}

TEST(Text, SplitKeepsTheRestInTheLastField) {
  const auto four = split("h:::t:::2:::37:0:::more", ":::", 4);
  ASSERT_EQ(four.size(), 4u);
  EXPECT_EQ(four[3], "37:0:::more");
  EXPECT_EQ(split("a::b", ":").size(), 3u);
  EXPECT_EQ(split("", ":").size(), 1u);
}

TEST(Text, TrimRemovesBlanksOnlyAndCaseIsExact) {
  EXPECT_EQ(trim("  host\t "), "host\t");
  EXPECT_EQ(trim("   "), "");
  EXPECT_EQ(replaceAll("a\nb\n", "\n", ""), "ab");
  EXPECT_FALSE(contains("synchronizing", "Synchronizing"));
}

TEST(Text, FilePatternsMatchLikeTheDesktopsListings) {
  struct Case {
    const char* name;
    const char* pattern;
    bool matches;
  };
  const Case cases[] = {
      {"AMP_Amber Shadow.bmp", "AMP_*.*", true},
      {"amp_x.BMP", "AMP_*.*", true},
      {"AMP_notes", "AMP_*.*", false},
      {"AMP_.", "AMP_*.*", true},
      {"KRV_Blue Dots.gif", "*.gif", true},
      {"skin.GIF", "*.gif", true},
      {"skin.gif.bak", "*.gif", false},
      {"a.gif", "?.gif", true},
      {"ab.gif", "?.gif", false},
      {"aXbXc", "*X*X*c", true},
      {"", "*", true},
      {"", "?", false},
  };
  for (const Case& c : cases) EXPECT_EQ(matchesPattern(c.name, c.pattern), c.matches) << c.name;
  EXPECT_TRUE(lessIgnoringCase("amp_b", "AMP_C"));
  EXPECT_TRUE(lessIgnoringCase("B", "b"));  // ties by the exact text
  EXPECT_FALSE(lessIgnoringCase("b", "b"));
}

}  // namespace
}  // namespace korvane::text
