// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Captions measured with QFontMetrics and drawn with QPainter straight into a raster's pixels.
#include "platform/text_renderer.h"

class QFont;

namespace korvane::platform {

class QtTextRenderer : public TextRenderer {
 public:
  TextSize measure(std::string_view caption, const Font& font, int width,
                   const TextMargins& margins) const override;
  void draw(Raster& raster, const Rect& r, std::string_view caption, const Font& font, Colour rgb,
            const TextMargins& margins) const override;
};

// The font for drawing into a raster: as toQFont, the size taken at 96 dots per inch.
QFont toRasterQFont(const Font& font);

}  // namespace korvane::platform
