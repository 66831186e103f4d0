// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture a control shows: a bitmap, an icon (with its own transparency) or a cursor.
#include <memory>
#include <string>

#include "platform/raster.h"

namespace korvane::platform {

struct Picture {
  enum class Kind { Bitmap, Icon, Cursor, Other };
  Kind kind = Kind::Bitmap;
  Raster image;
  ShapeMask opaque;  // icons and cursors: where the image shows; empty: everywhere
  std::string name;  // what it was made from, for hosts and diagnostics
  int hotX = 0;      // cursors: the pointing pixel
  int hotY = 0;

  int width() const { return image.width(); }
  int height() const { return image.height(); }
  bool shows(int x, int y) const { return opaque.empty() || opaque.contains(x, y); }
};

// Pictures are shared and never changed once made; null means none.
using PicturePtr = std::shared_ptr<const Picture>;

}  // namespace korvane::platform
