// SPDX-License-Identifier: GPL-3.0-or-later
// The picture of a repaint: bitmaps keyed by the mask colour, icons by their own shape.
#include <algorithm>
#include <cstdint>

#include "controls/button_painter.h"

namespace korvane::controls {

namespace {

using platform::Picture;
using platform::Raster;

constexpr Colour kWhite = makeColour(255, 255, 255);

// Largest picture side drawn, pixels: sizes from a property bag are only trusted this far.
constexpr int kMaxPictureSide = 2048;

bool drawableSize(int w, int h) {
  return w > 0 && h > 0 && w <= kMaxPictureSide && h <= kMaxPictureSide;
}

// The bitmap copied at its own size onto an image of back.
Raster ownSize(const Picture& pic, int w, int h, Colour back) {
  Raster out(w, h, back);
  out.copy(pic.image, 0, 0, w, h, 0, 0);
  return out;
}

// The bitmap at its own size on white, its mask-colour pixels left white.
Raster onWhite(const Picture& pic, int w, int h, Colour mask) {
  Raster out(w, h, kWhite);
  out.keyedCopy(pic.image, 0, 0, mask);
  return out;
}

// The icon's shape at w x h: ink where it shows, back elsewhere.
Raster iconShape(const Picture& pic, int w, int h, Colour ink, Colour back) {
  Raster out(w, h, back);
  if (pic.image.empty()) return out;
  for (int y = 0; y < out.height(); ++y) {
    const int sy = platform::centreSample(y, pic.height(), out.height());
    for (int x = 0; x < out.width(); ++x) {
      const int sx = platform::centreSample(x, pic.width(), out.width());
      if (pic.shows(sx, sy)) out.setPixel(x, y, ink);
    }
  }
  return out;
}

// The icon stretched into r, drawn where it shows.
void drawIcon(Raster& s, const Picture& pic, const Rect& r) {
  const int w = r.width();
  const int h = r.height();
  if (!drawableSize(w, h) || pic.image.empty()) return;
  for (int y = std::max(0, -r.top); y < h && r.top + y < s.height(); ++y) {
    const int sy = platform::centreSample(y, pic.height(), h);
    for (int x = std::max(0, -r.left); x < w && r.left + x < s.width(); ++x) {
      const int sx = platform::centreSample(x, pic.width(), w);
      if (pic.shows(sx, sy)) s.setPixel(r.left + x, r.top + y, pic.image.pixel(sx, sy));
    }
  }
}

}  // namespace

void paintPicture(Raster& s, const PaintInput& in) {
  if (!in.picture) return;
  const Picture& pic = *in.picture;
  const ButtonProperties& p = *in.props;
  const bool lifted = p.buttonStyle == 2 && in.flags.hover && !in.flags.pressed;
  const int move = lifted ? -2 : (in.flags.pressed && p.buttonStyle != 2 ? 1 : 0);
  const Rect r = in.rects.picture.movedBy(move);
  const Rect& shadow = in.rects.shadow;
  const int pw = p.pictureWidth;
  const int ph = p.pictureHeight;
  const int ow = p.originalPicSizeW;
  const int oh = p.originalPicSizeH;
  if (!drawableSize(ow, oh)) return;
  const Colour light = in.colours->colour(20);
  const Colour dark = in.colours->colour(16);

  if (pic.kind == Picture::Kind::Bitmap) {
    if (!drawableSize(pw, ph)) return;
    const Colour mask = in.colours->resolve(p.maskColor);
    if (!in.enabled) {
      s.embossed(onWhite(pic, ow, oh, mask).stretched(pw, ph), kWhite, light, dark, r.left, r.top);
      return;
    }
    if (lifted)
      s.silhouette(onWhite(pic, ow, oh, mask).stretched(pw, ph), kWhite, kPictureShadow,
                   shadow.left, shadow.top);
    s.keyedCopy(ownSize(pic, ow, oh, 0).stretched(pw, ph), r.left, r.top, mask);
  } else if (pic.kind == Picture::Kind::Icon) {
    if (!in.enabled) {
      if (!drawableSize(r.width(), r.height())) return;
      Raster shape(ow, oh, 0);
      shape.embossed(iconShape(pic, ow, oh, kWhite, 0), 0, light, dark, 0, 0);
      s.keyedCopy(shape.stretched(r.width(), r.height()), r.left, r.top, 0);
      return;
    }
    if (lifted && drawableSize(shadow.width(), shadow.height()))
      s.keyedCopy(
          iconShape(pic, ow, oh, kPictureShadow, 0).stretched(shadow.width(), shadow.height()),
          shadow.left, shadow.top, 0);
    drawIcon(s, pic, r);
  }
}

}  // namespace korvane::controls
