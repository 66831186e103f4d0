#pragma once
// Text as fixed boxes: every character is a cell of kCellWidth x kLineHeight pixels, and every
// visible character a solid box in it, so tests can find each glyph by its pixels.
#include "platform/text_renderer.h"

namespace korvane::platform {

class FakeTextRenderer : public TextRenderer {
 public:
  static constexpr int kCellWidth = 6;
  static constexpr int kLineHeight = 13;
  // The solid box of a glyph within its cell: columns [0, 5), rows [2, 11); underline row 12.
  static constexpr Rect kGlyphBox{0, 2, 5, 11};
  static constexpr int kUnderlineRow = 12;

  TextSize measure(std::string_view caption, const Font& font, int width,
                   const TextMargins& margins) const override;
  void draw(Raster& raster, const Rect& r, std::string_view caption, const Font& font, Colour rgb,
            const TextMargins& margins) const override;
};

}  // namespace korvane::platform
