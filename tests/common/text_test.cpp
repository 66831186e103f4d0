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

}  // namespace
}  // namespace korvane::text
