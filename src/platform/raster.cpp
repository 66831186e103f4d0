// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/raster.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>

namespace korvane::platform {

namespace {
int side(int v) {
  return std::clamp(v, 0, Raster::kMaxSide);
}
Colour colourOf(uint32_t w) {
  return makeColour(static_cast<int>((w >> 16) & 0xFF), static_cast<int>((w >> 8) & 0xFF),
                    static_cast<int>(w & 0xFF));
}
}  // namespace

int centreSample(int to, int fromSize, int toSize) {
  return static_cast<int>((2 * static_cast<int64_t>(to) + 1) * fromSize /
                          (2 * static_cast<int64_t>(toSize)));
}

uint32_t Raster::word(Colour c) {
  return 0xFF000000u | (static_cast<uint32_t>(red(c)) << 16) |
         (static_cast<uint32_t>(green(c)) << 8) | static_cast<uint32_t>(blue(c));
}

Raster::Raster(int width, int height, Colour fill) : width_(side(width)), height_(side(height)) {
  if (width_ == 0 || height_ == 0) width_ = height_ = 0;
  pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), word(fill));
}

Colour Raster::pixel(int x, int y) const {
  if (!inside(x, y)) return 0;
  return colourOf(pixels_[static_cast<size_t>(y) * width_ + x]);
}

void Raster::setPixel(int x, int y, Colour c) {
  if (inside(x, y)) pixels_[static_cast<size_t>(y) * width_ + x] = word(c);
}

void Raster::span(int y, int x0, int x1, uint32_t w) {
  if (y < 0 || y >= height_) return;
  x0 = std::max(x0, 0);
  x1 = std::min(x1, width_);
  if (x0 >= x1) return;
  auto row = pixels_.begin() + static_cast<ptrdiff_t>(y) * width_;
  std::fill(row + x0, row + x1, w);
}

void Raster::column(int x, int y0, int y1, uint32_t w) {
  if (x < 0 || x >= width_) return;
  y0 = std::max(y0, 0);
  y1 = std::min(y1, height_);
  for (int y = y0; y < y1; ++y) pixels_[static_cast<size_t>(y) * width_ + x] = w;
}

void Raster::fill(const Rect& r, Colour c) {
  const uint32_t w = word(c);
  const int y0 = std::max(r.top, 0);
  const int y1 = std::min(r.bottom, height_);
  for (int y = y0; y < y1; ++y) span(y, r.left, r.right, w);
}

void Raster::frame(const Rect& r, Colour c) {
  if (r.empty()) return;
  const uint32_t w = word(c);
  span(r.top, r.left, r.right, w);
  span(r.bottom - 1, r.left, r.right, w);
  column(r.left, r.top, r.bottom, w);
  column(r.right - 1, r.top, r.bottom, w);
}

void Raster::line(int x1, int y1, int x2, int y2, Colour c) {
  const uint32_t w = word(c);
  if (y1 == y2) {
    if (x1 < x2)
      span(y1, x1, x2, w);
    else if (x2 < x1)
      span(y1, x2 + 1, x1 + 1, w);
    return;
  }
  if (x1 == x2) {
    if (y1 < y2)
      column(x1, y1, y2, w);
    else
      column(x1, y2 + 1, y1 + 1, w);
    return;
  }
  // Steps along the longer axis; the shorter one rounds to the nearest, halves towards the
  // start. Only the steps whose long coordinate falls inside the image are walked.
  const int64_t dx = static_cast<int64_t>(x2) - x1;
  const int64_t dy = static_cast<int64_t>(y2) - y1;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const int64_t steps = xMajor ? std::llabs(dx) : std::llabs(dy);
  const int64_t start = xMajor ? x1 : y1;
  const int64_t dir = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const int64_t limit = xMajor ? width_ : height_;
  int64_t kFrom = dir > 0 ? -start : start - (limit - 1);
  int64_t kTo = dir > 0 ? limit - 1 - start : start;
  kFrom = std::max<int64_t>(kFrom, 0);
  kTo = std::min<int64_t>(kTo, steps - 1);
  const int64_t minor = xMajor ? dy : dx;
  for (int64_t k = kFrom; k <= kTo; ++k) {
    const int64_t offset = (2 * k * std::llabs(minor) + steps - 1) / (2 * steps);
    const int64_t m = (xMajor ? y1 : x1) + (minor < 0 ? -offset : offset);
    const int64_t x = xMajor ? start + dir * k : m;
    const int64_t y = xMajor ? m : start + dir * k;
    if (x >= 0 && y >= 0 && x < width_ && y < height_)
      pixels_[static_cast<size_t>(y) * width_ + static_cast<size_t>(x)] = w;
  }
}

