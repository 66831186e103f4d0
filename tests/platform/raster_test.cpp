// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/raster.h"

#include <gtest/gtest.h>

namespace korvane::platform {
namespace {

constexpr Colour kInk = makeColour(10, 20, 30);
constexpr Colour kPaper = makeColour(250, 250, 250);

// The raster as text rows: '#' ink, '.' anything else.
std::vector<std::string> rows(const Raster& r) {
  std::vector<std::string> out;
  for (int y = 0; y < r.height(); ++y) {
    std::string row;
    for (int x = 0; x < r.width(); ++x) row += r.pixel(x, y) == kInk ? '#' : '.';
    out.push_back(row);
  }
  return out;
}

using Rows = std::vector<std::string>;

TEST(Raster, LinesLeaveOutTheirEndPoint) {
  const struct {
    const char* name;
    int x1, y1, x2, y2;
    Rows expected;
  } cases[] = {
      {"right", 0, 1, 4, 1, {".....", "####.", "....."}},
      {"left", 4, 1, 0, 1, {".....", ".####", "....."}},
      {"down", 2, 0, 2, 2, {"..#..", "..#..", "....."}},
      {"up", 2, 2, 2, 0, {".....", "..#..", "..#.."}},
      {"diagonal", 0, 0, 3, 3, {"#....", ".#...", "..#.."}},
      {"shallow", 0, 0, 4, 2, {"##...", "..##.", "....."}},
      {"single point", 1, 1, 1, 1, {".....", ".....", "....."}},
      {"clipped", -3, 1, 20, 1, {".....", "#####", "....."}},
      {"outside", -3, -1, 20, -1, {".....", ".....", "....."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Raster r(5, 3, kPaper);
    r.line(c.x1, c.y1, c.x2, c.y2, kInk);
    EXPECT_EQ(rows(r), c.expected);
  }
}

TEST(Raster, FrameDrawsOnlyTheEdgesThatFallInside) {
  const struct {
    const char* name;
    Rect r;
    Rows expected;
  } cases[] = {
      {"inside", {1, 0, 4, 3}, {".###.", ".#.#.", ".###."}},
      {"past right and bottom", {0, 0, 6, 4}, {"#####", "#....", "#...."}},
      {"empty", {2, 2, 2, 5}, {".....", ".....", "....."}},
      {"inverted", {4, 2, 1, 0}, {".....", ".....", "....."}},
      {"one pixel", {3, 1, 4, 2}, {".....", "...#.", "....."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Raster r(5, 3, kPaper);
    r.frame(c.r, kInk);
    EXPECT_EQ(rows(r), c.expected);
  }
}

TEST(Raster, FillAndCopiesClipOnBothSides) {
  Raster r(5, 3, kPaper);
  r.fill({-2, 2, 2, 9}, kInk);
  EXPECT_EQ(rows(r), (Rows{".....", ".....", "##..."}));
  Raster src(2, 2, kInk);
  src.setPixel(1, 1, kPaper);
  Raster keyed(5, 3, makeColour(1, 1, 1));
  keyed.keyedCopy(src, 4, 2, kPaper);
  keyed.keyedCopy(src, -1, -1, kInk);
  EXPECT_EQ(rows(keyed), (Rows{".....", ".....", "....#"}));
  EXPECT_EQ(keyed.pixel(0, 0), kPaper);
  Raster copy(3, 3, kPaper);
  copy.copy(src, 1, 1, 5, 5, 0, 0);  // only the source's one pixel exists
  EXPECT_EQ(copy.pixel(0, 0), kPaper);
  EXPECT_EQ(copy.pixel(1, 1), kPaper);
  copy.copy(src, 0, 0, 1, 1, 2, 2);
  EXPECT_EQ(copy.pixel(2, 2), kInk);
}

TEST(Raster, StretchIsNearestNeighbour) {
  Raster src(2, 1, kPaper);
  src.setPixel(1, 0, kInk);
  EXPECT_EQ(rows(src.stretched(5, 2)), (Rows{"..###", "..###"}));
  EXPECT_EQ(rows(src.stretched(1, 1)), (Rows{"#"}));  // the centre falls on the second
  EXPECT_TRUE(src.stretched(0, 3).empty());
  EXPECT_TRUE(Raster().stretched(3, 3).pixel(1, 1) == 0);
}

TEST(Raster, SilhouetteEmbossAndFocusRectangle) {
  Raster shape(2, 2, kPaper);
  shape.setPixel(0, 0, makeColour(7, 7, 7));
  Raster r(4, 4, makeColour(1, 1, 1));
  r.silhouette(shape, kPaper, kInk, 1, 1);
  EXPECT_EQ(rows(r), (Rows{"....", ".#..", "....", "...."}));
  const Colour light = makeColour(255, 255, 255);
  const Colour dark = makeColour(128, 128, 128);
  Raster e(4, 4, kPaper);
  e.embossed(shape, kPaper, light, dark, 0, 0);
  EXPECT_EQ(e.pixel(0, 0), dark);
  EXPECT_EQ(e.pixel(1, 1), light);
  EXPECT_EQ(e.pixel(1, 0), kPaper);

  Raster f(6, 4, 0);
  f.focusRect({0, 0, 6, 4});
  const Colour w = makeColour(255, 255, 255);
  EXPECT_EQ(f.pixel(0, 0), w);
  EXPECT_EQ(f.pixel(1, 0), 0u);
  EXPECT_EQ(f.pixel(5, 1), w);
  EXPECT_EQ(f.pixel(2, 2), 0u);  // inside stays
  f.focusRect({0, 0, 6, 4});     // drawn twice, gone
  EXPECT_EQ(f, Raster(6, 4, 0));
}

TEST(Raster, SizesAreCheckedAndPixelsOutsideReadBlack) {
  Raster r(-4, 7);
  EXPECT_TRUE(r.empty());
  r.fill({0, 0, 10, 10}, kInk);
  r.line(0, 0, 5, 5, kInk);
  EXPECT_EQ(r.pixel(0, 0), 0u);
  Raster big(Raster::kMaxSide + 10, 1);
  EXPECT_EQ(big.width(), Raster::kMaxSide);
  Raster one(1, 1, kInk);
  EXPECT_EQ(one.bits()[0], 0xFF0A141Eu);  // 0xFFRRGGBB
  EXPECT_EQ(one.pixel(1, 0), 0u);
  ShapeMask m(3, 2, true);
  m.set(9, 9, false);
  EXPECT_FALSE(m.contains(-1, 0));
  EXPECT_TRUE(m.contains(2, 1));
}

}  // namespace
}  // namespace korvane::platform
