// SPDX-License-Identifier: GPL-3.0-or-later
// The skinned taskbar clock drawn with the shipped skins, pixel by pixel.
#include "display/skin_render.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "display/skin_glyphs.h"
#include "platform/fake/fake_locale.h"
#include "platform/qt/qt_images.h"

namespace korvane::display {
namespace {

using platform::Raster;

Raster skin(const std::string& name) {
  platform::ImageLoad load = platform::QtImages().load(KORVANE_TEST_DATA_DIR "/Skins/" + name);
  EXPECT_TRUE(load.ok()) << name << ": " << load.description;
  return load.image;
}

// The w x h block at (sx, sy) of the skin drawn at (dx, dy), only the part inside the skin.
void place(Raster& out, const Raster& from, int sx, int sy, int w, int h, int dx, int dy) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (sx + x < from.width() && sy + y < from.height())
        out.setPixel(dx + x, dy + y, from.pixel(sx + x, sy + y));
}

TEST(SkinCellTest, WidthRoundsToTheNearestCell) {
  const std::pair<int, int> widths[] = {{150, 10}, {151, 10}, {157, 10}, {158, 11}, {0, 0}};
  for (auto [width, cell] : widths) EXPECT_EQ(StripCell(Raster(width, 9)).width, cell) << width;
  EXPECT_EQ(StripCell(skin("KRV_Default Skin.gif")), (GlyphCell{10, 18}));
  EXPECT_EQ(StripCell(skin("KRV_Amber Narrow.gif")), (GlyphCell{11, 20}));
  EXPECT_EQ(StripCell(skin("KRV_Blue Dots.gif")), (GlyphCell{16, 24}));
}

TEST(RenderKRVTest, WorkedExamplesDrawTheirCells) {
  struct Case {
    const char* skin;
    CivilDateTime now;
    ClockTextFlags flags;     // 24-hour, seconds, AM/PM
    const char* glyphs;       // the characters drawn, in order
    std::optional<int> mark;  // the mark's first cell
  };
  const char* green = "KRV_Default Skin.gif";
  const auto at = [](int h, int m, int s) { return CivilDateTime{2026, 12, 7, h, m, s, 0}; };
  const Case cases[] = {
      {green, at(9, 5, 0), {false, false, true}, "9:05", kAmMarkCell},
      {green, at(12, 30, 0), {false, false, true}, "12:30", kPmMarkCell},
      {green, at(15, 45, 0), {true, false, true}, "15:45", kPmMarkCell},
      {green, at(15, 5, 7), {false, true, false}, "3:05:07", {}},
      // 158 pixels wide: the PM mark's last 7 columns lie outside the image and stay background.
      {"KRV_Amber Narrow.gif", at(15, 5, 7), {false, false, true}, "3:05", kPmMarkCell},
      {"KRV_Blue Dots.gif", at(0, 0, 9), {false, true, false}, "12:00:09", {}},
  };
  const platform::FakeLocale locale;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.skin + std::string(" ") + c.glyphs);
    const Raster image = skin(c.skin);
    const GlyphCell cell = StripCell(image);
    const Colour back = image.pixel(image.width() - 1, 1);
    OverlaySurface surface{{}, Raster(220, 30), 0};
    const Rect area = RenderKRV(image, c.now, c.flags, locale, surface);

    Raster want(220, 30, back);
    const std::string glyphs = c.glyphs;
    for (size_t i = 0; i < glyphs.size(); ++i) {
      const int index = glyphs[i] == ':' ? 10 : glyphs[i] - '0';
      place(want, image, index * cell.width, 0, cell.width, cell.height, 3 + i * cell.width, 0);
    }
    const int cells = static_cast<int>(glyphs.size()) + (c.mark ? 2 : 0);
    if (c.mark)
      place(want, image, *c.mark * cell.width, 0, 2 * cell.width, cell.height,
            3 + static_cast<int>(glyphs.size()) * cell.width, 0);
    EXPECT_EQ(area, (Rect{3, 0, 3 + cells * cell.width, cell.height}));
    EXPECT_EQ(surface.background, back);
    EXPECT_TRUE(surface.window == want);

    // The floating clock draws the same cells into a picture of their size.
    Colour floatingBack = 0;
    Raster picture;
    EXPECT_EQ(RenderFloatingKRV(image, c.now, c.flags, locale, floatingBack, picture), cells);
    Raster drawn(area.width(), area.height());
    drawn.copy(want, 3, 0, area.width(), area.height(), 0, 0);
    EXPECT_TRUE(picture == drawn);
    EXPECT_EQ(floatingBack, image.pixel(1, 1));
  }
}

