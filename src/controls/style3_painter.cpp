// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/style3_painter.h"

#include "common/rounding.h"

namespace korvane::controls {

namespace {

using platform::Raster;

int nearest(double x) {
  return static_cast<int>(roundHalfEven(x));
}

void corners(Raster& s, int w, int h, Colour c) {
  s.setPixel(1, 1, c);
  s.setPixel(1, h - 2, c);
  s.setPixel(w - 2, 1, c);
  s.setPixel(w - 2, h - 2, c);
}

// The eight inner lines in their drawing order.
struct Lines {
  Colour bottom, bottomInner, right, rightInner, top, topInner, left, leftInner;
};

void plainOrPressedLines(Raster& s, int w, int h, const Lines& c, bool pressed) {
  s.line(2, h - 2, w - 2, h - 2, c.bottom);
  s.line(1, h - 3, w - 2, h - 3, c.bottomInner);
  s.line(w - 2, 2, w - 2, h - 2, c.right);
  s.line(w - 3, 3, w - 3, h - 3, c.rightInner);
  s.line(2, 1, w - 2, 1, c.top);
  s.line(1, 2, w - 2, 2, c.topInner);
  s.line(1, 2, 1, h - 2, c.left);
  if (pressed)
    s.line(2, 2, 2, h - 2, c.leftInner);
  else
    s.line(2, 3, 2, h - 3, c.leftInner);
}

// The focus and hot rings: a frame, then bottom, top, top inner, left inner, right inner.
void ring(Raster& s, int w, int h, Colour k, int bottom, int top, int topInner, int side) {
  s.frame({1, 2, w - 1, h - 2}, k);
  s.line(2, h - 2, w - 2, h - 2, shade(k, bottom));
  s.line(2, 1, w - 2, 1, shade(k, top));
  s.line(1, 2, w - 1, 2, shade(k, topInner));
  s.line(2, 3, 2, h - 3, shade(k, side));
  s.line(w - 3, 3, w - 3, h - 3, shade(k, side));
}

void normalState(Raster& s, const Style3Look& look, Colour base) {
  const int w = look.width;
  const int h = look.height;
  paintStyle3Gradient(s, w, h, base, false);
  s.frame({0, 0, w, h}, look.darkShadow);
  corners(s, w, h, look.darkShadow);
  if (look.focus) {
    ring(s, w, h, look.focusRing, -33, 65, 50, 31);
  } else {
    plainOrPressedLines(s, w, h,
                        {shade(base, -48), shade(base, -32), shade(base, -36), shade(base, -24),
                         shade(base, 16), shade(base, 10), shade(base, -5), shade(base, -10)},
                        false);
  }
  if (look.hot) ring(s, w, h, look.hotRing, -40, 90, 35, 20);
}

void pressedState(Raster& s, const Style3Look& look, Colour base) {
  const int w = look.width;
  const int h = look.height;
  const Colour p = shade(base, -32);
  paintStyle3Gradient(s, w, h, base, true);
  s.frame({0, 0, w, h}, look.darkShadow);
  corners(s, w, h, look.darkShadow);
  plainOrPressedLines(s, w, h,
                      {shade(p, 16), shade(p, 10), shade(p, 5), p, shade(p, -32), shade(p, -24),
                       shade(p, -32), shade(p, -22)},
                      true);
}

}  // namespace

void paintStyle3Gradient(Raster& s, int w, int h, Colour base, bool pressed) {
  if (pressed) {
    const Colour p = shade(base, -32);
    for (int i = 1; i <= h; ++i) s.line(0, h - i, w, h - i, shade(p, -nearest(15.0 * i / h)));
  } else {
    for (int i = 1; i <= h; ++i) s.line(0, i, w, i, shade(base, -nearest(25.0 * i / h)));
  }
}

void paintStyle3(Raster& s, const Style3Look& look) {
  const int w = look.width;
  const int h = look.height;
  if (w <= 0 || h <= 0) return;
  const Colour base = shade(look.back, 48);
  s.fill({0, 0, w, h}, look.back);
  if (!look.enabled) {
    s.fill({0, 0, w, h}, shade(base, -24));
    s.frame({0, 0, w, h}, shade(base, -84));
    corners(s, w, h, shade(base, -72));
    return;
  }
  if (look.pressed)
    pressedState(s, look, base);
  else
    normalState(s, look, base);
}

platform::ShapeMask style3Shape(int width, int height) {
  platform::ShapeMask m(width, height, true);
  const int w = width;
  const int h = height;
  const int out[12][2] = {{0, 0},     {1, 0},         {0, 1},         {w - 2, 0},
                          {w - 1, 0}, {w - 1, 1},     {0, h - 1},     {1, h - 1},
                          {0, h - 2}, {w - 2, h - 1}, {w - 1, h - 1}, {w - 1, h - 2}};
  for (const auto& p : out) m.set(p[0], p[1], false);
  return m;
}

}  // namespace korvane::controls
