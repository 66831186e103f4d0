// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/button_layout.h"

#include <gtest/gtest.h>

namespace korvane::controls {
namespace {

// An 88 x 41 button: inner (4, 4, 84, 37); a 16 x 16 picture and a 14 x 13 caption.
LayoutInput input(int position) {
  LayoutInput in;
  in.inner = {4, 4, 84, 37};
  in.pictureWidth = 16;
  in.pictureHeight = 16;
  in.hasPicture = true;
  in.hasCaption = true;
  in.textWidth = 14;
  in.textHeight = 13;
  in.picturePosition = position;
  in.buttonStyle = 0;
  in.picture = {1, 2, 3, 4};
  in.shadow = {5, 6, 7, 8};
  return in;
}

TEST(ButtonLayout, FourPicturePositionsWithTheFourPixelGap) {
  const struct {
    int position;
    Rect picture;
    Rect text;
  } cases[] = {
      {1, {27, 12, 43, 28}, {47, 14, 61, 27}},  // left
      {2, {45, 12, 61, 28}, {27, 14, 41, 27}},  // right
      {0, {36, 4, 52, 20}, {37, 24, 51, 37}},   // above: (33 - 33) / 2 = 0
      {3, {36, 21, 52, 37}, {37, 4, 51, 17}},   // below
      {7, {1, 2, 3, 4}, {37, 14, 51, 27}},      // unknown: the picture stays
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.position);
    const LayoutResult out = layoutButton(input(c.position));
    EXPECT_EQ(out.picture, c.picture);
    EXPECT_EQ(out.text, c.text);
    EXPECT_EQ(out.shadow, (Rect{5, 6, 7, 8}));  // not style 2
  }
}

TEST(ButtonLayout, PictureAloneIsCentredAndStyle2GetsItsShadow) {
  LayoutInput in = input(1);
  in.hasCaption = false;
  in.buttonStyle = 2;
  const LayoutResult out = layoutButton(in);
  EXPECT_EQ(out.picture, (Rect{36, 12, 52, 28}));
  EXPECT_EQ(out.shadow, (Rect{37, 13, 53, 29}));
}

TEST(ButtonLayout, OddRemaindersAreDroppedTowardsZeroAndHugeSizesSaturate) {
  LayoutInput in = input(1);
  in.hasPicture = false;
  in.inner = {4, 4, 2, 2};  // a button smaller than its margins
  in.textWidth = 15;
  const LayoutResult small = layoutButton(in);
  EXPECT_EQ(small.text.left, -4);  // 4 + (-17) / 2, the remainder dropped towards zero
  EXPECT_EQ(small.text.top, -3);   // 4 + (-15) / 2
  in = input(0);
  in.pictureHeight = 2147483647;
  const LayoutResult huge = layoutButton(in);
  EXPECT_EQ(huge.picture.bottom, 1073741836);  // 4 + (33 - 2147483664) / 2 + 2147483647, wide
}

}  // namespace
}  // namespace korvane::controls