TEST(RenderAMPTest, TwoLinesOfTheFontAtTheirCells) {
  const platform::FakeLocale locale;
  for (const char* name : {"Korvane Green LCD/text.bmp", "AMP_Amber Shadow.bmp"}) {
    SCOPED_TRACE(name);
    const Raster font = skin(name);
    OverlaySurface surface{{}, Raster(90, 19), 0};
    const CivilDateTime now{2026, 12, 7, 15, 5, 7};
    const AmpLines lines = AmpClockLines(now, {false, true, false}, locale);
    EXPECT_EQ(lines.first, " 7  KRV v 4.0 ");
    EXPECT_EQ(lines.second, "Dec 3:05:07");
    EXPECT_EQ(RenderAMP(font, now, {false, true, false}, locale, surface), (Rect{3, 3, 73, 16}));
    // With the AM/PM flag the mark's letters follow from row 0.
    OverlaySurface marked{{}, Raster(90, 19), 0};
    RenderAMP(font, now, {false, true, true}, locale, marked);

    struct Cell {
      const OverlaySurface& in;
      int line, position, column, row;
    };
    const Cell cells[] = {{surface, 0, 1, 7, 1},  {surface, 0, 4, 10, 0}, {surface, 0, 11, 27, 1},
                          {surface, 1, 0, 3, 0},  {surface, 1, 5, 12, 1}, {surface, 1, 10, 7, 1},
                          {marked, 1, 12, 15, 0}, {marked, 1, 13, 12, 0}};
    for (const Cell& c : cells) {
      Raster want(5, 6), got(5, 6);
      want.copy(font, c.column * 5, c.row * 6, 5, 6, 0, 0);
      got.copy(c.in.window, 3 + c.position * 5, 3 + c.line * 7, 5, 6, 0, 0);
      EXPECT_TRUE(got == want) << c.line << ":" << c.position;
    }
    const Colour back = font.pixel(145, 7);
    for (int x = 0; x < 90; ++x) EXPECT_EQ(surface.window.pixel(x, 9), back);  // between lines
  }
}

TEST(SoundDrawingTest, WhatLiesOutsideTheSkinStaysBackground) {
  const platform::FakeLocale us;
  struct DottedLocale : platform::FakeLocale {
    std::string timeDesignator(bool pm) const override { return pm ? "p.m." : "a.m."; }
  } dotted;
  const Colour before = makeColour(1, 2, 3);
  const CivilDateTime now{2026, 12, 7, 15, 5, 7};

  // A failed load: nothing drawn, the colour kept.
  OverlaySurface empty{{}, Raster(40, 10), before};
  EXPECT_EQ(RenderKRV(Raster(), now, {false, true, true}, us, empty).width(), 0);
  EXPECT_TRUE(empty.window == Raster(40, 10, before));

  // "3:05 p.m." draws its four glyphs and nothing for the designator.
  const Raster strip = skin("KRV_Default Skin.gif");
  OverlaySurface dots{{}, Raster(120, 18), before};
  EXPECT_EQ(RenderKRV(strip, now, {}, dotted, dots).width(), 90);
  OverlaySurface plain{{}, Raster(120, 18), before};
  RenderKRV(strip, now, {}, us, plain);  // "3:05 PM" drawn as "3:05"
  for (int x = 0; x < 120; ++x)
    for (int y = 0; y < 18; ++y) ASSERT_EQ(dots.window.pixel(x, y), plain.window.pixel(x, y));

  // A font bitmap of one 60-pixel row: letters inside it drawn, digits below it background,
  // and (145, 7) outside it keeps the colour.
  Raster small(60, 6, makeColour(200, 0, 0));
  small.fill({50, 0, 55, 6}, makeColour(0, 0, 200));  // "k"
  OverlaySurface amp{{}, Raster(80, 19), before};
  RenderAMP(small, now, {false, true, false}, us, amp);
  EXPECT_EQ(amp.background, before);
  EXPECT_EQ(amp.window.pixel(3 + 4 * 5, 3), makeColour(0, 0, 200));  // "K" of line 1
  EXPECT_EQ(amp.window.pixel(3 + 1 * 5, 3), before);                 // "7" lies in row 1
}

}  // namespace
}  // namespace korvane::display
