// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/caption_layout.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

int tenPerChar(std::string_view s) {
  return static_cast<int>(s.size()) * 10;
}

TEST(CaptionLayout, MarkersAreStrippedAndTheFirstAccessKeyIsUnderlined) {
  const struct {
    const char* caption;
    const char* shown;
    int underline;
  } cases[] = {{"&Apply", "Apply", 0}, {"Save && Exit", "Save & Exit", -1},
               {"x&&y&z", "x&yz", 3},  {"a&b&c", "abc", 1},
               {"end&", "end", -1},    {"two\r\nlines", "two\nlines", -1}};
  for (const auto& c : cases) {
    const CaptionText t = stripAccessMarkers(c.caption);
    EXPECT_EQ(t.text, c.shown) << c.caption;
    EXPECT_EQ(t.underline, c.underline) << c.caption;
  }
}

TEST(CaptionLayout, WrapsBetweenWordsToTheWidth) {
  const struct {
    const char* caption;
    int width;
    std::vector<std::string> lines;
  } cases[] = {
      {"Set the clock", 130, {"Set the clock"}},
      {"Set the clock", 129, {"Set the", "clock"}},
      {"Set the clock", 40, {"Set", "the", "clock"}},
      {"Unbreakable", 20, {"Unbreakable"}},
      {"a\nb c", 100, {"a", "b c"}},
      {"", 100, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caption);
    const CaptionBlock b = wrapCaption(c.caption, c.width, tenPerChar);
    std::vector<std::string> got;
    for (const auto& l : b.lines) got.push_back(l.text);
    EXPECT_EQ(got, c.lines);
  }
}

TEST(CaptionLayout, UnderlineFollowsItsCharacterOntoItsLine) {
  const CaptionBlock b = wrapCaption("Set the &clock", 80, tenPerChar);
  ASSERT_EQ(b.lines.size(), 2u);
  EXPECT_EQ(b.lines[0].underline, -1);
  EXPECT_EQ(b.lines[1].text, "clock");
  EXPECT_EQ(b.lines[1].underline, 0);
  EXPECT_EQ(b.width, 70);
}

}  // namespace
}  // namespace korvane
