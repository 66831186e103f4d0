// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Measuring and drawing a control's caption: word wrap, centring, "&" access-key underline.
#include <string_view>

#include "common/colour.h"
#include "common/rect.h"
#include "platform/font.h"
#include "platform/raster.h"

namespace korvane::platform {

// Blank pixels kept left and right of the text; both are part of a measured width.
struct TextMargins {
  int left = 1;
  int right = 1;
};

struct TextSize {
  int width = 0;
  int height = 0;
  bool operator==(const TextSize&) const = default;
};

class TextRenderer {
 public:
  virtual ~TextRenderer() = default;
  // The size of caption wrapped to width pixels (margins included); 0 x 0 for an empty caption.
  virtual TextSize measure(std::string_view caption, const Font& font, int width,
                           const TextMargins& margins) const = 0;
  // Draws caption in r: wrapped to r's width, centred both ways, access key underlined,
  // clipped to the raster. A rectangle shorter than the text starts it at r.top.
  virtual void draw(Raster& raster, const Rect& r, std::string_view caption, const Font& font,
                    Colour rgb, const TextMargins& margins) const = 0;
};

}  // namespace korvane::platform