void Raster::copy(const Raster& src, int sx, int sy, int w, int h, int dx, int dy) {
  for (int y = 0; y < h; ++y) {
    const int ty = dy + y;
    const int fy = sy + y;
    if (ty < 0 || ty >= height_ || fy < 0 || fy >= src.height_) continue;
    for (int x = 0; x < w; ++x) {
      const int tx = dx + x;
      const int fx = sx + x;
      if (tx < 0 || tx >= width_ || fx < 0 || fx >= src.width_) continue;
      pixels_[static_cast<size_t>(ty) * width_ + tx] =
          src.pixels_[static_cast<size_t>(fy) * src.width_ + fx];
    }
  }
}

void Raster::keyedCopy(const Raster& src, int dx, int dy, Colour key) {
  const uint32_t k = word(key);
  for (int y = std::max(0, -dy); y < src.height_ && dy + y < height_; ++y) {
    for (int x = std::max(0, -dx); x < src.width_ && dx + x < width_; ++x) {
      const uint32_t p = src.pixels_[static_cast<size_t>(y) * src.width_ + x];
      if (p != k) pixels_[static_cast<size_t>(dy + y) * width_ + dx + x] = p;
    }
  }
}

void Raster::silhouette(const Raster& src, Colour transparent, Colour ink, int dx, int dy) {
  const uint32_t t = word(transparent);
  const uint32_t w = word(ink);
  for (int y = std::max(0, -dy); y < src.height_ && dy + y < height_; ++y) {
    for (int x = std::max(0, -dx); x < src.width_ && dx + x < width_; ++x) {
      if (src.pixels_[static_cast<size_t>(y) * src.width_ + x] != t)
        pixels_[static_cast<size_t>(dy + y) * width_ + dx + x] = w;
    }
  }
}

void Raster::embossed(const Raster& src, Colour transparent, Colour light, Colour shadow, int dx,
                      int dy) {
  silhouette(src, transparent, light, dx + 1, dy + 1);
  silhouette(src, transparent, shadow, dx, dy);
}

void Raster::focusRect(const Rect& r) {
  if (r.empty()) return;
  auto dot = [this](int x, int y) {
    if (inside(x, y) && ((x + y) & 1) == 0)
      pixels_[static_cast<size_t>(y) * width_ + x] ^= 0xFFFFFFu;
  };
  for (int x = r.left; x < r.right; ++x) {
    dot(x, r.top);
    if (r.bottom - 1 != r.top) dot(x, r.bottom - 1);
  }
  for (int y = r.top + 1; y < r.bottom - 1; ++y) {
    dot(r.left, y);
    if (r.right - 1 != r.left) dot(r.right - 1, y);
  }
}

Raster Raster::stretched(int width, int height) const {
  Raster out(width, height);
  if (empty() || out.empty()) return out;
  for (int y = 0; y < out.height_; ++y) {
    const int fy = centreSample(y, height_, out.height_);
    for (int x = 0; x < out.width_; ++x) {
      const int fx = centreSample(x, width_, out.width_);
      out.pixels_[static_cast<size_t>(y) * out.width_ + x] =
          pixels_[static_cast<size_t>(fy) * width_ + fx];
    }
  }
  return out;
}

ShapeMask::ShapeMask(int width, int height, bool on) : width_(side(width)), height_(side(height)) {
  if (width_ == 0 || height_ == 0) width_ = height_ = 0;
  bits_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), on);
}

bool ShapeMask::contains(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  return bits_[static_cast<size_t>(y) * width_ + x];
}

void ShapeMask::set(int x, int y, bool on) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  bits_[static_cast<size_t>(y) * width_ + x] = on;
}

}  // namespace korvane::platform
