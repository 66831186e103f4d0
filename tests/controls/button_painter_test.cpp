// SPDX-License-Identifier: GPL-3.0-or-later
// Pixels of whole repaints through the control.
#include <gtest/gtest.h>

#include "button_fixture.h"

namespace korvane::controls {
namespace {

using platform::FakeTextRenderer;

TEST(ButtonPainter, Style2HoverAndPressedBackgroundsFollowTheHighlight) {
  const struct {
    Colour highlight;
    Colour hover;
    Colour pressed;
  } cases[] = {
      {makeColour(10, 36, 106), makeColour(181, 190, 214), makeColour(166, 175, 214)},
      {makeColour(49, 106, 197), makeColour(220, 255, 255), makeColour(205, 245, 255)},
  };
  for (const auto& c : cases) {
    ButtonFixture f;
    f.colours.set(13, c.highlight);
    auto b = f.make(2, 60, 24);
    EXPECT_EQ(b->surface().pixel(5, 5), f.colours.colour(15));
    b->mouseMove(0, 0, 5, 5);
    EXPECT_EQ(b->surface().pixel(5, 5), c.hover);
    EXPECT_EQ(b->surface().pixel(0, 0), f.colours.colour(18));  // the ForeColor border
    b->mouseDown(1, 0, 5, 5);
    EXPECT_EQ(b->surface().pixel(5, 5), c.pressed);
  }
}

TEST(ButtonPainter, Style2OwnColoursWhenDefaultsAreOff) {
  ButtonFixture f;
  auto b = f.make(2, 60, 24);
  b->setXPDefaultColors(false);
  b->setXPColorHover(makeColour(1, 2, 3));
  b->setXPColorPressed(systemColour(5));
  b->mouseMove(0, 0, 5, 5);
  EXPECT_EQ(b->surface().pixel(5, 5), makeColour(1, 2, 3));
  b->mouseDown(1, 0, 5, 5);
  EXPECT_EQ(b->surface().pixel(5, 5), makeColour(255, 255, 255));
}

struct BevelCase {
  const char* name;
  bool pressed;
  int depth;
  // Ring n = 3, 2, 1, 0 on the right edge and on the left edge.
  Colour right[4];
  Colour left[4];
};

TEST(ButtonPainter, Style0BevelRingsOnGrey192) {
  const Colour g = makeColour(192, 192, 192);
  const BevelCase cases[] = {
      {"raised",
       false,
       8,
       {makeColour(184, 184, 184), makeColour(176, 176, 177), makeColour(168, 168, 170),
        makeColour(160, 160, 163)},
       {makeColour(200, 200, 200), makeColour(208, 208, 208), makeColour(216, 216, 216),
        makeColour(224, 224, 224)}},
      {"sunken",
       true,
       8,
       {makeColour(200, 200, 200), makeColour(208, 208, 208), makeColour(216, 216, 216),
        makeColour(224, 224, 224)},
       {makeColour(184, 184, 184), makeColour(176, 176, 177), makeColour(168, 168, 170),
        makeColour(160, 160, 163)}},
      {"negative depth draws as 0", false, -8, {g, g, g, g}, {g, g, g, g}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ButtonFixture f;
    auto b = f.make(0, 88, 30);
    b->setBackColor(g);
    b->setBevel(3);
    b->setBevelDepth(static_cast<int16_t>(c.depth));
    if (c.pressed) b->mouseDown(1, 0, 5, 5);
    const auto& s = b->surface();
    for (int i = 0; i < 4; ++i) {
      const int n = 3 - i;
      EXPECT_EQ(s.pixel(87 - n, 15), c.right[i]) << "ring " << n;
      EXPECT_EQ(s.pixel(44, 29 - n), c.right[i]) << "ring " << n;
      EXPECT_EQ(s.pixel(n, 15), c.left[i]) << "ring " << n;
      EXPECT_EQ(s.pixel(44, n), c.left[i]) << "ring " << n;
    }
    EXPECT_EQ(s.pixel(44, 15), g);
  }
}

TEST(ButtonPainter, EdgesAndTheDefaultMarking) {
  ButtonFixture f;
  const Colour shadow = f.colours.colour(16);
  const Colour light = f.colours.colour(20);
  const Colour face = f.colours.colour(15);
  auto b = f.make(0, 40, 20);
  const auto& s = b->surface();
  EXPECT_EQ(s.pixel(0, 10), light);
  EXPECT_EQ(s.pixel(39, 10), shadow);
  EXPECT_EQ(s.pixel(20, 19), shadow);
  EXPECT_EQ(s.pixel(38, 10), face);
  b->gotFocus();  // focus marks style 0 as the default button: a second shadow line inside
  EXPECT_EQ(s.pixel(38, 10), shadow);
  EXPECT_EQ(s.pixel(20, 18), shadow);
  b->mouseDown(1, 0, 5, 5);  // sunken
  EXPECT_EQ(s.pixel(0, 10), shadow);
  EXPECT_EQ(s.pixel(39, 10), light);
}

TEST(ButtonPainter, Style1HasABorderOnlyWhileHoveredOrPressed) {
  ButtonFixture f;
  auto b = f.make(1, 40, 20);
  const Colour face = f.colours.colour(15);
  EXPECT_EQ(b->surface().pixel(0, 10), face);
  b->mouseMove(0, 0, 5, 5);
  EXPECT_EQ(b->surface().pixel(0, 10), f.colours.colour(20));
}

TEST(ButtonPainter, DisabledCaptionIsDrawnTwiceTheLightCopyOneRightAndDown) {
  ButtonFixture f;
  auto b = f.make(4, 60, 30, "A");
  b->setEnabled(false);
  const auto& s = b->surface();
  const Colour dark = f.colours.colour(16);
  const Colour light = f.colours.colour(20);
  // The dark copy sits where the caption goes when enabled.
  const Rect t = b->rects().text;
  const int x0 = t.left + 1 + (t.width() - 2 - FakeTextRenderer::kCellWidth) / 2;
  const int y0 = t.top + FakeTextRenderer::kGlyphBox.top;
  const Rect glyph{x0, y0, x0 + 5, y0 + 9};
  int lightSeen = 0;
  for (int y = glyph.top; y <= glyph.bottom; ++y)
    for (int x = glyph.left; x <= glyph.right; ++x) {
      const bool inDark = glyph.contains(x, y);
      const bool inLight = glyph.contains(x - 1, y - 1);
      if (inDark) {
        EXPECT_EQ(s.pixel(x, y), dark) << x << "," << y;
      }
      if (inLight && !inDark) {
        EXPECT_EQ(s.pixel(x, y), light) << x << "," << y;
        ++lightSeen;
      }
      if (!inDark && !inLight) {
        EXPECT_EQ(s.pixel(x, y), f.colours.colour(15));
      }
    }
  EXPECT_EQ(lightSeen, 5 + 9 - 1);
}

TEST(ButtonPainter, CaptionMovesWhenPressedExceptInStyle2) {
  for (int style : {0, 2, 3, 4}) {
    SCOPED_TRACE(style);
    ButtonFixture f;
    auto b = f.make(style, 60, 30, "A");
    const Rect t = b->rects().text;
    const int x0 = t.left + 1 + (t.width() - 2 - FakeTextRenderer::kCellWidth) / 2;
    const int y0 = t.top + FakeTextRenderer::kGlyphBox.top;
    const Colour text = f.colours.colour(18);
    EXPECT_EQ(b->surface().pixel(x0, y0), text);
    b->mouseDown(1, 0, 5, 5);
    const int d = style == 2 ? 0 : 1;
    EXPECT_EQ(b->surface().pixel(x0 + d, y0 + d), text);
    EXPECT_EQ(b->surface().pixel(x0 + 4 + d, y0 + 8 + d), text);
    if (d) {
      EXPECT_NE(b->surface().pixel(x0, y0), text);
    }
  }
}

TEST(ButtonPainter, AccessKeyIsUnderlined) {
  ButtonFixture f;
  auto b = f.make(4, 80, 30, "&Apply");
  const Rect t = b->rects().text;
  const int x0 = t.left + 1;
  const int y = t.top + FakeTextRenderer::kUnderlineRow;
  EXPECT_EQ(b->surface().pixel(x0, y), f.colours.colour(18));
  EXPECT_EQ(b->surface().pixel(x0 + FakeTextRenderer::kCellWidth, y), f.colours.colour(15));
  EXPECT_EQ(t.width(), 5 * FakeTextRenderer::kCellWidth + 2);  // "&" takes no room
}

TEST(ButtonPainter, FocusRectangleIsDottedAndNeverOnStyle3) {
  for (int style : {0, 1, 2, 3, 4}) {
    SCOPED_TRACE(style);
    ButtonFixture f;
    auto b = f.make(style, 40, 20);
    const auto before = b->surface();
    b->gotFocus();
    const auto& s = b->surface();
    // (3, 3) is on the dotted rectangle, (4, 3) is not.
    if (style == 3) {
      EXPECT_EQ(s.pixel(3, 3), before.pixel(3, 3));
    } else {
      EXPECT_EQ(s.pixel(3, 3), before.pixel(3, 3) ^ 0xFFFFFFu);
      EXPECT_EQ(s.pixel(4, 3), before.pixel(4, 3));
      EXPECT_EQ(s.pixel(5, 3), before.pixel(5, 3) ^ 0xFFFFFFu);
    }
    b->setShowFocusRect(false);
    if (style != 3 && style != 0) {
      EXPECT_EQ(b->surface().pixel(3, 3), before.pixel(3, 3));
    }
  }
}

}  // namespace
}  // namespace korvane::controls

namespace korvane::controls {
namespace {

// A container with a picture, a default button and a design mode.
struct TestContainer : ButtonContainer {
  bool design = false;
  const NXOButtons* defaultButton = nullptr;
  platform::Raster picture;
  std::vector<std::string> saved;
  bool designMode() const override { return design; }
  bool isDefaultButton(const NXOButtons& b) const override { return &b == defaultButton; }
  const platform::Raster* backgroundPicture() const override {
    return picture.empty() ? nullptr : &picture;
  }
  platform::Font ambientFont() const override { return {"Arial", 10}; }
  void propertyChanged(const NXOButtons&, const std::string& name) override {
    saved.push_back(name);
  }
};

TEST(ButtonContainer, TransparentBackgroundCopiesTheContainerPictureAtTheControlsPlace) {
  ButtonFixture f;
  TestContainer c;
  c.picture = platform::Raster(100, 100, makeColour(9, 9, 9));
  c.picture.setPixel(20 + 5, 10 + 6, makeColour(1, 2, 3));
  auto s = f.services();
  s.container = &c;
  NXOButtons b("B", s);
  b.setCaption("");
  b.setButtonStyle(4);
  b.setGeometry({20 * 15, 10 * 15, 40 * 15, 20 * 15});
  EXPECT_EQ(b.font(), (platform::Font{"Arial", 10}));
  EXPECT_EQ(b.surface().pixel(5, 6), f.colours.colour(15));
  b.setTransparentBG(true);
  EXPECT_EQ(b.surface().pixel(5, 6), makeColour(1, 2, 3));
  EXPECT_EQ(b.surface().pixel(6, 6), makeColour(9, 9, 9));
  EXPECT_EQ(c.saved.back(), "TransparentBG");
  c.picture = platform::Raster();  // no picture: nothing copied, no error
  b.Refresh();
  EXPECT_EQ(b.surface().pixel(5, 6), f.colours.colour(15));
}

TEST(ButtonContainer, DesignModeDrawsTheNormalBorderAndTheDefaultButtonIsMarked) {
  ButtonFixture f;
  TestContainer c;
  auto s = f.services();
  s.container = &c;
  NXOButtons b("B", s);
  b.setButtonStyle(2);
  b.setGeometry({0, 0, 40 * 15, 20 * 15});
  const Colour fore = f.colours.colour(18);
  EXPECT_NE(b.surface().pixel(0, 10), fore);
  c.design = true;
  b.Refresh();
  EXPECT_EQ(b.surface().pixel(0, 10), fore);

  c.design = false;
  b.setButtonStyle(1);
  EXPECT_EQ(b.surface().pixel(38, 10), f.colours.colour(15));
  c.defaultButton = &b;
  b.Refresh();
  EXPECT_EQ(b.surface().pixel(38, 10), f.colours.colour(16));
  EXPECT_EQ(b.surface().pixel(0, 10), f.colours.colour(20));
}

}  // namespace
}  // namespace korvane::controls
