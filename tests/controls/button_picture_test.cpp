// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures: keyed by the mask colour, stretched, moved, lifted over a shadow, embossed.
#include <gtest/gtest.h>

#include "button_fixture.h"

namespace korvane::controls {
namespace {

using platform::Picture;
using platform::PicturePtr;

constexpr Colour kRed = makeColour(255, 0, 0);
constexpr Colour kGrey176 = makeColour(176, 176, 176);

// 4 x 4, red but for black (the default mask colour) corners.
PicturePtr redSquare(Picture::Kind kind) {
  auto p = std::make_shared<Picture>();
  p->kind = kind;
  p->image = platform::Raster(4, 4, kRed);
  for (auto [x, y] : {std::pair{0, 0}, {3, 0}, {0, 3}, {3, 3}}) p->image.setPixel(x, y, 0);
  if (kind == Picture::Kind::Icon) {
    p->opaque = platform::ShapeMask(4, 4, true);
    p->opaque.set(1, 1, false);
  }
  return p;
}

// A 40 x 30 button whose 8 x 8 picture (4 x 4 stretched) sits at (16, 11).
std::unique_ptr<NXOButtons> withPicture(ButtonFixture& f, int style, PicturePtr pic) {
  auto b = f.make(style, 40, 30);
  b->setPictureSize(3);
  b->setPictureWidth(8);
  b->setPictureHeight(8);
  b->setPicture(std::move(pic));
  EXPECT_EQ(b->rects().picture, (Rect{16, 11, 24, 19}));
  return b;
}

TEST(ButtonPicture, BitmapIsStretchedAndKeyedByTheMaskColour) {
  ButtonFixture f;
  auto b = withPicture(f, 4, redSquare(Picture::Kind::Bitmap));
  const Colour face = f.colours.colour(15);
  const struct {
    int x, y;
    Colour c;
  } px[] = {{16, 11, face}, {17, 12, face}, {18, 11, kRed}, {23, 18, face},
            {21, 18, kRed}, {19, 15, kRed}, {15, 15, face}, {24, 15, face}};
  for (const auto& p : px) EXPECT_EQ(b->surface().pixel(p.x, p.y), p.c) << p.x << "," << p.y;
}

TEST(ButtonPicture, StatesMoveLiftOrEmbossThePicture) {
  const struct {
    const char* name;
    int style;
    int state;  // 0 hover, 1 pressed, 2 disabled
    int x, y;
    Colour expected;
  } cases[] = {
      {"style 0 pressed moves +1", 0, 1, 24, 15, kRed},
      {"style 0 pressed leaves the old column", 0, 1, 16, 15, makeColour(212, 208, 200)},
      {"style 2 hover lifts by 2", 2, 0, 16, 13, kRed},
      {"style 2 hover shadow below right", 2, 0, 23, 17, kGrey176},
      {"style 2 hover shadow keeps the corners out", 2, 0, 24, 18, makeColour(181, 190, 214)},
      {"style 2 pressed does not move", 2, 1, 16, 15, kRed},
      {"disabled dark copy", 4, 2, 16, 15, makeColour(128, 128, 128)},
      {"disabled light copy right and down", 4, 2, 24, 16, makeColour(255, 255, 255)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ButtonFixture f;
    auto b = withPicture(f, c.style, redSquare(Picture::Kind::Bitmap));
    if (c.state == 0) b->mouseMove(0, 0, 1, 1);
    if (c.state == 1) b->mouseDown(1, 0, 1, 1);
    if (c.state == 2) b->setEnabled(false);
    EXPECT_EQ(b->surface().pixel(c.x, c.y), c.expected);
  }
}

TEST(ButtonPicture, IconShowsOnlyItsOpaquePixelsAndOtherKindsAreNotDrawn) {
  ButtonFixture f;
  auto b = withPicture(f, 4, redSquare(Picture::Kind::Icon));
  const Colour face = f.colours.colour(15);
  EXPECT_EQ(b->surface().pixel(16, 11), 0u);    // the icon has no mask colour: black shows
  EXPECT_EQ(b->surface().pixel(18, 13), face);  // its transparent pixel (1, 1)
  EXPECT_EQ(b->surface().pixel(20, 13), kRed);

  auto other = redSquare(Picture::Kind::Bitmap);
  auto cursor = std::make_shared<Picture>(*other);
  cursor->kind = Picture::Kind::Cursor;
  ButtonFixture g;
  auto c = withPicture(g, 4, cursor);
  EXPECT_EQ(c->surface().pixel(20, 13), face);
}

TEST(ButtonPicture, HoverPictureIsShownWhileHovered) {
  ButtonFixture f;
  auto b = withPicture(f, 4, redSquare(Picture::Kind::Bitmap));
  auto blue = std::make_shared<Picture>();
  blue->image = platform::Raster(4, 4, makeColour(0, 0, 255));
  b->setPictureHover(blue);
  EXPECT_EQ(b->surface().pixel(20, 15), kRed);  // stored only
  b->mouseMove(0, 0, 1, 1);
  EXPECT_EQ(b->picture(), blue);
  EXPECT_EQ(b->surface().pixel(20, 15), makeColour(0, 0, 255));
  b->pointerLeft();
  EXPECT_EQ(b->picture(), b->normalPicture());
  EXPECT_EQ(b->surface().pixel(20, 15), kRed);
}

TEST(ButtonPicture, AbsurdSizesFromABagDrawNothingAndDoNotCrash) {
  ButtonFixture f;
  ui::PropertyBag bag;
  bag.write("Picture", PicturePtr(redSquare(Picture::Kind::Bitmap)));
  for (int32_t size : {0, -5, 1 << 30}) {
    bag.write("PictureWidth", size);
    bag.write("OriginalPicSizeW", size);
    auto b = std::make_unique<NXOButtons>("B", f.services());
    b->readProperties(bag);
    b->mouseMove(0, 0, 1, 1);
    EXPECT_EQ(b->pixelWidth(), 10);
  }
}

}  // namespace
}  // namespace korvane::controls
