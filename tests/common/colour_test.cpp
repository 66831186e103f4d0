// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/colour.h"

#include <gtest/gtest.h>

#include "platform/system_colours.h"

namespace korvane {
namespace {

TEST(Colour, ShadeMovesBlueByAShareOfItself) {
  const struct {
    Colour c;
    int k;
    Colour expected;
  } cases[] = {
      {makeColour(200, 100, 96), -24, makeColour(176, 76, 84)},
      {makeColour(250, 250, 250), 48, makeColour(255, 255, 255)},
      {makeColour(0, 0, 0), -10, makeColour(0, 0, 0)},
      {makeColour(192, 192, 192), -8, makeColour(184, 184, 184)},
      {makeColour(184, 184, 184), -8, makeColour(176, 176, 177)},  // -7.67 truncates to -7
      {makeColour(176, 176, 177), -8, makeColour(168, 168, 170)},
      {makeColour(168, 168, 170), -8, makeColour(160, 160, 163)},
      {makeColour(10, 20, 191), 1, makeColour(11, 21, 191)},  // 191 / 192 drops to 0
      {makeColour(5, 5, 5), 0, makeColour(5, 5, 5)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(shade(c.c, c.k), c.expected) << std::hex << c.c << " by " << std::dec << c.k;
}

TEST(Colour, AddAndMakeClampEveryComponent) {
  EXPECT_EQ(add(makeColour(192, 192, 192), 8), makeColour(200, 200, 200));
  EXPECT_EQ(add(makeColour(250, 10, 0), 8), makeColour(255, 18, 8));
  EXPECT_EQ(add(makeColour(3, 10, 0), -5), makeColour(0, 5, 0));
  EXPECT_EQ(makeColour(300, 256, 255), 0xFFFFFFu);
  EXPECT_EQ(makeColour(1, 2, 3), 0x030201u);
  EXPECT_EQ(red(0x030201u), 1);
  EXPECT_EQ(blue(0x030201u), 3);
}

TEST(Colour, ValuesFromTheHighRangeNameSystemColours) {
  platform::ClassicSystemColours table;
  table.set(5, makeColour(9, 8, 7));
  const struct {
    Colour value;
    Colour expected;
  } cases[] = {
      {static_cast<Colour>(-2147483643), makeColour(9, 8, 7)},  // system colour 5
      {0x80000005u, makeColour(9, 8, 7)},
      {0x01000005u, makeColour(9, 8, 7)},  // any value of 0x01000000 or more
      {0x00FFFFFFu, 0x00FFFFFFu},          // an RGB colour stays
      {0x8000000Fu, makeColour(212, 208, 200)},
      {0x80000063u, 0u},  // no such system colour
  };
  for (const auto& c : cases) EXPECT_EQ(table.resolve(c.value), c.expected) << std::hex << c.value;
  EXPECT_EQ(systemColour(21), 0x80000015u);
}

}  // namespace
}  // namespace korvane
