// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/style3_painter.h"

#include <gtest/gtest.h>

#include "button_fixture.h"

namespace korvane::controls {
namespace {

using platform::Raster;

constexpr Colour kBase = makeColour(200, 180, 160);
constexpr Colour kUntouched = makeColour(1, 2, 3);

TEST(Style3Gradient, NormalRowsDarkenByOnePerRowAtHeight25) {
  Raster r(88, 25, kUntouched);
  paintStyle3Gradient(r, 88, 25, kBase, false);
  EXPECT_EQ(r.pixel(40, 0), kUntouched);  // row 0 keeps the fill
  for (int i = 1; i <= 24; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(r.pixel(0, i), shade(kBase, -i));
    EXPECT_EQ(r.pixel(87, i), shade(kBase, -i));
  }
}

TEST(Style3Gradient, PressedRowsDarkenUpwardsWithTiesToEvenAtHeight30) {
  Raster r(60, 30, kUntouched);
  paintStyle3Gradient(r, 60, 30, kBase, true);
  const Colour p = shade(kBase, -32);
  // Row -> shade of p: 15 * i / 30 rounded half to even, i = 30 - row.
  const struct {
    int row;
    int by;
  } rows[] = {{29, 0},  {28, -1}, {27, -2}, {26, -2}, {25, -2}, {24, -3},
              {23, -4}, {22, -4}, {21, -4}, {15, -8}, {1, -14}, {0, -15}};
  for (const auto& c : rows) {
    SCOPED_TRACE(c.row);
    EXPECT_EQ(r.pixel(30, c.row), shade(p, c.by));
  }
}

TEST(Style3Shape, TwelveCornerPixelsAreOutsideAtEverySize) {
  for (auto [w, h] : {std::pair{88, 25}, {10, 10}, {200, 41}}) {
    SCOPED_TRACE(w);
    const auto m = style3Shape(w, h);
    const std::pair<int, int> out[] = {{0, 0},     {1, 0},         {0, 1},         {w - 2, 0},
                                       {w - 1, 0}, {w - 1, 1},     {0, h - 1},     {1, h - 1},
                                       {0, h - 2}, {w - 2, h - 1}, {w - 1, h - 1}, {w - 1, h - 2}};
    int inside = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) inside += m.contains(x, y);
    EXPECT_EQ(inside, w * h - 12);
    for (auto [x, y] : out) EXPECT_FALSE(m.contains(x, y)) << x << "," << y;
    EXPECT_TRUE(m.contains(1, 1));
    EXPECT_TRUE(m.contains(w - 2, h - 2));
  }
}

struct StateCase {
  const char* name;
  bool pressed, focus, hot;
};

TEST(Style3Painter, DarkCornerPixelsInEveryEnabledState) {
  const Colour dark = makeColour(64, 64, 64);
  const StateCase states[] = {{"plain", false, false, false},
                              {"focus", false, true, false},
                              {"hot", false, false, true},
                              {"focus and hot", false, true, true},
                              {"pressed", true, false, false}};
  for (const auto& s : states) {
    for (auto [w, h] : {std::pair{88, 25}, {12, 10}, {150, 40}}) {
      SCOPED_TRACE(std::string(s.name) + " " + std::to_string(w));
      Raster r(w, h);
      Style3Look look{w,
                      h,
                      makeColour(212, 208, 200),
                      true,
                      s.pressed,
                      s.focus,
                      s.hot,
                      kDefaultFocusRing,
                      kDefaultHotRing,
                      dark};
      paintStyle3(r, look);
      for (auto [x, y] : {std::pair{1, 1}, {1, h - 2}, {w - 2, 1}, {w - 2, h - 2}})
        EXPECT_EQ(r.pixel(x, y), dark) << x << "," << y;
      EXPECT_EQ(r.pixel(w / 2, 0), dark);
      EXPECT_EQ(r.pixel(0, h / 2), dark);
    }
  }
}

TEST(Style3Painter, InnerLinesFollowTheStateColumn) {
  const Colour face = makeColour(212, 208, 200);
  const Colour base = shade(face, 48);
  const Colour p = shade(base, -32);
  const Colour f = kDefaultFocusRing;
  const Colour k = kDefaultHotRing;
  const int w = 88;
  const int h = 25;
  const struct {
    StateCase state;
    int x, y;
    Colour expected;
  } cases[] = {
      {{"plain top", false, false, false}, 40, 1, shade(base, 16)},
      {{"plain bottom", false, false, false}, 40, h - 2, shade(base, -48)},
      {{"plain left", false, false, false}, 1, 10, shade(base, -5)},
      {{"plain right inner", false, false, false}, w - 3, 10, shade(base, -24)},
      {{"focus top inner reaches W-2", false, true, false}, w - 2, 2, shade(f, 50)},
      {{"focus left is the ring", false, true, false}, 1, 10, f},
      {{"focus right inner", false, true, false}, w - 3, 10, shade(f, 31)},
      {{"hot over focus", false, true, true}, 40, 1, shade(k, 90)},
      {{"hot bottom", false, false, true}, 40, h - 2, shade(k, -40)},
      {{"pressed top", true, false, false}, 40, 1, shade(p, -32)},
      {{"pressed right inner", true, false, false}, w - 3, 10, p},
      {{"pressed left inner from row 2", true, false, false}, 2, 2, shade(p, -22)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.state.name);
    Raster r(w, h);
    paintStyle3(r, {w, h, face, true, c.state.pressed, c.state.focus, c.state.hot, f, k,
                    makeColour(64, 64, 64)});
    EXPECT_EQ(r.pixel(c.x, c.y), c.expected);
  }
}

TEST(Style3Painter, DisabledIsFlatWithItsOwnFrameAndCorners) {
  const Colour face = makeColour(212, 208, 200);
  const Colour base = shade(face, 48);
  Raster r(40, 20);
  paintStyle3(r, {40, 20, face, false, true, true, true, 0, 0, 0});
  EXPECT_EQ(r.pixel(20, 10), shade(base, -24));
  EXPECT_EQ(r.pixel(0, 0), shade(base, -84));
  EXPECT_EQ(r.pixel(38, 18), shade(base, -72));
  EXPECT_EQ(r.pixel(20, 1), shade(base, -24));  // no inner lines
}

TEST(Style3Painter, TinyAndEmptySizesStayInside) {
  for (auto [w, h] : {std::pair{0, 0}, {1, 1}, {2, 3}, {-5, 4}}) {
    Raster r(3, 3, kUntouched);
    paintStyle3(r, {w, h, kBase, true, true, true, true, 0, 0, 0});
    paintStyle3(r, {w, h, kBase, true, false, true, true, 0, 0, 0});
    if (w <= 0) {
      EXPECT_EQ(r.pixel(1, 1), kUntouched);
    }
  }
}

}  // namespace
}  // namespace korvane::controls
