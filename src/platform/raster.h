// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A 32-bit pixel image with exact drawing primitives; everything is clipped to the image.
#include <cstdint>
#include <vector>

#include "common/colour.h"
#include "common/rect.h"

namespace korvane::platform {

class Raster {
 public:
  // Largest width or height accepted; larger requests are cut to it.
  static constexpr int kMaxSide = 16384;

  Raster() = default;
  // A width x height image in one colour; negative sizes give an empty image.
  Raster(int width, int height, Colour fill = 0);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }
  // Pixels row by row as 0xFFRRGGBB words (a toolkit's 32-bit RGB image layout).
  const uint32_t* bits() const { return pixels_.data(); }
  uint32_t* bits() { return pixels_.data(); }

  // The RGB colour at (x, y); black outside the image.
  Colour pixel(int x, int y) const;
  void setPixel(int x, int y, Colour c);
  void fill(const Rect& r, Colour c);
  // One-pixel border just inside r: columns left and right - 1, rows top and bottom - 1.
  void frame(const Rect& r, Colour c);
  // A solid line from (x1, y1) towards (x2, y2); the end point is not drawn.
  void line(int x1, int y1, int x2, int y2, Colour c);
  // The w x h block of src at (sx, sy) copied to (dx, dy).
  void copy(const Raster& src, int sx, int sy, int w, int h, int dx, int dy);
  // src copied to (dx, dy) except where it has the key colour.
  void keyedCopy(const Raster& src, int dx, int dy, Colour key);
  // Every pixel of src that is not transparent drawn in ink at (dx, dy).
  void silhouette(const Raster& src, Colour transparent, Colour ink, int dx, int dy);
  // The disabled look of src: its shape in light one pixel right and down, then in shadow.
  void embossed(const Raster& src, Colour transparent, Colour light, Colour shadow, int dx, int dy);
  // The dotted focus rectangle: every other pixel of r's border inverted (drawn twice, gone).
  void focusRect(const Rect& r);
  // This image scaled to width x height by nearest neighbour.
  Raster stretched(int width, int height) const;

  bool operator==(const Raster&) const = default;

 private:
  static uint32_t word(Colour c);
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  void span(int y, int x0, int x1, uint32_t w);  // [x0, x1) on row y, clipped
  void column(int x, int y0, int y1, uint32_t w);

  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

// The source pixel that pixel to of a toSize run samples from a fromSize run: its centre's.
int centreSample(int to, int fromSize, int toSize);

// A one-bit mask, e.g. a window's shape: set where the window is.
class ShapeMask {
 public:
  ShapeMask() = default;
  ShapeMask(int width, int height, bool on);
  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }
  // False outside the mask.
  bool contains(int x, int y) const;
  void set(int x, int y, bool on);
  bool operator==(const ShapeMask&) const = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<bool> bits_;
};

}  // namespace korvane::platform
