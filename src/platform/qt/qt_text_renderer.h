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

// The desktop font for a font record: common face names map to metric-compatible faces,
// the size is taken at 96 dots per inch.
QFont toQFont(const Font& font);

}  // namespace korvane::platform
